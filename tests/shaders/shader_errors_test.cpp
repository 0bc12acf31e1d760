// Shaders that cannot be drawn: messages in the log with the author's line numbers, a demo that goes on,
// and the live reload of a saved shader in --dev.
#include <gtest/gtest.h>

#include "player_runner.h"
#include "scaffold_demo.h"
#include "shader_demo.h"

#include <algorithm>
#include <filesystem>

namespace
{

const char* const kGood = "void mainImage(out vec4 c, in vec2 p)\n{\n    c = vec4(0.0, 1.0, 0.0, 1.0);\n}\n";
// Line 3 uses a name nobody declared.
const char* const kBroken = "void mainImage(out vec4 c, in vec2 p)\n{\n    c = vec4(undeclared, 1.0);\n}\n";

int lines_containing(const PlayerRun& run, const std::string& text)
{
    const std::vector<std::string> lines = run.lines();
    return int(std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.find(text) != std::string::npos; }));
}

} // namespace

TEST(ShaderErrors, EachEventTellsItsFileAndTheAuthorsLineOnceAndDrawsNothing)
{
    const std::string demo = shader_demo(
        300,
        {track({shader_quad(0, 100, 1, 0, 0, {0, 0, 0, 0}), shader_quad(100, 200, 2, 0, 0, {0, 0, 0, 0}),
                shader_quad(200, 300, 1, 0, 0, {0, 0, 0, 0})}),
         track({event("FillGL", 0, 300, {0, 0, 255}, "Paint.so")})},
        {"broken.frag", "missing.frag"});
    const std::string folder = demo_folder("errors", demo, {{"broken.frag", kBroken}});
    PlayerRun run =
        run_player_in(folder, {"--capture", "frames", "--fps", "20", "--size", "160x120", "demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    const std::vector<std::string> lines = run.lines();
    ASSERT_EQ(lines.size(), 3u) << run.log;
    EXPECT_EQ(lines[0].rfind("ShaderQuad: broken.frag:3: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("undeclared"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "ShaderQuad: the shader file 'missing.frag' cannot be opened");
    EXPECT_EQ(lines[2], lines[0]) << "the second event naming the file tells it too";
    const std::vector<std::string> frames = captured_frames(folder + "/frames");
    ASSERT_EQ(frames.size(), 7u);
    for (const std::string& frame : {frames[1], frames[3], frames[6]})
        EXPECT_EQ(Picture::load_png(folder + "/frames/" + frame).at(80, 60), 0xFF0000FFu) << frame;
}

TEST(ShaderErrors, ASavedShaderIsRebuiltInDevModeAndEachBrokenSaveIsToldOnce)
{
    const std::string demo =
        shader_demo(600000, {track({shader_quad(0, 600000, 1, 0, 0, {0, 0, 0, 0})})}, {"live.frag"});
    const std::string folder = demo_folder("dev_reload", demo, {{"live.frag", kBroken}, {"keys.txt", ""}});
    RunningPlayer player = start_player_in(folder, {"--dev", "--size", "160x120", "demo.xml"},
                                           {{"VORTEL_DEV_SCRIPT", folder + "/keys.txt"}});
    ASSERT_TRUE(wait_for_log(player, "ShaderQuad: live.frag:3: ")) << "the broken file is told at the start";
    write_file(folder, "live.frag", kGood);
    ASSERT_TRUE(wait_for_log(player, "ShaderQuad: live.frag: reloaded"));
    // Saved broken again: the player reloads the document and the plug-in sees the change, one tells it.
    std::string again = kBroken;
    again.replace(again.find("undeclared"), 10, "otherName");
    write_file(folder, "live.frag", again);
    ASSERT_TRUE(wait_for_log(player, "otherName"));
    write_file(folder, "live.frag", std::string(kGood) + "// saved once more\n");
    ASSERT_TRUE(wait_for_log_count(player, "ShaderQuad: live.frag: reloaded", 2));
    append_file(folder, "keys.txt", "0 escape\n");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(lines_containing(run, "otherName"), 1) << run.log;
    // The authoring mode shows what the log gets on the terminal too.
    EXPECT_NE(run.stderrText.find("log: ShaderQuad: live.frag:3: "), std::string::npos) << run.stderrText;
}

TEST(ShaderErrors, CheckReportsABrokenShaderAsFileLineMessageAndFails)
{
    const std::string demo =
        shader_demo(300, {track({shader_quad(0, 300, 1, 0, 0, {0, 0, 0, 0})})}, {"broken.frag"});
    const std::string folder = demo_folder("check_broken", demo, {{"broken.frag", kBroken}});
    PlayerRun run = run_player_in(folder, {"--check", "demo.xml"});
    EXPECT_EQ(run.status, 1) << run.stderrText;
    EXPECT_NE((run.stdoutText + run.stderrText).find("broken.frag:3: error: 'undeclared'"), std::string::npos)
        << run.stdoutText << run.stderrText;

    const std::string fixed = demo_folder("check_fixed", demo, {{"broken.frag", kGood}});
    PlayerRun good = run_player_in(fixed, {"--check", "demo.xml"});
    EXPECT_EQ(good.status, 0) << good.stdoutText << good.stderrText;
}
