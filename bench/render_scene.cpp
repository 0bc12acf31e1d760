// One frame of a 10,000-mesh scene through the whole renderer on the real GL (run under Xvfb:
// xvfb-run -a bin/bench_render_scene): traversal, ordering and drawing, half of the meshes transparent.
#include "bench_window.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/flat_rect3d.h"
#include "scene/group_node3d.h"
#include "scene/render_visitor.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace
{

void BM_RenderFrame(benchmark::State& state)
{
    static BenchWindow window;
    if (!window.ok) {
        state.SkipWithError("no GL window");
        return;
    }
    const int count = int(state.range(0));
    GroupNode3D root;
    Camera3D camera(4.0f / 3, 1, 1000);
    root.AddChild(&camera);
    std::vector<std::unique_ptr<FlatRect3D>> meshes;
    std::mt19937 random(3);
    for (int i = 0; i < count; ++i) {
        meshes.push_back(std::make_unique<FlatRect3D>(2, 2, 0xff000000u | (random() & 0xffffff)));
        FlatRect3D& mesh = *meshes.back();
        mesh.position[0] = float(int(random() % 200) - 100) * 0.1f;
        mesh.position[1] = float(int(random() % 150) - 75) * 0.1f;
        mesh.position[2] = -20.0f - float(random() % 100) * 0.1f;
        if (i % 2 == 1) {
            mesh.SetBlendSrc(GL_SRC_ALPHA);
            mesh.SetBlendDst(GL_ONE_MINUS_SRC_ALPHA);
            mesh.SetOpacity(128);
        }
        root.AddChild(&mesh);
    }
    RenderVisitor visitor;
    for (auto _ : state) {
        visitor.Reset();
        root.Accept(visitor);
        visitor.Render(true, false, 255, 0, 0, 0, false);
        glFinish();
    }
    state.counters["meshes"] = count;
}
BENCHMARK(BM_RenderFrame)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
