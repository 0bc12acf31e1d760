// The example document of the demo-format guide (docs/example.xml with docs/example.beat), run the way the
// guide tells a demo maker to: checked with --check and captured by the real player from its own folder.
// Its frames must show what the guide says: a ring of cubes that grows bar by bar and pulses to the beat,
// over a gradient, faded in from and out to black.
#include <gtest/gtest.h>
#include <unistd.h>

#include <gl_window.h>

#include <cstdio>
#include <cstdlib>

#include "player_runner.h"

namespace
{

constexpr int kFps = 10;

std::string example_folder(const std::string& name)
{
    const std::string folder = fresh_folder(name + "_" + std::to_string(getpid()));
    for (const char* file : {"example.xml", "example.beat"})
        EXPECT_EQ(
            std::system(
                ("cp '" VORTEL_SOURCE_DIR "/docs/" + std::string(file) + "' '" + folder + "/'").c_str()),
            0);
    return folder;
}

// Pixels of the cubes: red to yellow, far warmer than the blue-violet background.
int cube_pixels(const Picture& p)
{
    int count = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            count += p.red(x, y) > 150 && p.red(x, y) > p.blue(x, y) + 60;
    return count;
}

int brightest_channel(const Picture& p)
{
    int most = 0;
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        most = std::max({most, int(p.rgba[i]), int(p.rgba[i + 1]), int(p.rgba[i + 2])});
    return most;
}

class ExampleDocument : public ::testing::Test
{
protected:
    // Captured once, 320 x 240 at 10 frames a second over its whole 8 seconds.
    static void SetUpTestSuite()
    {
        folder_ = example_folder("example_capture");
        run_ = run_player_in(folder_, {"--size", "320x240", "--capture", "frames", "--fps",
                                       std::to_string(kFps), "example.xml"});
    }

    static Picture frame_at(int ms)
    {
        char name[40];
        std::snprintf(name, sizeof name, "/frames/frame_%05d.png", ms * kFps / 1000);
        Picture p = Picture::load_png(folder_ + name);
        EXPECT_GT(p.width, 0) << "no frame at " << ms << " ms";
        return p;
    }

    static std::string folder_;
    static PlayerRun run_;
};
std::string ExampleDocument::folder_;
PlayerRun ExampleDocument::run_;

TEST(ExampleDocumentCheck, PassesTheChecker)
{
    const std::string folder = example_folder("example_check");
    const PlayerRun r = run_player_in(folder, {"--check", "example.xml"});
    EXPECT_EQ(r.status, 0) << r.stdoutText << r.log;
    EXPECT_NE(r.stdoutText.find("no problems found"), std::string::npos) << r.stdoutText;
}

TEST_F(ExampleDocument, PlaysToItsEndWithoutAComplaint)
{
    ASSERT_EQ(run_.status, 0) << run_.log << run_.stderrText;
    EXPECT_EQ(run_.log, "") << "every effect found its groups and the beat file";
    EXPECT_EQ(captured_frames(folder_ + "/frames").size(), size_t(8 * kFps + 1));
}

TEST_F(ExampleDocument, FadesInFromAndOutToBlack)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    EXPECT_LE(brightest_channel(frame_at(0)), 2);
    EXPECT_LE(brightest_channel(frame_at(8000)), 2);
    EXPECT_GT(brightest_channel(frame_at(4000)), 150);
}

TEST_F(ExampleDocument, TheRingGrowsByOneCubeABarAndPulsesToTheBeat)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    for (int ms : {1500, 2100, 2900, 5500})
        frame_at(ms).save_png("example_" + std::to_string(ms) + "ms.png");

    // The same place in the bar (the same pulse): 5 cubes after one bar, 9 after five.
    const int early = cube_pixels(frame_at(1500)), late = cube_pixels(frame_at(5500));
    EXPECT_GT(early, 100) << "the cubes show";
    EXPECT_GT(late, early * 3 / 2) << "the ring has grown";

    // One bar, six cubes: just after the kick (scale 1.0) and near the end of the bar (about 0.64).
    const int kick = cube_pixels(frame_at(2100)), fallen = cube_pixels(frame_at(2900));
    EXPECT_GT(kick, fallen * 3 / 2) << "the cubes swell on the beat";
}

TEST_F(ExampleDocument, TheBackgroundIsAGradientFromDarkBlueToViolet)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    const Picture p = frame_at(4000);
    // Corners, clear of the ring in the middle: the top is bluer and brighter than the bottom.
    EXPECT_GT(p.blue(2, 2), p.blue(2, p.height - 3) + 60);
    EXPECT_GT(p.blue(2, 2), p.red(2, 2));
    EXPECT_GT(p.blue(p.width - 3, 2), 150);
}

// The guide's recipe for rendering in parts: at 30 fps a boundary at 4000 ms (a multiple of 100 ms) starts
// the second part on frame 120 of the whole render, and the parts' frames numbered on are the whole's.
TEST(ExampleDocumentInParts, JoinedPartsEqualTheWholeRenderFrameForFrame)
{
    const std::string folder = example_folder("example_parts");
    auto capture = [&](const std::string& dir, const std::string& from, const std::string& to) {
        const PlayerRun r = run_player_in(folder, {"--size", "160x120", "--capture", dir, "--fps", "30",
                                                   "--from", from, "--to", to, "example.xml"});
        EXPECT_EQ(r.status, 0) << r.log << r.stderrText;
        return captured_frames(folder + "/" + dir);
    };
    const std::vector<std::string> whole = capture("whole", "0", "8000");
    const std::vector<std::string> first = capture("part1", "0", "3999");
    const std::vector<std::string> second = capture("part2", "4000", "8000");
    ASSERT_EQ(first.size(), 120u);
    ASSERT_EQ(first.size() + second.size(), whole.size());

    for (size_t k = 0; k < whole.size(); ++k) {
        const bool inFirst = k < first.size();
        const std::string part =
            folder + (inFirst ? "/part1/" + first[k] : "/part2/" + second[k - first.size()]);
        const Picture a = Picture::load_png(folder + "/whole/" + whole[k]), b = Picture::load_png(part);
        ASSERT_GT(a.width, 0) << whole[k];
        EXPECT_TRUE(a.rgba == b.rgba) << "frame " << k << " differs from " << part;
    }
}

} // namespace
