// The plug-in SDK as an outside developer meets it: this build is installed into a scratch prefix, the
// prefix is moved elsewhere (the installed tree must not depend on where it was put), the example plug-in
// examples/hello-effect is built against it with find_package(Vortel) and again with pkg-config, and the
// installed player plays the example's demo, whose captured frames must show the spinning quad, and, started
// without a demo, the bundled showcase.
#include "gl_window.h"
#include <vortel/plugin.h>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <link.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

struct CommandResult {
    int status = -1; // exit status; -1 when the command did not exit normally
    std::string output;
};

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

// Runs a shell command with stdout and stderr collected.
CommandResult run(const std::string& command)
{
    const fs::path log = fs::current_path() / "command_output.txt";
    int raw = std::system((command + " > " + quoted(log) + " 2>&1").c_str());
    CommandResult result;
    result.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.output = read_file(log);
    return result;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Pixel checks on captured frames: a channel is "on" above 200 and "off" below 60.
bool looks_like(const Picture& picture, int x, int y, uint32_t rgb)
{
    const uint32_t pixel = picture.at(x, y);
    for (int shift : {16, 8, 0}) {
        const int want = int((rgb >> shift) & 0xFF);
        const int got = int((pixel >> shift) & 0xFF);
        if (want == 0xFF ? got < 200 : got > 60)
            return false;
    }
    return true;
}

std::string describe(const Picture& picture, int x, int y)
{
    char text[32];
    std::snprintf(text, sizeof(text), "0x%08X at (%d, %d)", unsigned(picture.at(x, y)), x, y);
    return text;
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

} // namespace

class Sdk : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const fs::path here = fs::current_path();
        const fs::path staging = here / "staging";
        prefix_ = here / "installed";
        exampleBuild_ = here / "hello-build";
        for (const fs::path& stale : {staging, prefix_, exampleBuild_, here / "pkg-config-build"})
            fs::remove_all(stale);

        install_ = run(std::string(VORTEL_CMAKE_COMMAND) + " --install " + quoted(VORTEL_BUILD_DIR) +
                       " --prefix " + quoted(staging));
        if (fs::exists(staging))
            fs::rename(staging, prefix_);
        configure_ = run(std::string(VORTEL_CMAKE_COMMAND) + " -S " +
                         quoted(fs::path(VORTEL_SOURCE_DIR) / "examples/hello-effect") + " -B " +
                         quoted(exampleBuild_) + " -DCMAKE_PREFIX_PATH=" + quoted(prefix_) +
                         " -DCMAKE_CXX_COMPILER=" + quoted(VORTEL_CXX_COMPILER) +
                         " -DCMAKE_BUILD_TYPE=" + VORTEL_BUILD_TYPE);
        build_ = run(std::string(VORTEL_CMAKE_COMMAND) + " --build " + quoted(exampleBuild_));
    }

    static fs::path plugin_dir() { return prefix_ / "lib/vortel"; }
    static fs::path example_plugin() { return exampleBuild_ / "HelloEffect.so"; }

    static fs::path prefix_;
    static fs::path exampleBuild_;
    static CommandResult install_, configure_, build_;
};

fs::path Sdk::prefix_;
fs::path Sdk::exampleBuild_;
CommandResult Sdk::install_, Sdk::configure_, Sdk::build_;

namespace
{
// Loads a plug-in into this process as the player would (no LD_LIBRARY_PATH) and checks its exports.
// Returns the path the dynamic linker took Scaffold.so from, or a message starting with "error: ".
std::string load_plugin(const fs::path& plugin)
{
    void* handle = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return std::string("error: ") + dlerror();
    std::string result = "error: Scaffold.so is not among its libraries";
    for (const char* name : {"Vortel_Init", "Vortel_BeginNewFrame", "Vortel_Quit", "HelloQuad"})
        if (!dlsym(handle, name))
            result = std::string("error: no export ") + name;
    link_map* map = nullptr;
    if (result.rfind("error: no export", 0) != 0 && dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0) {
        for (link_map* entry = map; entry; entry = entry->l_next)
            if (fs::path(entry->l_name).filename() == "Scaffold.so")
                result = entry->l_name;
    }
    dlclose(handle);
    return result.rfind("error: ", 0) == 0 ? result : fs::weakly_canonical(result).string();
}
} // namespace

TEST_F(Sdk, InstallPutsThePlayerPluginsHeadersAndPackageFilesInPlace)
{
    ASSERT_EQ(install_.status, 0) << install_.output;
    const fs::path expected[] = {
        "bin/player",
        "lib/vortel/player",
        "lib/vortel/Scaffold.so",
        "lib/vortel/SDL.ini",
        "include/vortel/plugin.h",
        "include/vortel/records.h",
        "include/vortel/legacy_rand.h",
        "include/vortel/log_text.h",
        "include/vortel/scaffold/glstate.h",
        "include/vortel/scaffold/scene/group_node3d.h",
        "include/vortel/scaffold/scene/poly3d.h",
        "include/vortel/scaffold/scene/texture.h",
        "include/vortel/scaffold/scene/math3d.h",
        "lib/cmake/Vortel/VortelConfig.cmake",
        "lib/cmake/Vortel/VortelConfigVersion.cmake",
        "lib/pkgconfig/vortel-scaffold.pc",
    };
    for (const fs::path& file : expected)
        EXPECT_TRUE(fs::is_regular_file(prefix_ / file)) << file;
    // Every plug-in this build made is installed beside the player.
    for (const char* plugin : {"Swarms.so", "Emberfold.so", "Pictor.so", "Media.so", "Shaders.so"}) {
        if (fs::exists(fs::path(VORTEL_BUILD_DIR) / "bin" / plugin)) {
            EXPECT_TRUE(fs::is_regular_file(plugin_dir() / plugin)) << plugin;
        }
    }
    // Scaffold's private headers stay private.
    EXPECT_FALSE(fs::exists(prefix_ / "include/vortel/scaffold/scene/math3d_internal.h"));
}

TEST_F(Sdk, InstalledLauncherFindsTheBundledDemoBesideTheRealPlayer)
{
    ASSERT_EQ(install_.status, 0) << install_.output;
    if (!fs::exists(fs::path(VORTEL_BUILD_DIR) / "bin/showcase"))
        GTEST_SKIP() << "this build has no bundled showcase";
    const fs::path folder = fs::current_path() / "run_bundled";
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Without a demo argument the player takes the document named after the program: the launcher must
    // start it under its real path, where player.xml, its media and the plug-ins are.
    const CommandResult check =
        run("cd " + quoted(folder) + " && " + quoted(prefix_ / "bin/player") + " --check");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_TRUE(contains(check.output, "lib/vortel/player.xml: no problems found")) << check.output;
}

// The bundled showcase with everything it reads: started with no demo named, the installed player plays the
// packed document beside it; a few frames of the model scene must show the copper ring, with a clean log.
TEST_F(Sdk, InstalledPlayerWithoutArgumentsPlaysTheShowcase)
{
    ASSERT_EQ(install_.status, 0) << install_.output;
    if (!fs::exists(fs::path(VORTEL_BUILD_DIR) / "bin/showcase"))
        GTEST_SKIP() << "this build has no bundled showcase";
    EXPECT_TRUE(fs::is_regular_file(plugin_dir() / "player.xml"));
    for (const char* file :
         {"showcase.xml", "packed.xml", "showcase.dat", "showcase.ogg", "showcase.beat", "ring.obj",
          "gem.obj", "models.mtl", "spark.png", "sierpinski.flame", "swirl.flame"})
        EXPECT_TRUE(fs::is_regular_file(plugin_dir() / "showcase" / file)) << file;

    static Display* keepServerUp = XOpenDisplay(nullptr);
    (void)keepServerUp;
    const fs::path folder = fs::current_path() / "run_showcase";
    fs::remove_all(folder);
    fs::create_directories(folder);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const CommandResult play =
        run("cd " + quoted(folder) + " && timeout 120 " + quoted(prefix_ / "bin/player") +
            " --no-setup --size 320x180 --capture frames --fps 2 --from 54000 --to 55000");
    const std::string log = read_file(folder / "Errorlog.txt");
    ASSERT_EQ(play.status, 0) << play.output << "\n" << log;
    EXPECT_EQ(log, "") << "the installed showcase finds every library, picture, model and beat file";

    for (const char* name : {"frame_00000.png", "frame_00002.png"}) {
        const Picture frame = Picture::load_png((folder / "frames" / name).string());
        ASSERT_EQ(frame.width, 320) << name;
        int copper = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const int r = frame.red(x, y), g = frame.green(x, y), b = frame.blue(x, y);
                copper += r > 90 && r > g + 30 && g > b;
            }
        EXPECT_GT(copper, 320 * 180 / 20) << name << ": the copper ring stands in the middle";
    }
}

TEST_F(Sdk, InstalledTreeWorksAfterBeingMovedAndKnowsNothingOfTheBuild)
{
    ASSERT_EQ(install_.status, 0) << install_.output;
    for (const char* file : {"lib/cmake/Vortel/VortelConfig.cmake", "lib/pkgconfig/vortel-scaffold.pc"}) {
        const std::string text = read_file(prefix_ / file);
        EXPECT_FALSE(contains(text, VORTEL_BUILD_DIR)) << file;
        EXPECT_FALSE(contains(text, "/staging")) << file;
    }
    for (const fs::path& entry : fs::directory_iterator(plugin_dir())) {
        if (entry.extension() != ".so")
            continue;
        const CommandResult dynamic = run("readelf -d " + quoted(entry));
        ASSERT_EQ(dynamic.status, 0) << dynamic.output;
        EXPECT_TRUE(contains(dynamic.output, "[$ORIGIN]")) << entry << "\n" << dynamic.output;
        EXPECT_FALSE(contains(dynamic.output, VORTEL_BUILD_DIR)) << entry << "\n" << dynamic.output;
    }
}

TEST_F(Sdk, ExampleBuildsWithFindPackageAndLoadsTheInstalledScaffold)
{
    ASSERT_EQ(configure_.status, 0) << configure_.output;
    ASSERT_EQ(build_.status, 0) << build_.output;
    ASSERT_TRUE(fs::is_regular_file(example_plugin()));
    ASSERT_TRUE(fs::is_regular_file(exampleBuild_ / "hello.xml")) << "the demo goes beside the plug-in";

    const std::string scaffold = load_plugin(example_plugin());
    EXPECT_EQ(fs::path(scaffold).parent_path(), plugin_dir()) << scaffold;

    // Handed no services record, the example answers false, as every plug-in does, and throws nothing.
    void* handle = dlopen(example_plugin().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto init = reinterpret_cast<VortelInitFn>(dlsym(handle, VORTEL_INIT_NAME));
    ASSERT_NE(init, nullptr);
    EXPECT_FALSE(init(nullptr, nullptr, nullptr));
    dlclose(handle);

    // It describes its one effect to the installed player's tools.
    const CommandResult described =
        run(quoted(prefix_ / "bin/player") + " --describe " + quoted(example_plugin()));
    EXPECT_EQ(described.status, 0) << described.output;
    EXPECT_TRUE(contains(described.output, "\"HelloQuad\"")) << described.output;
    EXPECT_TRUE(contains(described.output, "\"spin\"")) << described.output;

    // A plug-in loaded into a sanitized player is built with the same sanitizers.
    const CommandResult dynamic = run("readelf -d " + quoted(example_plugin()));
    EXPECT_EQ(contains(dynamic.output, "libasan"), bool(VORTEL_SANITIZED)) << dynamic.output;
}

TEST_F(Sdk, PkgConfigFileBuildsTheSamePlugin)
{
    ASSERT_EQ(install_.status, 0) << install_.output;
    const fs::path out = fs::current_path() / "pkg-config-build";
    fs::create_directories(out);
    const fs::path sources = fs::path(VORTEL_SOURCE_DIR) / "examples/hello-effect";
    const CommandResult compile =
        run("PKG_CONFIG_PATH=" + quoted(prefix_ / "lib/pkgconfig") + " && export PKG_CONFIG_PATH && " +
            quoted(VORTEL_CXX_COMPILER) + " -std=c++17 -shared -fPIC -o " + quoted(out / "HelloEffect.so") +
            " " + quoted(sources / "hello_effect.cpp") + " " + quoted(sources / "hello_descriptions.cpp") +
            " " + quoted(sources / "quad_node.cpp") + " $(pkg-config --cflags --libs vortel-scaffold)");
    ASSERT_EQ(compile.status, 0) << compile.output;
    const std::string scaffold = load_plugin(out / "HelloEffect.so");
    EXPECT_EQ(fs::path(scaffold).parent_path(), plugin_dir()) << scaffold;
}

TEST_F(Sdk, InstalledPlayerShowsTheExampleQuadSpinning)
{
    ASSERT_EQ(build_.status, 0) << build_.output;
    // The X server may reset when its last client leaves; one open connection keeps it up for the player.
    static Display* keepServerUp = XOpenDisplay(nullptr);
    (void)keepServerUp;
    const fs::path folder = fs::current_path() / "run_hello";
    fs::remove_all(folder);
    fs::create_directories(folder);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const CommandResult play =
        run("cd " + quoted(folder) + " && timeout 120 " + quoted(prefix_ / "bin/player") +
            " --no-setup --size 320x240 --capture frames --fps 1 --to 1001 " +
            quoted(exampleBuild_ / "hello.xml"));
    const std::string log = read_file(folder / "Errorlog.txt");
    ASSERT_EQ(play.status, 0) << play.output << "\n" << log;
    EXPECT_FALSE(contains(log, "HelloQuad")) << log;

    const Picture start = Picture::load_png((folder / "frames/frame_00000.png").string());
    const Picture quarterTurn = Picture::load_png((folder / "frames/frame_00001.png").string());
    ASSERT_EQ(start.width, 320);
    ASSERT_EQ(quarterTurn.width, 320);

    // The 8-unit square seen from 10 units spans 128 x 128 pixels around the centre (160, 120) of the
    // 320 x 240 frame. Sample points 32 pixels from the centre along each diagonal.
    const int left = 128, right = 192, top = 88, bottom = 152;
    EXPECT_TRUE(looks_like(start, left, top, kRed)) << describe(start, left, top);
    EXPECT_TRUE(looks_like(start, right, top, kGreen)) << describe(start, right, top);
    EXPECT_TRUE(looks_like(start, left, bottom, kBlue)) << describe(start, left, bottom);
    EXPECT_TRUE(looks_like(start, right, bottom, kYellow)) << describe(start, right, bottom);
    // Outside the square: Show3D's clear colour (20, 20, 60).
    EXPECT_EQ(start.at(10, 10) & 0xFFFFFF, 0x14143Cu) << describe(start, 10, 10);
    EXPECT_EQ(start.at(80, 120) & 0xFFFFFF, 0x14143Cu) << describe(start, 80, 120);

    // A second later the square has turned a quarter turn counter-clockwise: red went to the bottom left.
    EXPECT_TRUE(looks_like(quarterTurn, left, bottom, kRed)) << describe(quarterTurn, left, bottom);
    EXPECT_TRUE(looks_like(quarterTurn, left, top, kGreen)) << describe(quarterTurn, left, top);
    EXPECT_TRUE(looks_like(quarterTurn, right, bottom, kBlue)) << describe(quarterTurn, right, bottom);
    EXPECT_TRUE(looks_like(quarterTurn, right, top, kYellow)) << describe(quarterTurn, right, top);
}
