// [SECTION] Helpers: gamma ramp, aspect correction, surfaces, music
// [SECTION] Start-up steps
// [SECTION] Shutdown
// [SECTION] Entry
#include "startup.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <unistd.h>
#include <vector>

#include <glstate.h>
#include <vortel/log_text.h>
#include <vortel/plugin.h>

#include "capture.h"
#include "command_line.h"
#include "data_file.h"
#include "demo_check.h"
#include "demo_loader.h"
#include "dev_mode.h"
#include "effect_describe.h"
#include "error_log.h"
#include "frame_filter.h"
#include "frame_loop.h"
#include "library_host.h"
#include "music_control.h"
#include "preload.h"
#include "registry.h"
#include "sdl_config.h"
#include "services.h"
#include "setup_window.h"
#include "studio/studio.h"
#include "supersample.h"
#include "texts.h"
#include "timeline.h"
#include "video_encoder.h"

//-----------------------------------------------------------------------------
// [SECTION] Helpers: gamma ramp, aspect correction, surfaces, music
//-----------------------------------------------------------------------------

void compute_gamma_ramp(double gamma, uint16_t ramp[256])
{
    for (int i = 0; i < 256; ++i) {
        double v = std::trunc(std::pow(i * 0.00390625, 1.0 / gamma) * 65535.0);
        // A gamma of 0 or below gives inf or nan: the brightest entry is the safe answer.
        ramp[i] = uint16_t(!(v < 65535.0) ? 65535.0 : v < 0.0 ? 0.0 : v);
    }
}

bool aspect_viewport(int width, int height, float screenAspect, float demoAspect, GLViewportEntry* out)
{
    if (!(std::fabs(screenAspect - demoAspect) > 0.01f))
        return false;
    if (screenAspect > demoAspect) {
        int w = int(width * demoAspect / screenAspect);
        *out = GLViewportEntry{(width - w) / 2, 0, w, height};
    } else {
        int h = int(height * screenAspect / demoAspect);
        *out = GLViewportEntry{0, (height - h) / 2, width, h};
    }
    return true;
}

namespace
{

const char* const kFallbackMessage = "Something went horribly wrong.  Stopped at step '%d'.\n";
const char* const kOutOfMemoryMessage = "Out of memory.  Stopped at step '%d'.\n";
constexpr uint64_t kMaxInputSurfaceBytes = uint64_t(4) << 30;

// A step that failed after logging its own line (or none): the fallback message follows.
struct StepFailed {
};
// The viewer cancelled the setup window: nothing to report.
struct Cancelled {
};

void set_gamma(double gamma)
{
    uint16_t ramp[256];
    compute_gamma_ramp(gamma, ramp);
    SDL_SetGammaRamp(ramp, ramp, ramp); // a display that refuses is left alone, silently
}

class Player
{
public:
    Player(const CommandLine& cl, std::string ffmpeg) : cl_(cl), ffmpeg_(std::move(ffmpeg)) {}
    int run();

private:
    void run_setup_window();
    void load_document();
    void open_window();
    void load_libraries_and_bind();
    void create_surfaces();
    void prepare_gl_and_libraries();
    void load_music_and_resources();
    uint32_t start_music();
    void play(uint32_t start);
    bool capture(uint32_t start);
    void shutdown();

    const CommandLine& cl_;
    std::string ffmpeg_; // for --video
    std::string musicPath_;
    StartupStep step_ = StartupStep::Started;
    double gamma_ = 1.0;
    int32_t volume_ = 255;
    bool configFilled_ = false;
    float screenAspect_ = 0.0f;
    bool haveScreenAspect_ = false;
    SDL_Config config_{};
    bool sdlStarted_ = false;
    std::unique_ptr<Demo> demo_;
    SDL_Surface* screen_ = nullptr;
    std::vector<SDL_Surface*> inputSurfaces_, outputSurfaces_;
    std::unique_ptr<SuperSampler> supersample_; // --supersample: the effects draw into its target
    std::unique_ptr<GLStateContext> gl_;
    bool viewportPushed_ = false;
    ServicesStruct services_{};
    Mix_Music* music_ = nullptr;
    Presenter presenter_;
};

//-----------------------------------------------------------------------------
// [SECTION] Start-up steps
//-----------------------------------------------------------------------------

void Player::run_setup_window()
{
    gamma_ = cl_.gamma;
    volume_ = cl_.volume;
    if (cl_.noSetup)
        return;
    bool run = true;
    SDL_Config_DefaultConfig(&config_);
    configFilled_ = ::run_setup_window(&gamma_, &volume_, &run, &screenAspect_, &config_);
    haveScreenAspect_ = configFilled_;
    if (!run)
        throw Cancelled();
}

void Player::load_document()
{
    demo_ = std::make_unique<Demo>();
    load_demo(cl_.demoPath.c_str(), *demo_);
    set_texts(&demo_->texts);
    step_ = StartupStep::DocumentLoaded;
}

void Player::open_window()
{
    if (!configFilled_) {
        SDL_Config_DefaultConfig(&config_);
        config_.initFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
        // "SDL.ini" in the working folder, else the one beside the player. With --size the file is
        // optional: the defaults and the size given are enough.
        std::string ini = existing_file("SDL.ini", program_folder());
        int loaded = SDL_Config_LoadConfig(ini.c_str(), &config_);
        if (loaded < 0 && !(loaded == -1 && cl_.width > 0)) {
            log_fatal("Couldn't load the SDL.ini file.\n");
            if (loaded != -1)
                log_fatal_printf("%s\n", SDL_Config_LastError());
            throw StepFailed();
        }
    }
    if (cl_.width > 0) {
        config_.width = cl_.width;
        config_.height = cl_.height;
    }
    if (cl_.windowed)
        config_.videoFlags &= ~uint32_t(SDL_FULLSCREEN);
    if (cl_.fullscreen)
        config_.videoFlags |= SDL_FULLSCREEN;
    if (demo_->useOpenGL)
        config_.videoFlags |= SDL_OPENGL;

    sdlStarted_ = true;
    screen_ = SDL_Config_Init(&config_);
    if (!screen_) {
        log_fatal("Couldn't initialize SDL! Is the resolution you chose available on this system?\n");
        log_fatal_printf("(%s)\n", SDL_Config_LastError());
        throw StepFailed();
    }
    if ((config_.initFlags & SDL_INIT_AUDIO) && !SDL_Config_AudioOpen())
        log_printf("The music stays silent: %s\n", SDL_Config_LastError());
    step_ = StartupStep::WindowOpen;

    // Without OpenGL there is no GL context, and glewInit would refuse the whole demo for nothing.
    if (demo_->useOpenGL) {
        glewExperimental = GL_TRUE;
        GLenum glew = glewInit();
        if (glew != GLEW_OK) {
            log_fatal_printf("Glew init error: %s\n",
                             reinterpret_cast<const char*>(glewGetErrorString(glew)));
            throw StepFailed();
        }
    }
    // A gamma of 0 (what atof makes of a word) or below would turn the display black or white.
    if (!(gamma_ > 0.0 && std::isfinite(gamma_))) {
        log_printf("Gamma %g is no positive number: the display's gamma is left alone.\n", gamma_);
        gamma_ = 1.0;
    }
    if (gamma_ != 1.0)
        set_gamma(gamma_);
}

void Player::load_libraries_and_bind()
{
    load_libraries(*demo_, LibrarySearch{folder_of(cl_.demoPath), program_folder()});
    step_ = StartupStep::LibrariesLoaded;
    bind_events(*demo_);
    step_ = StartupStep::EventsBound;
}

void Player::create_surfaces()
{
    const SDL_PixelFormat* f = screen_->format;
    auto create = [&](const char* message) {
        SDL_Surface* s = SDL_CreateRGBSurface(0, config_.width, config_.height, f->BitsPerPixel, f->Rmask,
                                              f->Gmask, f->Bmask, f->Amask);
        if (!s)
            throw BasicException(message);
        return s;
    };
    // A count no machine could hold is refused before it exhausts memory on the way.
    uint64_t surfaceBytes = uint64_t(config_.width) * uint64_t(config_.height) * f->BytesPerPixel;
    if (uint64_t(demo_->numberOfInputSurfaces) * surfaceBytes > kMaxInputSurfaceBytes)
        throw BasicException("Couldn't create an input surface, probably out of memory");
    for (uint32_t i = 0; i < demo_->numberOfInputSurfaces; ++i)
        inputSurfaces_.push_back(create("Couldn't create an input surface, probably out of memory"));
    for (int i = 0; i < 2; ++i)
        outputSurfaces_.push_back(create("Couldn't create an output surface, probably out of memory"));
    presenter_ = Presenter{demo_->useOpenGL, screen_, outputSurfaces_[0]};
    step_ = StartupStep::SurfacesCreated;
}

void Player::prepare_gl_and_libraries()
{
    // Supersampled, the effects see a screen of the rendered size; the window keeps the asked one.
    int32_t scale = 1;
    if (cl_.supersample > 1) {
        if (!demo_->useOpenGL)
            throw BasicException("--supersample needs a demo that draws with OpenGL.\n");
        supersample_ = std::make_unique<SuperSampler>(config_.width, config_.height, cl_.supersample);
        supersample_->prepare();
        scale = cl_.supersample;
    }
    log_verbose("Initializing openGL state \n");
    gl_ = std::make_unique<GLStateContext>(unsigned(config_.width * scale), unsigned(config_.height * scale));
    gl_->pixelScale = scale;
    gls_make_current(gl_.get());

    log_verbose("Setting warning function\n");
    registry_set_sink(timeline_message_sink);
    set_user_volume(volume_);
    services_fill(&services_, gl_.get());

    log_verbose("Setting viewport to correct aspect ratio \n");
    // Settings from "SDL.ini" name no screen: the window's own shape is what the viewer sees.
    float screenAspect = haveScreenAspect_ ? screenAspect_ : float(config_.width) / float(config_.height);
    float demoAspect =
        demo_->aspectRatioY > 0 ? float(demo_->aspectRatioX) / float(demo_->aspectRatioY) : 0.0f;
    GLViewportEntry viewport{};
    if (demoAspect > 0.0f &&
        aspect_viewport(config_.width, config_.height, screenAspect, demoAspect, &viewport)) {
        // Worked out at the window's size and scaled, so that the filtered frame has the same bars.
        gls_push_viewport(viewport.x * scale, viewport.y * scale, viewport.w * scale, viewport.h * scale);
        viewportPushed_ = true;
    }

    log_verbose("Initialising libraries: \n");
    SDL_Surface** inputs = inputSurfaces_.empty() ? nullptr : inputSurfaces_.data();
    if (!init_libraries(*demo_, outputSurfaces_.data(), inputs, &services_))
        throw StepFailed();
}

void Player::load_music_and_resources()
{
    if ((config_.initFlags & SDL_INIT_AUDIO) && demo_->hasInputMusicFile) {
        std::string path = existing_file(demo_->inputMusicFile, folder_of(cl_.demoPath));
        musicPath_ = path;
        music_ = Mix_LoadMUS(path.c_str());
        if (!music_)
            log_printf("Couldn't load the music %s: %s\n", vortel::LogName(path.c_str()).c_str(),
                       vortel::LogName(Mix_GetError()).c_str());
    }
    step_ = StartupStep::ResourcesLoading;
    std::string dataFile = demo_->hasDataFile ? existing_file(demo_->dataFile, folder_of(cl_.demoPath)) : "";
    open_data_file(demo_->hasDataFile ? dataFile.c_str() : nullptr);
    set_media_folder(folder_of(cl_.demoPath));
    preload_resources(*demo_, presenter_);
    if (demo_->useOpenGL) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapBuffers();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}

// Starts the music and returns the demo time the frame loop starts at. Only Ogg Vorbis music can be
// sought: with any other music the demo starts from the beginning, so picture and sound stay together.
// Without music there is nothing to keep together and the start offset holds.
uint32_t Player::start_music()
{
    uint32_t start = cl_.startOffset > 0 ? uint32_t(cl_.startOffset) : 0;
    if (!(config_.initFlags & SDL_INIT_AUDIO))
        return start;
    // Offline rendering runs on its own clock: the music would only play out of step with it.
    bool playing = music_ && !cl_.offline();
    if (playing)
        Mix_PlayMusic(music_, 0);
    if (music_ && Mix_GetMusicType(music_) != MUS_OGG)
        start = 0;
    else if (playing)
        Mix_SetMusicPosition(start * 0.001);
    Mix_VolumeMusic(volume_);
    return start;
}

void Player::play(uint32_t start)
{
    step_ = StartupStep::Playing;
    bool ok;
    if (cl_.offline()) {
        ok = capture(start);
    } else {
        MusicControl music(music_);
        FrameLoopOptions options;
        options.music = &music;
        LoopRange loop{cl_.loopFrom, cl_.loopTo};
        std::string clamped;
        if (cl_.hasLoop && clamp_loop_range(loop, demo_->runningTime, &clamped)) {
            std::fprintf(stderr, "player: %s\n", clamped.c_str());
            log_printf("%s\n", clamped.c_str());
        }
        // The studio plays the loop itself, and may change or end it.
        if (cl_.hasLoop && !cl_.studio)
            options.loop = &loop;
        if (cl_.hasLoop && (start < loop.from || start > loop.to)) {
            start = loop.from;
            music.seek(start);
        }
        std::unique_ptr<FrameHooks> hooks;
        if (cl_.studio)
            hooks =
                std::make_unique<Studio>(cl_.demoPath, demo_, cl_.studioPort, cl_.hasLoop ? &loop : nullptr);
        else if (cl_.dev)
            hooks = std::make_unique<DevMode>(cl_.demoPath, demo_);
        options.hooks = hooks.get();
        ok = run_frame_loop(*demo_, DemoClock::real_time(start), demo_->runningTime, presenter_, options);
    }
    if (!ok)
        throw StepFailed();
}

bool Player::capture(uint32_t start)
{
    uint32_t from = cl_.hasFrom ? cl_.from : start;
    uint32_t endTime = demo_->runningTime;
    if (cl_.hasTo && cl_.to < endTime)
        endTime = cl_.to;
    uint64_t frames = FrameCapture::frame_count(from, endTime, cl_.fps);
    FrameCapture capture(cl_.captureDir, config_.width, config_.height, demo_->useOpenGL, outputSurfaces_[0],
                         frames * uint64_t(cl_.repeat));
    capture.prepare();
    std::unique_ptr<VideoEncoder> video;
    if (!cl_.videoFile.empty()) {
        // The music file itself, even when no sound device could play it.
        bool music = !musicPath_.empty() && access(musicPath_.c_str(), R_OK) == 0;
        VideoSettings settings{
            cl_.videoFile, config_.width, config_.height, cl_.fps, music ? musicPath_ : std::string(),
            from,          frames,        cl_.videoCodec, cl_.crf, cl_.videoPreset};
        video = std::make_unique<VideoEncoder>(ffmpeg_, settings);
        capture.set_encoder(video.get());
    }
    FrameLoopOptions options;
    options.capture = &capture;
    options.supersample = supersample_.get();
    std::unique_ptr<SubFrameBlend> blend;
    if (cl_.motionBlurFrames > 1) {
        if (!demo_->useOpenGL)
            throw BasicException("--motion-blur needs a demo that draws with OpenGL.\n");
        blend = std::make_unique<SubFrameBlend>(config_.width, config_.height, cl_.motionBlurFrames);
        blend->prepare();
        options.blend = blend.get();
        options.subFrames = cl_.motionBlurFrames;
        options.shutter = cl_.shutter;
    }
    LoopRange passes{from, endTime, uint32_t(cl_.repeat), true};
    if (cl_.repeat > 1)
        options.loop = &passes;
    bool ok = run_frame_loop(*demo_, DemoClock::fixed(from, cl_.fps), endTime, presenter_, options);
    capture.report_summary();
    if (video) {
        video->finish();
        char written[1024];
        std::snprintf(written, sizeof(written), "Video written: %s (%llu frames)\n", cl_.videoFile.c_str(),
                      static_cast<unsigned long long>(capture.frames_written()));
        Log(written);
        std::fputs(written, stderr);
    }
    return ok;
}

//-----------------------------------------------------------------------------
// [SECTION] Shutdown
//-----------------------------------------------------------------------------

void Player::shutdown()
{
    if (step_ >= StartupStep::Playing)
        Mix_HaltMusic();
    if (step_ >= StartupStep::ResourcesLoading) {
        if (music_)
            Mix_FreeMusic(music_);
        music_ = nullptr;
        quit_libraries(*demo_);
    }
    // The GL state exists once the surfaces are made, even when a library refused to initialise.
    supersample_.reset(); // while the GL context lives
    if (gl_) {
        if (viewportPushed_)
            gls_pop_viewport();
        gls_make_current(nullptr);
        gl_.reset();
    }
    for (SDL_Surface* s : inputSurfaces_)
        SDL_FreeSurface(s);
    for (SDL_Surface* s : outputSurfaces_)
        SDL_FreeSurface(s);
    inputSurfaces_.clear();
    outputSurfaces_.clear();
    if (demo_)
        unload_libraries(*demo_);
    if (step_ >= StartupStep::WindowOpen && gamma_ != 1.0)
        set_gamma(1.0);
    set_texts(nullptr);
    demo_.reset();
    if (sdlStarted_)
        SDL_Config_Quit();
}

int Player::run()
{
    int status = 1;
    try {
        run_setup_window();
        load_document();
        open_window();
        load_libraries_and_bind();
        create_surfaces();
        prepare_gl_and_libraries();
        load_music_and_resources();
        play(start_music());
        status = 0;
    } catch (const Cancelled&) {
    } catch (const StepFailed&) {
        log_fatal_printf(kFallbackMessage, int(step_));
        print_log_location();
        // A frame loop that ran to its end is a demo that played, whatever its last frame said.
        status = step_ >= StartupStep::Playing ? 0 : 1;
    } catch (const BasicException& e) {
        log_fatal(e.message);
        print_log_location();
    } catch (const std::bad_alloc&) {
        // From the player itself or from an effect's fixed-size allocation: either way the run is over.
        log_fatal_printf(kOutOfMemoryMessage, int(step_));
        print_log_location();
    } catch (...) {
        log_fatal_printf(kFallbackMessage, int(step_));
        print_log_location();
    }
    shutdown();
    return status;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Entry
//-----------------------------------------------------------------------------

int run_player(int argc, char** argv)
{
    CommandLine cl = parse_command_line(argc, argv);
    if (cl.help) {
        std::fputs(command_line_usage(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("Vortel player %s\n", VORTEL_VERSION);
        return 0;
    }
    log_open("Errorlog.txt");
    int status = 1;
    if (!cl.error.empty()) {
        std::fprintf(stderr, "player: %s\n", cl.error.c_str());
        log_printf("player: %s\n", cl.error.c_str());
    } else if (cl.check) {
        status = run_check(cl.demoPath);
    } else if (cl.describe) {
        status = run_describe(cl.describeLibraries);
    } else {
        log_set_verbose(cl.verbose);
        std::string ffmpeg = cl.videoFile.empty() ? std::string() : find_on_path("ffmpeg");
        if (!cl.videoFile.empty() && ffmpeg.empty()) {
            const char* message =
                "player: --video needs ffmpeg, which is not installed (not found on PATH)\n";
            std::fputs(message, stderr);
            Log(message);
        } else {
            status = Player(cl, ffmpeg).run();
        }
    }
    log_close();
    return status;
}
