// CPU cost of one ShaderQuad frame against a plain loop that does the same work by hand: glUseProgram, the
// uploads of the uniforms the program reads (locations looked up once) and one quad. Both draw the
// demos' plasma (mainImage form) over a 64 x 64 window, so that drawing the pixels costs little next to
// the calls; each iteration ends with glFinish ("finish") or only with glFlush ("flush"). ShaderQuad's
// figure should stay within 1.2 times the plain loop's.
#include "gl_window.h"
#include "glstate.h"
#include "shader_source.h"

#include <vortel/plugin.h>

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <fstream>
#include <sstream>
#include <string>

namespace
{

constexpr int kSide = 64;
const std::string kShaderFile = VORTEL_SOURCE_DIR "/demos/shaders/plasma.frag";

typedef bool (*ShaderQuadFn)(StateStruct*, void**, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                             int32_t, int32_t, int32_t, int32_t, int32_t);

const char* text(int32_t index)
{
    return index == 1 ? kShaderFile.c_str() : nullptr;
}
SDL_RWops* open_file(const char* name)
{
    return SDL_RWFromFile(name, "rb");
}
void close_file(SDL_RWops* file)
{
    SDL_RWclose(file);
}
void log_text(const char* line)
{
    std::fputs(line, stderr);
}

std::string read_text(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

GLuint compile(GLenum stage, const std::string& text)
{
    GLuint shader = glCreateShader(stage);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

struct Bench {
    GLWindow window{kSide, kSide};
    GLStateContext cache{kSide, kSide};
    ServicesStruct services{};
    void* library = nullptr;
    ShaderQuadFn shaderQuad = nullptr;
    GLuint program = 0;
    GLint resolution = -1, time = -1, params = -1, opacity = -1, frame = -1;

    Bench()
    {
        if (!window.ok())
            return;
        gls_make_current(&cache);
        services.glContext = &cache;
        services.Log = log_text;
        services.GetText = text;
        services.OpenFile = open_file;
        services.CloseFile = close_file;
        library = dlopen(VORTEL_BIN_DIR "/Shaders.so", RTLD_NOW | RTLD_LOCAL);
        auto init = library ? reinterpret_cast<VortelInitFn>(dlsym(library, VORTEL_INIT_NAME)) : nullptr;
        if (init && init(nullptr, nullptr, &services))
            shaderQuad = reinterpret_cast<ShaderQuadFn>(dlsym(library, "ShaderQuad"));
        build_plain_program();
    }

    void build_plain_program()
    {
        const std::string fragment = glsl::fragment_shader(read_text(kShaderFile));
        program = glCreateProgram();
        glAttachShader(program, compile(GL_VERTEX_SHADER, glsl::vertex_shader_for(fragment)));
        glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragment));
        glBindAttribLocation(program, 0, glsl::kPositionAttribute);
        glLinkProgram(program);
        resolution = glGetUniformLocation(program, "iResolution");
        time = glGetUniformLocation(program, "iTime");
        params = glGetUniformLocation(program, "iParams");
        opacity = glGetUniformLocation(program, "iOpacity");
        frame = glGetUniformLocation(program, glsl::kFrameUniform);
    }
};

Bench& bench()
{
    static Bench instance;
    return instance;
}

void end_frame(bool finish)
{
    if (finish)
        glFinish();
    else
        glFlush();
}

void ShaderQuadFrame(benchmark::State& state)
{
    Bench& b = bench();
    if (!b.shaderQuad) {
        state.SkipWithError("no GL window or no Shaders.so");
        return;
    }
    const bool finish = state.range(0) != 0;
    StateStruct call{};
    void* data = nullptr;
    call.phase = 0;
    b.shaderQuad(&call, &data, 1, 0, 0, 500, 1000, 0, 0, 255, 0, 0, 0);
    call.phase = 1;
    for (auto _ : state) {
        call.localTime += 20;
        b.shaderQuad(&call, &data, 1, 0, 0, 500, 1000, 0, 0, 255, 0, 0, 0);
        end_frame(finish);
    }
    call.phase = -1;
    b.shaderQuad(&call, &data, 1, 0, 0, 500, 1000, 0, 0, 255, 0, 0, 0);
}

void PlainLoopFrame(benchmark::State& state)
{
    Bench& b = bench();
    if (!b.window.ok()) {
        state.SkipWithError("no GL window");
        return;
    }
    const bool finish = state.range(0) != 0;
    int32_t localTime = 0;
    for (auto _ : state) {
        localTime += 20;
        glUseProgram(b.program);
        glUniform3f(b.resolution, float(kSide), float(kSide), 1.0f);
        glUniform1f(b.time, float(localTime) * 0.001f);
        const float params[4] = {0.5f, 1.0f, 0.0f, 0.0f};
        glUniform4fv(b.params, 1, params);
        glUniform1f(b.opacity, 1.0f);
        glUniform4f(b.frame, 0.0f, 0.0f, 1.0f, 0.0f);
        glBegin(GL_QUADS);
        glVertex2f(-1.0f, -1.0f);
        glVertex2f(1.0f, -1.0f);
        glVertex2f(1.0f, 1.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
        glUseProgram(0);
        end_frame(finish);
    }
}

} // namespace

BENCHMARK(ShaderQuadFrame)->ArgName("finish")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainLoopFrame)->ArgName("finish")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
