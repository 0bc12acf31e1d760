// The live reload inside the plug-in, driven call by call on a real GL window: a saved shader is rebuilt,
// and a save that does not compile leaves the last good program on screen.
#include <gtest/gtest.h>

#include <gl_window.h>
#include <stand_in_host.h>

#include "glstate.h"

#include <GL/glew.h>
#include <SDL.h>
#include <dlfcn.h>

#include <filesystem>

namespace
{

constexpr int kSide = 32;

typedef bool (*ShaderQuadFn)(StateStruct*, void**, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                             int32_t, int32_t, int32_t, int32_t, int32_t);

std::string solid(const char* colour)
{
    return std::string("void mainImage(out vec4 c, in vec2 p)\n{\n    c = vec4(") + colour + ", 1.0);\n}\n";
}

class ShaderReload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.ok());
        gls_make_current(&cache);
        host.services.glContext = &cache;
        library = dlopen(VORTEL_BIN_DIR "/Shaders.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto init = reinterpret_cast<VortelInitFn>(dlsym(library, VORTEL_INIT_NAME));
        ASSERT_TRUE(init && init(nullptr, nullptr, &host.services));
        quad = reinterpret_cast<ShaderQuadFn>(dlsym(library, "ShaderQuad"));
        ASSERT_NE(quad, nullptr);
    }
    void TearDown() override
    {
        if (library)
            reinterpret_cast<VortelQuitFn>(dlsym(library, VORTEL_QUIT_NAME))();
        gls_make_current(nullptr);
    }

    // One call of the event in `phase`; returns the middle pixel drawn.
    uint32_t call(int32_t phase)
    {
        state.phase = phase;
        quad(&state, &data, shader, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0);
        glFinish();
        return read_framebuffer(kSide, kSide).at(kSide / 2, kSide / 2);
    }
    // Saves the file anew (a later modification time, whatever the clock's resolution).
    void save(const std::string& text)
    {
        const auto before = std::filesystem::last_write_time(file);
        write_text(file, text);
        std::filesystem::last_write_time(file, before + std::chrono::seconds(1));
    }
    // Runs frames until the log has an entry containing `text`; the plug-in looks at the file every 250 ms,
    // so this gives up only after 20 s of SDL_GetTicks.
    bool frames_until_logged(const std::string& text)
    {
        const uint32_t deadline = SDL_GetTicks() + 20000;
        while (SDL_GetTicks() < deadline) {
            call(1);
            for (const std::string& entry : host.take_log()) {
                if (entry.find(text) != std::string::npos)
                    return true;
                seen += entry + "\n";
            }
        }
        return false;
    }

    GLWindow window{kSide, kSide};
    GLStateContext cache{kSide, kSide};
    StandInHost host{StandInHost::Options{true, false}};
    void* library = nullptr;
    ShaderQuadFn quad = nullptr;
    const std::string file = scratch_folder("reload") + "/live.frag";
    int32_t shader = 0;
    std::string seen; // log entries frames_until_logged went past
    StateStruct state{};
    void* data = nullptr;
};

} // namespace

TEST_F(ShaderReload, ASavedShaderIsRebuiltAndABrokenSaveKeepsTheLastGoodProgram)
{
    write_text(file, solid("0.0, 1.0, 0.0"));
    shader = host.text(file);
    call(0);
    EXPECT_EQ(call(1), 0xFF00FF00u);
    EXPECT_TRUE(host.take_log().empty());

    save(solid("undeclared"));
    ASSERT_TRUE(frames_until_logged("live.frag:3: ")) << seen;
    EXPECT_EQ(call(1), 0xFF00FF00u) << "the last good program stays";

    save(solid("0.0, 0.0, 1.0"));
    ASSERT_TRUE(frames_until_logged("live.frag: reloaded")) << seen;
    EXPECT_EQ(call(1), 0xFF0000FFu);
    call(-1);
}
