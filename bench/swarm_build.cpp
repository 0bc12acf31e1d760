// Swarm generators: what a frame costs when nothing changed, and how fast a rebuild of a large swarm
// writes its points compared with a plain loop writing as many floats.
#include <benchmark/benchmark.h>

#include <string>
#include <swarm_effects.h>
#include <vector>

namespace
{

constexpr int32_t kPoints = 1000000;

const char* bench_text(int32_t index)
{
    static const char* texts[] = {"swarm"};
    return index == 0 ? texts[0] : nullptr;
}
int32_t bench_register(uint32_t, AcquireFn, ReleaseFn)
{
    return 1;
}
void bench_log(const char*) {}

// The plug-in initialised against a minimal host, and one event's state.
struct Plugin {
    ServicesStruct services{};
    StateStruct state{};
    void* slot = nullptr;
    Plugin()
    {
        services.Log = bench_log;
        services.GetText = bench_text;
        services.RegisterType = bench_register;
        Vortel_Init(nullptr, nullptr, &services);
        state.paramsConstant = true;
    }
    ~Plugin() { Vortel_Quit(); }
};

// Sphere of 1000 x 1000 + 2 points; `radius` alternates to force a rebuild of the same count.
bool sphere(Plugin& p, int32_t phase, int32_t radius)
{
    p.state.phase = phase;
    return MakeSphereSwarm(&p.state, &p.slot, 0, radius, 1000, kPoints / 1000);
}
bool sine(Plugin& p, int32_t phase, int32_t phaseX)
{
    p.state.phase = phase;
    return MakeSineSwarm(&p.state, &p.slot, 0, kPoints, 3, 100, 7, phaseX, 50, 3, 0, 20, 11, 400, 0);
}
bool random_box(Plugin& p, int32_t phase, int32_t seed)
{
    p.state.phase = phase;
    return MakeRandSwarm(&p.state, &p.slot, 0, kPoints, 1000, 2000, 3000, seed);
}

template <bool (*Make)(Plugin&, int32_t, int32_t)> void BM_Rebuild(benchmark::State& st)
{
    Plugin p;
    Make(p, 0, 1);
    int32_t value = 1;
    for (auto _ : st) {
        value ^= 3; // 1, 2, 1, 2, ...: a new parameter every frame
        Make(p, 1, value);
        benchmark::ClobberMemory();
    }
    Make(p, -1, value);
    st.SetItemsProcessed(st.iterations() * kPoints);
}
BENCHMARK_TEMPLATE(BM_Rebuild, sphere)->Name("Rebuild/sphere_1M")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Rebuild, sine)->Name("Rebuild/sine_1M")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Rebuild, random_box)->Name("Rebuild/rand_1M")->Unit(benchmark::kMillisecond);

template <bool (*Make)(Plugin&, int32_t, int32_t)> void BM_UnchangedFrame(benchmark::State& st)
{
    Plugin p;
    Make(p, 0, 1);
    for (auto _ : st)
        benchmark::DoNotOptimize(Make(p, 1, 1));
    Make(p, -1, 1);
}
BENCHMARK_TEMPLATE(BM_UnchangedFrame, sphere)->Name("UnchangedFrame/sphere_1M");
BENCHMARK_TEMPLATE(BM_UnchangedFrame, sine)->Name("UnchangedFrame/sine_1M");
BENCHMARK_TEMPLATE(BM_UnchangedFrame, random_box)->Name("UnchangedFrame/rand_1M");

// The yardstick: one plain loop writing the same 3 million floats into an allocated array.
void BM_PlainWrite(benchmark::State& st)
{
    std::vector<float> out(size_t(kPoints) * 3);
    float base = 0;
    for (auto _ : st) {
        base += 1;
        float* o = out.data();
        for (int32_t i = 0; i < kPoints * 3; ++i)
            o[i] = base + float(i);
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(st.iterations() * kPoints);
}
BENCHMARK(BM_PlainWrite)->Name("PlainWrite/3M_floats")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
