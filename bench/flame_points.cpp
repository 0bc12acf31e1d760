// Flame points: how fast FlameMesh generates its points (points mode, no vertex buffer) against a plain
// chaos-game loop that applies one randomly drawn transform per point with the same variations, and one
// MorphFlame frame (blend, new mesh of 100,000 points, draw) on the real GL (run under Xvfb:
// xvfb-run -a bin/bench_flame_points).
#include "bench_window.h"
#include "emberfold_effects.h"
#include "flame_description.h"
#include "flame_map.h"
#include "flame_mesh.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <vortel/legacy_rand.h>

using namespace emberfold;

namespace
{

// Four maps with linear, spherical, swirl-like, polar, handkerchief and sinusoidal terms.
std::unique_ptr<FlameDescription> mixed_flame()
{
    std::unique_ptr<FlameDescription> d(new FlameDescription);
    make_default_description(*d);
    d->transformCount = 4;
    init_transform(d->transforms[3]);
    FlameTransform* t = d->transforms;
    t[0].variations[2] = 0.4f;
    t[1].variations[0] = 0.6f;
    t[1].variations[5] = 0.3f;
    t[2].variations[11] = 0.5f;
    t[2].variations[14] = 0.2f;
    t[3].variations[0] = 0;
    t[3].variations[1] = 0.8f;
    t[3].colour = 0.25f;
    t[3].translation[2] = 0.5f;
    compute_probabilities(*d);
    return d;
}

void BM_FlameMeshPoints(benchmark::State& state)
{
    auto d = mixed_flame();
    FlameMeshSettings s;
    s.pointCount = int32_t(state.range(0));
    s.batchCount = int32_t(state.range(1));
    for (auto _ : state) {
        FlameMesh mesh(*d, s);
        mesh.Generate();
        benchmark::DoNotOptimize(mesh.GetVertices());
    }
    state.counters["points/s"] =
        benchmark::Counter(double(state.iterations()) * double(state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FlameMeshPoints)
    ->ArgNames({"points", "batches"})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Args({1000000, 4})
    ->Unit(benchmark::kMillisecond);

// The plain chaos game: each point is the walker after one more randomly drawn transform. Like a mesh
// it makes a new point set (position and colour coordinate, 16 bytes a point) every time.
void BM_ChaosGamePoints(benchmark::State& state)
{
    auto d = mixed_flame();
    const int32_t n = int32_t(state.range(0));
    FlameMap maps[kMaxTransforms];
    for (int32_t j = 0; j < d->transformCount; ++j)
        prepare_map(d->transforms[j], maps[j]);
    LegacyRand rand;
    for (auto _ : state) {
        std::unique_ptr<float[]> points(new float[4 * size_t(n)]);
        float p[3] = {0.001f, 0.001f, 0.001f}, c = 0;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t j = select_transform(*d, rand.rand());
            apply_map(maps[j], p, p);
            if (d->transforms[j].colour >= 0)
                c = (c + d->transforms[j].colour) / 2;
            float* out = points.get() + 4 * size_t(i);
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out[3] = c;
        }
        benchmark::DoNotOptimize(points.get());
    }
    state.counters["points/s"] =
        benchmark::Counter(double(state.iterations()) * double(n), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ChaosGamePoints)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

//-----------------------------------------------------------------------------
// One MorphFlame frame on real GL
//-----------------------------------------------------------------------------

Camera3D* gCamera;
RootNode3D* gRoot;
std::vector<std::string> gTexts;

void bench_log(const char*) {}
const char* bench_text(int32_t index)
{
    return index >= 0 && index < int32_t(gTexts.size()) ? gTexts[size_t(index)].c_str() : nullptr;
}
void* bench_acquire(uint32_t type, int32_t, void*, bool, const char*, const char*, bool*)
{
    return type == kType3DGroup ? gRoot : nullptr;
}
int32_t bench_release(uint32_t, int32_t, void*)
{
    return 1;
}

std::string write_flame(const char* name, float spread)
{
    std::string path = std::string("/tmp/bench_") + name;
    FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "3\n");
    for (int k = 0; k < 3; ++k) {
        std::fprintf(f, "0.5 0.5 0.5 0 0 0 1 0 0 0 1 0 0 0 1 %f %f 0 %f 1\n", spread * (k - 1),
                     spread * (k % 2), k / 2.0);
        for (int v = 0; v < 50; ++v)
            std::fprintf(f, "%s ", v == 0 ? "0.8" : (v == 2 + k ? "0.3" : "0"));
        std::fprintf(f, "\n");
    }
    std::fprintf(f, "1\n0.5 -65536\n");
    std::fclose(f);
    return path;
}

void BM_MorphFlameFrame(benchmark::State& state)
{
    static BenchWindow window;
    if (!window.ok) {
        state.SkipWithError("no GL window");
        return;
    }
    Camera3D camera(4.0f / 3, 1, 1000);
    RootNode3D root(&camera);
    gCamera = &camera;
    gRoot = &root;
    gTexts = {"world", write_flame("a.flame", 1.0f), write_flame("b.flame", 1.6f)};
    ServicesStruct services{};
    services.Log = bench_log;
    services.GetText = bench_text;
    services.AcquireByIndex = bench_acquire;
    services.ReleaseByIndex = bench_release;
    Vortel_Init(nullptr, nullptr, &services);
    StateStruct st{};
    void* slot = nullptr;
    auto call = [&](int32_t phase, int32_t amount) {
        st.phase = phase;
        return MorphFlame(&st, &slot, 1, 2, amount, 0, 0, -6000, 0, 0, 0, 10000, 0x00010203, 0, 0, 0, 0, 0, 0,
                          0, 0, 0, 0, 0, int32_t(state.range(0)), 1, 1, 0, 0, 255, 100000, 3, 1, 4, 0, 0, -1,
                          0x8006);
    };
    call(0, 0);
    RenderVisitor visitor;
    int32_t amount = 0;
    for (auto _ : state) {
        root.RemoveAllChildren();
        root.AddChild(&camera);
        call(1, amount);
        amount = (amount + 37) % 1000;
        visitor.Reset();
        root.Accept(visitor);
        visitor.Render(true, false, 255, 0, 0, 0, false);
        glFinish();
    }
    call(-1, 0);
    root.RemoveAllChildren();
    state.counters["points"] = double(state.range(0));
}
BENCHMARK(BM_MorphFlameFrame)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
