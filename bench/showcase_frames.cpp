// Frame time of each showcase scene at 1280 x 720 under the GL the machine has (llvmpipe under Xvfb:
// xvfb-run -a -s "-screen 0 1920x1200x24" bin/bench_showcase_frames). The showcase beside this program
// (bin/showcase, built by the showcase target) is loaded as the player loads it; each benchmark plays
// its scene's time range on a fixed 30 fps clock, one frame per iteration (timeline, glFinish, buffer
// swap), wrapping round to the range's start. Compare frames_per_second between scenes and builds of
// the same run: absolute figures move with the machine's load. SHOWCASE_DOCUMENT names another document
// in bin/showcase to play instead (a variant with an effect taken out, say).
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

namespace
{

constexpr int kWidth = 1280, kHeight = 720;

std::string program_folder()
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

Showcase& showcase()
{
    static Showcase instance;
    return instance;
}

void Scene(benchmark::State& state)
{
    Showcase& s = showcase();
    if (!s.ok) {
        state.SkipWithError("the showcase could not be started (GL window, bin/showcase)");
        return;
    }
    const uint32_t from = uint32_t(state.range(0)), to = uint32_t(state.range(1));
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

} // namespace

// Scene time ranges in ms, each inside one scene: cubes, flower, swarms, flames, flame morph, models,
// pictures; then the whole demo once through at 30 fps, the average a viewer gets.
BENCHMARK(Scene)->Name("Showcase/cubes")->Args({1000, 11000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scene)->Name("Showcase/flower")->Args({13000, 23000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scene)->Name("Showcase/swarms")->Args({27000, 35000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scene)->Name("Showcase/flames")->Args({36500, 41500})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scene)
    ->Name("Showcase/flame_morph")
    ->Args({42500, 47500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Scene)->Name("Showcase/models")->Args({49000, 59000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scene)
    ->Name("Showcase/pictures")
    ->Args({61000, 71000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Scene)
    ->Name("Showcase/whole")
    ->Args({0, 72000})
    ->Iterations(72000 / 33)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_MAIN();
