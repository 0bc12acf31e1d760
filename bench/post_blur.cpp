// Frame time of the post-processing effects at 1280 x 720 under the GL the machine has (llvmpipe under
// Xvfb in the test setup): Show3D of a small scene alone, PostBlurPrecise over the same scene with radius
// 100 (ten blending passes per direction) and radius 10, and PostGlare (threshold 40) with radius 4 and
// one adding pass, radius 16 and two, radius 100 and one. Each iteration ends with glFinish.
#include "effects/post_blur.h"
#include "effects/post_effects.h"
#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "gl_window.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/flat_rect3d.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

namespace
{

constexpr int kW = 1280, kH = 720;

int32_t register_type(uint32_t, AcquireFn, ReleaseFn)
{
    return 1;
}
void log_text(const char*) {}

struct Scene {
    GLWindow window{kW, kH};
    GLStateContext cache{kW, kH};
    ServicesStruct services{};
    FlatRect3D square{4, 4, 0xFFFFFFFF};

    Scene()
    {
        if (!window.ok())
            return;
        gls_make_current(&cache);
        services.glContext = &cache;
        services.RegisterType = register_type;
        services.Log = log_text;
        Vortel_Init(nullptr, nullptr, &services);
        square.position[2] = -20.0f;
        gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
        gScaffold.sceneRoot->AddChild(&square);
    }
};

Scene& scene()
{
    static Scene instance;
    return instance;
}

template <typename Effect> void frames(benchmark::State& state, Effect effect)
{
    if (!scene().window.ok()) {
        state.SkipWithError("no GL window");
        return;
    }
    StateStruct call{};
    call.phase = 1;
    void* data = nullptr;
    for (auto _ : state) {
        effect(&call, &data);
        glFinish();
    }
}

void Show3DAlone(benchmark::State& state)
{
    frames(state, [](StateStruct* s, void** d) { return Show3D(s, d, 0, kW, kH, 1, 0, 0, 0); });
}

void PostBlurPreciseRadius(benchmark::State& state)
{
    const int32_t radius = int32_t(state.range(0));
    state.counters["passes_per_direction"] = double(blur_pass_count(radius, 1) - 1);
    frames(state, [radius](StateStruct* s, void** d) { return PostBlurPrecise(s, d, radius, radius, 1); });
}

void PostGlareRadiusPasses(benchmark::State& state)
{
    const int32_t radius = int32_t(state.range(0)), passes = int32_t(state.range(1));
    frames(state, [radius, passes](StateStruct* s, void** d) { return PostGlare(s, d, 40, radius, passes); });
}

} // namespace

BENCHMARK(Show3DAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(PostBlurPreciseRadius)->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PostGlareRadiusPasses)->Args({4, 1})->Args({16, 2})->Args({100, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
