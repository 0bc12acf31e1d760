// Traversal and render-list building of a 10,000-mesh scene (100 groups of 100 rectangles), with the
// number of heap allocations per frame: a visitor kept across frames (Reset) against a new one per frame.
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/flat_rect3d.h"
#include "scene/group_node3d.h"
#include "scene/render_visitor.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

static long long gAllocations = 0;

// Replacing the global allocation functions counts every heap allocation of the process. (GCC mistakes
// the replacements' malloc/free pairs for mismatched ones.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++gAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{

struct Scene {
    GroupNode3D root;
    Camera3D camera{4.0f / 3, 1, 1000};
    std::vector<std::unique_ptr<GroupNode3D>> groups;
    std::vector<std::unique_ptr<FlatRect3D>> meshes;

    Scene()
    {
        root.AddChild(&camera);
        for (int g = 0; g < 100; ++g) {
            groups.push_back(std::make_unique<GroupNode3D>());
            groups.back()->position[0] = float(g);
            for (int m = 0; m < 100; ++m) {
                meshes.push_back(std::make_unique<FlatRect3D>(2, 2, 0xffffffff));
                meshes.back()->position[2] = float(-m);
                groups.back()->AddChild(meshes.back().get());
            }
            root.AddChild(groups.back().get());
        }
    }
};

// The visitor switches lights through the GL state cache; with nothing to change it makes no GL call.
GLStateContext& cache()
{
    static GLStateContext context(640, 480);
    gls_set_context(&context);
    return context;
}

void BM_TraverseKeptVisitor(benchmark::State& state)
{
    cache();
    Scene scene;
    RenderVisitor visitor;
    scene.root.Accept(visitor); // grows the list once
    const long long before = gAllocations;
    for (auto _ : state) {
        visitor.Reset();
        scene.root.Accept(visitor);
        benchmark::DoNotOptimize(visitor.count);
    }
    state.counters["allocs_per_frame"] = double(gAllocations - before) / double(state.iterations());
    state.counters["meshes"] = visitor.count;
}
BENCHMARK(BM_TraverseKeptVisitor)->Unit(benchmark::kMicrosecond);

void BM_TraverseNewVisitor(benchmark::State& state)
{
    cache();
    Scene scene;
    const long long before = gAllocations;
    for (auto _ : state) {
        RenderVisitor visitor;
        scene.root.Accept(visitor);
        benchmark::DoNotOptimize(visitor.count);
    }
    state.counters["allocs_per_frame"] = double(gAllocations - before) / double(state.iterations());
}
BENCHMARK(BM_TraverseNewVisitor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
