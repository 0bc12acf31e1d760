// Frame time of each showcase scene at 1280 x 720 under the GL the machine has (llvmpipe under Xvfb:
// xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" bin/bench_showcase_frames). The showcase beside this
// program (bin/showcase, built by the showcase target) is loaded as the player loads it (showcase_session.h);
// each benchmark plays its scene's time range on a fixed 30 fps clock, one frame per iteration
// (timeline, glFinish, buffer swap), wrapping round to the range's start. Compare frames_per_second
// between scenes and builds of the same run: absolute figures move with the machine's load.
#include "showcase_session.h"

#include <benchmark/benchmark.h>

namespace
{

void Scene(benchmark::State& state)
{
    showcase_session::play_frames(state, uint32_t(state.range(0)), uint32_t(state.range(1)));
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
