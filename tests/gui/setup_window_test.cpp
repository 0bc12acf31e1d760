// The setup window end to end: run_setup_window opens its own SDL window through SDL_Config while a
// helper thread plays the viewer, pushing SDL events once the window is up.
#include "error_log.h"
#include "sdl_config.h"
#include "setup_window.h"

#include <SDL/SDL.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <vector>

namespace
{

struct Step {
    enum Kind { kClick, kQuit } kind;
    int x, y;
};

void wait_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Waits until the window's loop has taken every queued event.
void wait_for_empty_queue()
{
    SDL_Event peek;
    for (int i = 0; i < 200 && SDL_PeepEvents(&peek, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0; ++i)
        wait_ms(5);
    wait_ms(30);
}

void push_button(Uint8 type, int x, int y)
{
    SDL_Event e{};
    e.button.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = Uint16(x);
    e.button.y = Uint16(y);
    SDL_PushEvent(&e);
    wait_for_empty_queue();
}

struct Outcome {
    bool result = false;
    bool run = false;
    double gamma = 1.2;
    int32_t volume = 77;
    float aspect = 0.0f;
    SDL_Config config{};
};

// Runs the window, playing `steps` once it is up. A script that does not end the window is followed by a
// quit after a while, so a broken control fails the test instead of hanging it.
Outcome run_once(const std::vector<Step>& steps)
{
    setenv("SDL_VIDEODRIVER", "x11", 1);
    Outcome out;
    std::atomic<bool> finished{false};
    std::thread viewer([&] {
        for (int i = 0; i < 1000 && !SDL_GetVideoSurface() && !finished; ++i)
            wait_ms(10);
        wait_ms(200);
        for (const Step& s : steps) {
            if (finished)
                return;
            if (s.kind == Step::kQuit) {
                SDL_Event e{};
                e.type = SDL_QUIT;
                SDL_PushEvent(&e);
                wait_for_empty_queue();
            } else {
                push_button(SDL_MOUSEBUTTONDOWN, s.x, s.y);
                push_button(SDL_MOUSEBUTTONUP, s.x, s.y);
            }
        }
        for (int i = 0; i < 300 && !finished; ++i)
            wait_ms(10);
        if (!finished) {
            SDL_Event e{};
            e.type = SDL_QUIT;
            SDL_PushEvent(&e);
        }
    });
    out.result = run_setup_window(&out.gamma, &out.volume, &out.run, &out.aspect, &out.config);
    finished = true;
    viewer.join();
    return out;
}

// A loaded machine's virtual X server now and then refuses a connection: the window then reports that it
// could not open, which is a different test's subject.
Outcome run_with(const std::vector<Step>& steps)
{
    Outcome out = run_once(steps);
    for (int attempt = 0; attempt < 4 && !out.result; ++attempt) {
        wait_ms(200);
        out = run_once(steps);
    }
    return out;
}

constexpr Step kStartDemo{Step::kClick, 200, 212};
constexpr Step kCancel{Step::kClick, 85, 212};
constexpr Step kOpenAspect{Step::kClick, 290, 22};
constexpr Step kAspect16by9{Step::kClick, 290, 10 + 2 * 24 + 12};
constexpr Step kOpenResolution{Step::kClick, 265, 57};
constexpr Step kResolutionSecond{Step::kClick, 265, 45 + 24 + 12};
constexpr Step kFullscreenBox{Step::kClick, 305, 123};

} // namespace

TEST(SetupWindow, StartWithoutTouchingAnythingGivesTheDefaults)
{
    const Outcome out = run_with({kStartDemo});
    EXPECT_TRUE(out.result);
    EXPECT_TRUE(out.run);
    EXPECT_EQ(out.config.width, 1280);
    EXPECT_EQ(out.config.height, 1024);
    EXPECT_FLOAT_EQ(out.aspect, 1.3333334f);
    EXPECT_EQ(out.config.videoFlags, 0xC0000003u) << "full screen, double buffer, OpenGL, hardware surface";
    EXPECT_EQ(out.config.initFlags, 49u);
    EXPECT_EQ(out.config.bpp, 32);
    EXPECT_EQ(out.config.videoDriver, "directx");
    EXPECT_EQ(out.config.audioDriver, "waveout");
    EXPECT_EQ(out.config.audioFrequency, 44100);
    EXPECT_EQ(out.config.audioFormat, 0x8010);
    EXPECT_EQ(out.config.audioChannels, 2);
    EXPECT_EQ(out.config.audioChunkSize, 4096);
    EXPECT_DOUBLE_EQ(out.gamma, 1.2);
    EXPECT_EQ(out.volume, 77);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u) << "the window shuts SDL down again";
}

TEST(SetupWindow, WideScreenChoicesReachTheRecord)
{
    const Outcome wide = run_with({kOpenAspect, kAspect16by9, kStartDemo});
    EXPECT_TRUE(wide.run);
    EXPECT_EQ(wide.config.width, 1280);
    EXPECT_EQ(wide.config.height, 720);
    EXPECT_FLOAT_EQ(wide.aspect, 1.7777778f);

    const Outcome larger =
        run_with({kOpenAspect, kAspect16by9, kOpenResolution, kResolutionSecond, kStartDemo});
    EXPECT_EQ(larger.config.width, 1600);
    EXPECT_EQ(larger.config.height, 900);
    EXPECT_FLOAT_EQ(larger.aspect, 1.7777778f);
}

TEST(SetupWindow, WindowedDropsTheFullScreenBit)
{
    const Outcome out = run_with({kFullscreenBox, kStartDemo});
    EXPECT_TRUE(out.run);
    EXPECT_EQ(out.config.videoFlags, 0x40000003u);
}

TEST(SetupWindow, CancelAndClosingDoNotStartButStillReportTheWindowOpened)
{
    const Outcome cancelled = run_with({kCancel});
    EXPECT_TRUE(cancelled.result);
    EXPECT_FALSE(cancelled.run);

    const Outcome closed = run_with({Step{Step::kQuit, 0, 0}});
    EXPECT_TRUE(closed.result);
    EXPECT_FALSE(closed.run);
}

TEST(SetupWindow, AWindowThatCannotOpenLogsAndLetsStartUpGoOn)
{
    log_open("setup_window_log.txt");
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    Outcome out;
    out.run = false;
    out.result = run_setup_window(&out.gamma, &out.volume, &out.run, &out.aspect, &out.config);
    unsetenv("SDL_VIDEODRIVER");
    log_close();
    EXPECT_FALSE(out.result);
    EXPECT_TRUE(out.run);
    EXPECT_DOUBLE_EQ(out.gamma, 1.2);
    EXPECT_EQ(out.volume, 77);
    std::ifstream file("setup_window_log.txt");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(),
              "We couldn't initialize the setup window. We'll just continue with the settings in the "
              "SDL.ini file, and hope we can initialize a window for the demo...\n");
}
