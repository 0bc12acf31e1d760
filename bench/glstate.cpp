// The cost of the GL state cache itself, with GL calls going to a table of empty functions: what an
// effect pays for a push/pop pair when the value is already set (no GL call) and when it changes.
#include <benchmark/benchmark.h>

#include "glstate.h"

namespace
{

int gIssued = 0;

const GLStateFunctions kCounting = {
    [](uint32_t) { ++gIssued; },
    [](uint32_t) { ++gIssued; },
    [](uint32_t, uint32_t) { ++gIssued; },
    [](uint32_t) { ++gIssued; },
    [](double, double, double, double) { ++gIssued; },
    [](float, float, float, float) { ++gIssued; },
    [](bool, bool, bool, bool) { ++gIssued; },
    [](bool) { ++gIssued; },
    [](uint32_t) { ++gIssued; },
    [](uint32_t, const double*) { ++gIssued; },
    [](uint32_t) { ++gIssued; },
    [](uint32_t, uint32_t) { ++gIssued; },
    [](uint32_t) { ++gIssued; },
    [](int32_t, int32_t, int32_t, int32_t) { ++gIssued; },
    []() { ++gIssued; },
    [](double, double, double, double, double, double) { ++gIssued; },
    [](double, double, double, double, double, double) { ++gIssued; },
};

struct CountingContext {
    CountingContext()
    {
        gls_set_functions(&kCounting);
        gls_set_context(&ctx);
        gIssued = 0;
    }
    ~CountingContext()
    {
        gls_set_context(nullptr);
        gls_set_functions(nullptr);
    }
    GLStateContext ctx{1024, 768};
};

void report(benchmark::State& state)
{
    state.counters["GL calls/iter"] = benchmark::Counter(double(gIssued), benchmark::Counter::kAvgIterations);
}

void BM_PushPopUnchanged(benchmark::State& state)
{
    CountingContext c;
    for (auto _ : state) {
        gls_push(DepthTest, 0);
        gls_pop(DepthTest);
    }
    report(state);
}
BENCHMARK(BM_PushPopUnchanged);

void BM_PushPopChanged(benchmark::State& state)
{
    CountingContext c;
    for (auto _ : state) {
        gls_push(DepthTest, 1);
        gls_pop(DepthTest);
    }
    report(state);
}
BENCHMARK(BM_PushPopChanged);

// The state a post-processing pass typically pushes around one textured quad.
void BM_PostPassState(benchmark::State& state)
{
    CountingContext c;
    for (auto _ : state) {
        gls_push_projection(0, 1024, 768, 0, 1, -1, true);
        gls_push_texture_enable(true);
        gls_push_bind_texture(3);
        gls_push(BlendEnable, 1);
        gls_push(BlendSrc, 1);
        gls_push(BlendDst, 1);
        gls_pop(BlendDst);
        gls_pop(BlendSrc);
        gls_pop(BlendEnable);
        gls_pop_bind_texture();
        gls_pop_texture_enable();
        gls_pop_projection();
    }
    report(state);
}
BENCHMARK(BM_PostPassState);

void BM_SwitchBetweenCaches(benchmark::State& state)
{
    CountingContext c;
    GLStateContext offscreen(1024, 768);
    offscreen.slots[ClearColor][0] = 0xFF000000;
    offscreen.viewport[0] = {0, 0, 512, 384};
    for (auto _ : state) {
        gls_switch_context(&offscreen);
        gls_switch_context(&c.ctx);
    }
    report(state);
}
BENCHMARK(BM_SwitchBetweenCaches);

} // namespace

BENCHMARK_MAIN();
