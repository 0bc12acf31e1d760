// The shared scene in the real player: Show3D to the window and through an off-screen buffer, and the
// messages the scene and group effects write to Errorlog.txt.
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"
#include "scaffold_demo.h"

namespace
{

// Texts: 1 "Marked", 2 "Render1", 3 "Render2".
const std::vector<std::string> kTexts = {"Marked", "Render1", "Render2"};

// Clear3D, a group at (2, 1, 0) showing its axis marker, and a camera at z = -10 looking towards +z.
std::vector<std::string> marked_scene(int32_t end)
{
    return {track({event("SetCamera3D", 0, end, {0, 0, -10000, 0, kUnit, 0, 0, 13333, 1, 1000})}),
            track({event("Make3DGroup", 0, end, {1, 2000, 1000, 0, 0, 0, 0, kUnit, kUnit, 0, 1})}),
            track({event("Clear3D", 0, end, {})})};
}

PlayerRun run_demo(const std::string& name, const std::string& demo, const std::string& to = "")
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", demo);
    std::vector<std::string> args = {"--capture", "frames", "--fps", "20", "--size", "320x240"};
    if (!to.empty())
        args.insert(args.end(), {"--to", to});
    args.push_back("demo.xml");
    return run_player_in(folder, args);
}

Picture last_frame(const PlayerRun& run)
{
    std::vector<std::string> frames = captured_frames(run.folder + "/frames");
    return frames.empty() ? Picture() : Picture::load_png(run.folder + "/frames/" + frames.back());
}

// Rows (x = column) / columns (y = row) at which a marker line of the colour crosses.
int row_of(const Picture& picture, int x, bool (*match)(uint32_t))
{
    for (int y = 0; y < picture.height; ++y)
        if (match(picture.at(x, y)))
            return y;
    return -1;
}
int column_of(const Picture& picture, int y, bool (*match)(uint32_t))
{
    for (int x = 0; x < picture.width; ++x)
        if (match(picture.at(x, y)))
            return x;
    return -1;
}
bool bluish(uint32_t c)
{
    return (c & 0xFF) > 200 && ((c >> 16) & 0xFF) < 180;
} // the x axis, 0x8080FF
bool greenish(uint32_t c)
{
    return ((c >> 8) & 0xFF) > 200 && ((c >> 16) & 0xFF) < 180 && (c & 0xFF) < 180;
}

TEST(SceneEndToEnd, Show3DThroughEitherBufferAndBackgroundLooksLikeDrawingToTheWindow)
{
    std::vector<std::string> direct = {track({event("Show3D", 0, 100, {0, 320, 240, 1, 0, 0, 0})})};
    for (const std::string& t : marked_scene(100))
        direct.push_back(t);
    PlayerRun directRun = run_demo("show_direct", scaffold_demo(100, direct, kTexts));
    ASSERT_EQ(directRun.status, 0) << directRun.log;
    EXPECT_TRUE(directRun.log.empty()) << directRun.log;
    Picture window = last_frame(directRun);
    window.save_png("show3d_direct.png");
    // The group sits above the centre, so its x axis crosses the picture in the upper half.
    const int xAxisRow = row_of(window, 20, bluish);
    ASSERT_GT(xAxisRow, 0);
    EXPECT_LT(xAxisRow, 120);
    const int yAxisColumn = column_of(window, 20, greenish);
    ASSERT_GE(yAxisColumn, 0);

    for (int32_t renderTo : {1, 2}) {
        SCOPED_TRACE("renderTo " + std::to_string(renderTo));
        const int32_t textureName = 1 + renderTo; // "Render1" / "Render2"
        std::vector<std::string> buffered = {
            track({event("Background", 0, 100, {textureName, 255, 255, 255, 255, kGLOne, kGLZero, 0, 0, 0})}),
            track({event("Show3D", 0, 100, {renderTo, 320, 240, 1, 0, 0, 0})})};
        for (const std::string& t : marked_scene(100))
            buffered.push_back(t);
        buffered.push_back(track({event("FillGL", 0, 100, {255, 0, 0}, "Paint.so")}));
        const std::string name = "show_buffer" + std::to_string(renderTo);
        PlayerRun bufferedRun = run_demo(name, scaffold_demo(100, buffered, kTexts));
        ASSERT_EQ(bufferedRun.status, 0) << bufferedRun.log;
        EXPECT_TRUE(bufferedRun.log.empty()) << bufferedRun.log;
        Picture shown = last_frame(bufferedRun);
        shown.save_png(name + ".png");
        EXPECT_NEAR(row_of(shown, 20, bluish), xAxisRow, 1) << "not upside down";
        EXPECT_NEAR(column_of(shown, 20, greenish), yAxisColumn, 1);
        EXPECT_EQ(shown.at(300, 230) & 0xFFFFFF, 0u)
            << "the texture covers the red fill with the cleared scene";
    }
}

// Mean row of the lit (not black) pixels in columns [from, to).
double bright_row(const Picture& picture, int from, int to)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = from; x < to; ++x)
            if (picture.red(x, y) + picture.green(x, y) + picture.blue(x, y) > 60) {
                sum += y;
                ++count;
            }
    return count ? sum / count : -1.0;
}

TEST(SceneEndToEnd, SwarmGroupDrawsACubeAtEachPointWithItsOwnExtraOffset)
{
    // Texts: 1 "Line", 2 "Dots". A two-point swarm at x = -3 and x = 3; the group reads its per-point
    // offset y from word 16, a line from 0 to 4 units over the event's two seconds, one second apart per
    // point: at the start point 0 gets y = 0 and point 1 y = 2.
    std::string params;
    for (int32_t value : {2, 1, 0, 0, 0, 0, 0, 0, kUnit, kUnit, 0, 0, 2, 0, 1000})
        params += "<param type=\"const\" val=\"" + std::to_string(value) + "\"/>";
    params +=
        "<param type=\"const\" val=\"0\"/><param start=\"0\" end=\"4000\"/><param type=\"const\" val=\"0\"/>";
    for (int32_t value : {0, 0, 0, kUnit, kUnit})
        params += "<param type=\"const\" val=\"" + std::to_string(value) + "\"/>";
    std::vector<std::string> tracks = {
        track({event("Show3D", 0, 2000, {0, 320, 240, 1, 0, 0, 0})}),
        track({event("SetCamera3D", 0, 2000, {0, 0, -10000, 0, kUnit, 0, 0, 13333, 1, 1000})}),
        track({event("Cube3D", 0, 2000,
                     {1, 255, 255, 255, 0, 0, 0, 0, 0, 0, kUnit, 255, kGLOne, kGLZero, 50000, 2, 0})}),
        track({event_xml("MakeSwarmGroup", 0, 2000, params)}),
        track({event("DrawLineSwarm", 0, 2000, {1, 0, 0, -3, 0, 0, 3, 0, 0}, "Swarms.so")}),
        track({event("Clear3D", 0, 2000, {})})};
    PlayerRun run = run_demo("swarm_group", scaffold_demo(2000, tracks, {"Line", "Dots"}, "", true), "100");
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_EQ(run.find_line("MakeSwarmGroup"), -1) << run.log;
    EXPECT_EQ(run.find_line("Make3DGroup"), -1) << run.log;
    Picture picture = last_frame(run);
    picture.save_png("swarm_group.png");
    // The camera looks towards +z, so x = 3 (point 1) is on the left of the picture.
    const double left = bright_row(picture, 0, 160), right = bright_row(picture, 160, 320);
    ASSERT_GT(left, 0);
    ASSERT_GT(right, 0);
    EXPECT_NEAR(right, 120.0, 6.0) << "point 0 is barely lifted (0.2 units at 100 ms)";
    EXPECT_LT(left, right - 20.0) << "point 1 is lifted by its offset";
}

TEST(SceneEndToEnd, ProblemsAreWrittenToTheErrorLog)
{
    // Texts: 1 "G", 2 "H", 3 "Nowhere", 4 "Nope", 5 "Render2".
    const std::vector<std::string> texts = {"G", "H", "Nowhere", "Nope", "Render2"};
    // Each refusal that stops the frame's walk gets its own time slot on track 0, which runs last.
    std::vector<std::string> tracks = {
        track({event("Show3D", 0, 100, {3, 320, 240, 1, 0, 0, 0}),
               event("Make3DGroup", 100, 200, {2, 0, 0, 0, 0, 0, 0, kUnit, kUnit, 3, 0}),
               event("CopyGroupToGroups", 200, 300, {4, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
               event("CopyGroupToGroups", 300, 400, {1, 99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
               event("MakeMaterial", 400, 500, {77, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
               event("Background", 500, 600, {5, 255, 255, 255, 255, kGLOne, kGLZero, 7, 0, 0})}),
        track({event("Show3D", 0, 600, {0, 320, 240, 1, 0, 0, 0})}),
        track({event("Make3DGroup", 0, 600, {1, 0, 0, 0, 0, 0, 0, kUnit, kUnit, 0, 0})}),
        track({event("Make3DGroup", 0, 600, {1, 0, 0, 0, 0, 0, 0, kUnit, kUnit, 0, 0})}),
        track({event("Clear3D", 0, 600, {})})};
    PlayerRun run = run_demo("messages", scaffold_demo(600, tracks, texts));
    EXPECT_NE(run.status, -1) << "the player ends by itself";
    EXPECT_TRUE(run.stderrText.find("ERROR: AddressSanitizer") == std::string::npos) << run.stderrText;
    EXPECT_GE(run.find_line("Show3D: Wrong RenderTo value!"), 0) << run.log;
    EXPECT_GE(run.find_line("Show3D: No camera set! Use SetCamera3D!"), 0) << run.log;
    EXPECT_EQ(run.lines_starting("Make3DGroup: group G already exists").size(), 1u) << run.log;
    EXPECT_GE(run.find_line("Make3DGroup: the Parent group Nowhere doesn't exist!"), 0) << run.log;
    EXPECT_GE(run.find_line("CopyGroupToGroups: Unknown group Nope"), 0) << run.log;
    EXPECT_GE(run.find_line("CopyGroupToGroups: Couldn't get the name for the group nr 99"), 0) << run.log;
    EXPECT_GE(run.find_line("MakeMaterial: Couldn't get the name for the material nr 77"), 0) << run.log;
    EXPECT_GE(run.find_line("Background: Wrong RenderTo value!"), 0) << run.log;
    EXPECT_EQ(run.lines_starting("Background").size(),
              run.lines_starting("Background: Wrong RenderTo value!").size());
}

} // namespace
