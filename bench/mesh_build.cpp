// Building a Mesh3D corner by corner: every corner is looked up among the vertices already there, so the
// lookup must stay constant-time for building to scale linearly with the triangle count.
#include "scene/mesh3d.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace
{

// A side x side grid of quads, two triangles each, with normals and texture coordinates; inner corners
// are shared by six triangles, as in a smooth model.
void buildGrid(Mesh3D& mesh, int side)
{
    auto corner = [side](int x, int y, float* p, float* t, float* n) {
        p[0] = float(x);
        p[1] = float(y);
        p[2] = std::sin(float(x) * 0.1f) * std::cos(float(y) * 0.1f);
        t[0] = float(x) / float(side);
        t[1] = float(y) / float(side);
        n[0] = 0;
        n[1] = 0;
        n[2] = 1;
    };
    float p[4][3], t[4][2], n[4][3];
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            corner(x, y, p[0], t[0], n[0]);
            corner(x + 1, y, p[1], t[1], n[1]);
            corner(x + 1, y + 1, p[2], t[2], n[2]);
            corner(x, y + 1, p[3], t[3], n[3]);
            mesh.AddTriangle(p[0], t[0], n[0], p[1], t[1], n[1], p[2], t[2], n[2]);
            mesh.AddTriangle(p[0], t[0], n[0], p[2], t[2], n[2], p[3], t[3], n[3]);
        }
}

void BM_MeshBuild(benchmark::State& state)
{
    const int side = int(std::lround(std::sqrt(double(state.range(0)) / 2)));
    int triangles = 0, vertices = 0;
    for (auto _ : state) {
        Mesh3D mesh(false);
        buildGrid(mesh, side);
        triangles = mesh.GetIndexCount() / 3;
        vertices = mesh.GetVertexCount();
        benchmark::DoNotOptimize(mesh.GetVertices());
    }
    state.counters["triangles"] = triangles;
    state.counters["vertices"] = vertices;
    state.counters["time_per_triangle"] =
        benchmark::Counter(double(triangles) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetComplexityN(triangles);
}
BENCHMARK(BM_MeshBuild)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
