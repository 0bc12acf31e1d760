// Capture quality: motion blur averages sub-frames on the fixed clock.
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"

namespace
{

std::vector<std::string> capture(const std::string& folder, const std::vector<std::string>& options)
{
    std::vector<std::string> args = {"--capture", "f", "--fps", "10", "--size", "320x240"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(fixture("e2e_capture.xml"));
    PlayerRun run = run_player_in(folder, args);
    EXPECT_EQ(run.status, 0) << run.log << run.stderrText;
    return captured_frames(folder + "/f");
}

TEST(CaptureQuality, MotionBlurCoversEveryEvenlyWeightedSubFramePosition)
{
    // The red block (40 wide) is at x = t / 5: 4 sub-frames over the whole 100 ms interval of the frame at
    // 100 ms put it at x = 20, 25, 30 and 35, so column c is covered by as many of them as hold it.
    std::string folder = fresh_folder("quality_blur");
    ASSERT_EQ(capture(folder, {"--from", "100", "--to", "100", "--motion-blur", "4:1"}).size(), 1u);
    Picture frame = Picture::load_png(folder + "/f/frame_00000.png");
    for (int x = 15; x < 80; ++x) {
        int covered = 0;
        for (int j = 0; j < 4; ++j)
            covered += x >= 20 + 5 * j && x < 60 + 5 * j;
        EXPECT_NEAR(frame.red(x, 120), 255.0 * covered / 4, 1.0) << "column " << x;
        EXPECT_NEAR(frame.blue(x, 120), 255.0 * (4 - covered) / 4, 1.0) << "column " << x;
    }
    EXPECT_EQ(frame.at(5, 5), 0xFF00FF00u) << "the still marker stays sharp";
}

TEST(CaptureQuality, MotionBlurredRangeEqualsTheSameFramesOfAWholeCapture)
{
    std::string whole = fresh_folder("quality_blur_whole"), part = fresh_folder("quality_blur_part");
    ASSERT_EQ(capture(whole, {"--motion-blur", "4"}).size(), 11u);
    ASSERT_EQ(capture(part, {"--from", "300", "--to", "500", "--motion-blur", "4"}).size(), 3u);
    for (int k = 0; k < 3; ++k) {
        char name[32];
        std::snprintf(name, sizeof(name), "/f/frame_%05d.png", k + 3);
        Picture a = Picture::load_png(whole + name);
        Picture b = Picture::load_png(part + "/f/frame_0000" + std::to_string(k) + ".png");
        ASSERT_EQ(a.width, 320);
        EXPECT_EQ(a.rgba, b.rgba) << "frame " << k + 3;
    }
}

} // namespace
