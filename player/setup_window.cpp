// The setup window: a 320 x 240 OpenGL window run on the GUI toolkit before the demo starts.
#include "setup_window.h"

#include "error_log.h"
#include "glstate.h"
#include "gui/gui_container.h"
#include "gui/gui_messages.h"
#include "gui/gui_painter.h"
#include "gui/gui_sdl_handler.h"
#include "gui/setup_dialog.h"
#include "sdl_config.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <memory>

namespace
{

constexpr uint32_t kInitVideo = 0x20;
constexpr uint32_t kInitTimerAudioVideo = 49;
constexpr uint32_t kFullscreenBit = 0x80000000u;
constexpr uint32_t kDoubleBufferBit = 0x40000000u;
constexpr uint32_t kOpenGLBit = 0x2;
constexpr uint32_t kHardwareSurfaceBit = 0x1;

// Everything the window needs while it is open, torn down in reverse order whatever way it is left.
class SetupSession
{
public:
    SetupSession() = default;
    ~SetupSession()
    {
        if (pushedView_) {
            gls_pop_viewport();
            gls_pop_projection();
        }
        if (window_)
            GUISDLHandler::Get().ScheduleDelete(window_);
        GUISDLHandler::Get().FlushDeletions();
        if (painter_ && painter_->clipStack().depth() > 0)
            painter_->PopClip();
        gls_make_current(nullptr);
        context_.reset();
        SDL_Config_Quit();
    }
    SetupSession(const SetupSession&) = delete;
    SetupSession& operator=(const SetupSession&) = delete;

    void Open(SetupDialog& dialog)
    {
        context_ = std::make_unique<GLStateContext>(SetupDialog::kWindowWidth, SetupDialog::kWindowHeight);
        gls_make_current(context_.get());
        painter_ = new GUIPainter();
        gui_install_painter(painter_);
        painter_->SetDefaultFontSize(16);
        painter_->PushClip(0, SetupDialog::kWindowWidth, 0, SetupDialog::kWindowHeight);

        window_ = new GUIContainer(&dialog, "Setup Window", 0, 0, SetupDialog::kWindowWidth,
                                   SetupDialog::kWindowHeight, false);
        dialog.Build(window_);
        GUISDLHandler::Get().Push(window_);

        gls_push_viewport(0, 0, SetupDialog::kWindowWidth, SetupDialog::kWindowHeight);
        gls_push_projection(0, SetupDialog::kWindowWidth, SetupDialog::kWindowHeight, 0, -1, 1, true);
        pushedView_ = true;
    }

private:
    std::unique_ptr<GLStateContext> context_;
    GUIPainter* painter_ = nullptr;  // owned by the painter slot (gui_install_painter)
    GUIContainer* window_ = nullptr; // deleted through the handler
    bool pushedView_ = false;
};

void fill_config(const SetupDialog& dialog, SDL_Config* config)
{
    config->initFlags = kInitTimerAudioVideo;
    config->width = dialog.width;
    config->height = dialog.height;
    config->bpp = 32;
    config->videoFlags = kDoubleBufferBit | kOpenGLBit | kHardwareSurfaceBit;
    if (dialog.fullscreen)
        config->videoFlags |= kFullscreenBit;
    config->videoDriver = "directx";
    config->audioFrequency = 44100;
    config->audioFormat = 0x8010;
    config->audioChannels = 2;
    config->audioChunkSize = 4096;
    config->audioDriver = "waveout";
}

} // namespace

bool run_setup_window(double* gamma, int32_t* volume, bool* run, float* screenAspect, SDL_Config* config)
{
    // 1-3: a small double-buffered GL window through SDL_Config
    SDL_Config windowConfig;
    SDL_Config_DefaultConfig(&windowConfig);
    windowConfig.initFlags = kInitVideo;
    windowConfig.width = SetupDialog::kWindowWidth;
    windowConfig.height = SetupDialog::kWindowHeight;
    windowConfig.videoFlags = (windowConfig.videoFlags & ~kFullscreenBit) | kDoubleBufferBit | kOpenGLBit;
    if (!SDL_Config_Init(&windowConfig)) {
        Log(gui_msg::kSetupWindowFailed);
        *run = true;
        return false;
    }
    if (glewInit() != GLEW_OK) {
        SDL_Config_Quit();
        *run = true;
        return false;
    }
    SDL_WM_SetCaption("Setup Window", nullptr);

    // 4-6, the loop and closing
    SetupDialog dialog(*gamma, *volume);
    bool quit = false;
    {
        SetupSession session;
        session.Open(dialog);
        quit = dialog.RunLoop();
    }

    *run = !quit && !dialog.cancelled;
    fill_config(dialog, config);
    *volume = dialog.volume;
    *gamma = dialog.gamma;
    *screenAspect = dialog.aspect;
    return true;
}
