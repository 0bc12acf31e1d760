// OBJ import speed: our reader (text only, and text plus the meshes) on generated grids of 20,000 and
// 200,000 triangles with normals and texture coordinates, next to tinyobjloader parsing the same text.
// Counters: bytes per second of OBJ text.
#include "effects/model_import.h"
#include "effects/obj_reader.h"
#include "scene/group_node3d.h"

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

namespace
{

// A wavy grid of k x k cells, two triangles each; every corner "p/t/n".
const std::string& grid_obj(int triangles)
{
    static std::map<int, std::string> made;
    std::string& text = made[triangles];
    if (!text.empty())
        return text;
    const int k = int(std::lround(std::sqrt(triangles / 2.0)));
    std::string out;
    char line[256];
    for (int j = 0; j <= k; ++j)
        for (int i = 0; i <= k; ++i) {
            const float x = float(i) / float(k), y = float(j) / float(k);
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn %.6f %.6f %.6f\n", x * 10.0f,
                          0.3f * std::sin(x * 12.0f) * std::cos(y * 9.0f), y * 10.0f, x, y, 0.0f, 1.0f, 0.0f);
            out += line;
        }
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
            const int a = j * (k + 1) + i + 1, b = a + 1, c = a + k + 1, d = c + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\nf %d/%d/%d %d/%d/%d %d/%d/%d\n",
                          a, a, a, c, c, c, b, b, b, b, b, b, c, c, c, d, d, d);
            out += line;
        }
    text = out;
    return text;
}

void ReadObjText(benchmark::State& state)
{
    const std::string& text = grid_obj(int(state.range(0)));
    for (auto _ : state) {
        ObjData data;
        ReadError error;
        if (!read_obj(text.data(), text.size(), data, error))
            state.SkipWithError(error.reason.c_str());
        benchmark::DoNotOptimize(data.faces.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["MB"] = double(text.size()) / 1e6;
}

void ImportObjWithMeshes(benchmark::State& state)
{
    const std::string& text = grid_obj(int(state.range(0)));
    for (auto _ : state) {
        ObjData data;
        ReadError error;
        if (!read_obj(text.data(), text.size(), data, error)) {
            state.SkipWithError(error.reason.c_str());
            break;
        }
        GroupNode3D* model = build_model(data, false, [](const std::string&) { return nullptr; });
        if (!model)
            state.SkipWithError("model not built");
        else
            free_model(model);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void TinyObjLoader(benchmark::State& state)
{
    const std::string& text = grid_obj(int(state.range(0)));
    for (auto _ : state) {
        std::istringstream stream(text);
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &stream))
            state.SkipWithError(err.c_str());
        benchmark::DoNotOptimize(attrib.vertices.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

} // namespace

BENCHMARK(ReadObjText)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportObjWithMeshes)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(TinyObjLoader)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
