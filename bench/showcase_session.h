// The showcase beside the benchmark program (bin/showcase, built by the showcase target), loaded as the
// player loads it into a 1280 x 720 GL window, for the benchmarks that play its frames in the process.
// SHOWCASE_DOCUMENT names another document in bin/showcase to play instead (a variant with an effect
// taken out, say). showcase() makes it once and changes the working folder to bin/showcase;
// play_frames() measures the live render rate of a time range.
#pragma once

#include "data_file.h"
#include "demo_loader.h"
#include "error_log.h"
#include "frame_loop.h"
#include "gl_window.h"
#include "glstate.h"
#include "library_host.h"
#include "preload.h"
#include "registry.h"
#include "services.h"
#include "timeline.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace showcase_session
{

constexpr int kWidth = 1280, kHeight = 720;

// The folder of the running program.
inline std::string program_folder()
{
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string p(path, n > 0 ? size_t(n) : 0);
    return p.substr(0, p.find_last_of('/'));
}

struct Showcase {
    Demo demo;
    std::unique_ptr<GLWindow> window;
    std::unique_ptr<GLStateContext> gl;
    ServicesStruct services{};
    SDL_Surface* outputs[2] = {};
    Presenter presenter;
    std::unique_ptr<Timeline> timeline;
    bool ok = false;

    Showcase()
    {
        const std::string bin = program_folder();
        if (chdir((bin + "/showcase").c_str()) != 0)
            return;
        log_open("Errorlog.txt");
        const char* document = std::getenv("SHOWCASE_DOCUMENT");
        load_demo(document ? document : "showcase.xml", demo);
        set_texts(&demo.texts);
        window.reset(new GLWindow(kWidth, kHeight));
        if (!window->ok())
            return;
        load_libraries(demo, LibrarySearch{".", bin});
        bind_events(demo);
        for (SDL_Surface*& s : outputs)
            s = SDL_CreateRGBSurface(0, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
        gl.reset(new GLStateContext(kWidth, kHeight));
        gls_make_current(gl.get());
        registry_set_sink(Log);
        services_fill(&services, gl.get());
        if (!init_libraries(demo, outputs, nullptr, &services))
            return;
        open_data_file(demo.hasDataFile ? demo.dataFile.c_str() : nullptr);
        presenter = Presenter{true, SDL_GetVideoSurface(), outputs[0]};
        preload_resources(demo, presenter);
        timeline.reset(new Timeline(demo));
        ok = true;
    }
};

inline Showcase& showcase()
{
    static Showcase instance;
    return instance;
}

// Plays from..to ms on a fixed 30 fps clock, one frame per iteration (timeline, glFinish, buffer swap),
// wrapping round to `from`, and counts frames_per_second.
inline void play_frames(benchmark::State& state, uint32_t from, uint32_t to)
{
    Showcase& s = showcase();
    if (!s.ok) {
        state.SkipWithError("the showcase could not be started (GL window, bin/showcase)");
        return;
    }
    uint32_t t = from;
    // Events that start at `from` make their records and meshes in the first frame: not measured.
    s.timeline->run_frame(t);
    glFinish();
    for (auto _ : state) {
        t = t + 33 < to ? t + 33 : from;
        s.timeline->run_frame(t);
        glFinish();
        s.presenter.present();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace showcase_session
