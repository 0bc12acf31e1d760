// Ordering the render list: opaque meshes first, transparent ones back to front. The merge sort of
// RenderOrder against the plain bubble sort whose order it reproduces.
#include "scene/flat_rect3d.h"
#include "scene/render_order.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace
{

struct Scene {
    std::vector<std::unique_ptr<FlatRect3D>> meshes;
    std::vector<Poly3D*> nodes;

    explicit Scene(int count)
    {
        std::mt19937 random(5);
        for (int i = 0; i < count; ++i) {
            meshes.push_back(std::make_unique<FlatRect3D>(1, 1, 0xffffffff));
            meshes.back()->position[2] = float(random() % 1000) * 0.01f; // many ties
            meshes.back()->SetBlendDst(GL_ONE);
            nodes.push_back(meshes.back().get());
        }
    }
};

void BM_RenderOrder(benchmark::State& state)
{
    Scene scene(int(state.range(0)));
    RenderOrder order;
    for (auto _ : state)
        benchmark::DoNotOptimize(order.Build(scene.nodes.data(), int(scene.nodes.size())));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RenderOrder)->RangeMultiplier(10)->Range(100, 100000)->Complexity(benchmark::oNLogN);

void BM_BubbleOrder(benchmark::State& state)
{
    Scene scene(int(state.range(0)));
    const int count = int(scene.nodes.size());
    std::vector<int> order(size_t(count), 0);
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            order[size_t(count - 1 - i)] = i;
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (int k = 0; k + 1 < count; ++k)
                if (scene.nodes[size_t(order[size_t(k + 1)])]->position[2] <
                    scene.nodes[size_t(order[size_t(k)])]->position[2]) {
                    std::swap(order[size_t(k)], order[size_t(k + 1)]);
                    swapped = true;
                }
        }
        benchmark::DoNotOptimize(order.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BubbleOrder)->RangeMultiplier(10)->Range(100, 10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
