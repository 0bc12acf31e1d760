#include "gui_fixture.h"

#include "gui_painter.h"
#include "gui_sdl_handler.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <cstdlib>

std::unique_ptr<GLWindow> open_window(int width, int height)
{
    // A loaded machine's virtual X server now and then refuses a connection; that is not what we test.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    for (int attempt = 0;; ++attempt) {
        auto window = std::make_unique<GLWindow>(width, height);
        if (window->ok() || attempt == 4)
            return window;
        SDL_Delay(200);
    }
}

void GuiFixture::SetUp()
{
    window_ = open_window(kWidth, kHeight);
    ASSERT_TRUE(window_->ok());
    context_ = std::make_unique<GLStateContext>(kWidth, kHeight);
    gls_make_current(context_.get());
    gls_push_viewport(0, 0, kWidth, kHeight);
    gls_push_projection(0, kWidth, kHeight, 0, -1, 1, true);
    painter_ = new GUIPainter();
    gui_install_painter(painter_);
    painter_->SetDefaultFontSize(16);
    painter_->PushClip(0, kWidth, 0, kHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_Event drain;
    while (SDL_PollEvent(&drain)) {
    }
}

void GuiFixture::TearDown()
{
    GUISDLHandler::Get().FlushDeletions();
    EXPECT_EQ(GUISDLHandler::Get().Count(), 0) << "a test left containers on the handler stack";
    while (painter_ && painter_->clipStack().depth() > 0)
        painter_->PopClip();
    gui_install_painter(nullptr);
    if (context_) {
        gls_pop_projection();
        gls_pop_viewport();
        gls_make_current(nullptr);
    }
    context_.reset();
    window_.reset();
}

namespace
{
void push_button(Uint8 type, int x, int y, int button)
{
    SDL_Event e{};
    e.button.type = type;
    e.button.button = Uint8(button);
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = Uint16(x);
    e.button.y = Uint16(y);
    SDL_PushEvent(&e);
}
} // namespace

void GuiFixture::Press(int x, int y, int button)
{
    push_button(SDL_MOUSEBUTTONDOWN, x, y, button);
}

void GuiFixture::Release(int x, int y, int button)
{
    push_button(SDL_MOUSEBUTTONUP, x, y, button);
}

void GuiFixture::Drag(int x, int y, int button)
{
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.state = Uint8(SDL_BUTTON(button));
    e.motion.x = Uint16(x);
    e.motion.y = Uint16(y);
    SDL_PushEvent(&e);
}

void GuiFixture::PushQuit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool GuiFixture::Pump()
{
    bool happened = false;
    return GUISDLHandler::Get().PumpEvents(&happened);
}

void GuiFixture::Click(int x, int y)
{
    Press(x, y);
    Pump();
    Release(x, y);
    Pump();
}

Picture GuiFixture::Screen()
{
    return read_framebuffer(kWidth, kHeight);
}

void GuiFixture::Save(const Picture& picture, const std::string& name)
{
    // Opaque, so that a viewer shows what the window showed.
    Picture opaque = picture;
    for (size_t i = 3; i < opaque.rgba.size(); i += 4)
        opaque.rgba[i] = 255;
    opaque.save_png(name + ".png");
}
