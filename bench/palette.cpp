// VirtPalette lookups: single colours and whole 256-entry tables from gradients of various sizes.
#include <benchmark/benchmark.h>
#include <cstdint>

#include "scene/virt_palette.h"

namespace
{

VirtPalette gradient(int colours)
{
    VirtPalette p;
    for (int i = 1; i < colours - 1; ++i)
        p.AddColor(float(i) / float(colours - 1), 0xFF000000u | uint32_t(i * 2654435761u >> 8));
    return p;
}

void BM_GetColor(benchmark::State& state)
{
    const VirtPalette p = gradient(int(state.range(0)));
    float x = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.GetColor(x));
        x += 0.0137f;
        if (x > 1.0f)
            x -= 1.0f;
    }
}
BENCHMARK(BM_GetColor)->Arg(2)->Arg(16)->Arg(512);

void BM_FillPalette256(benchmark::State& state)
{
    const VirtPalette p = gradient(int(state.range(0)));
    uint32_t table[256];
    for (auto _ : state) {
        p.FillPalette(table, 256, false);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_FillPalette256)->Arg(2)->Arg(16)->Arg(512);

} // namespace

BENCHMARK_MAIN();
