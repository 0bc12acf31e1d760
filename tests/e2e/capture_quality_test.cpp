// Capture quality: motion blur averages sub-frames on the fixed clock; supersampling draws at N times the
// size and filters the frame down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <gl_window.h>

#include "player_runner.h"

namespace
{

std::vector<std::string> capture(const std::string& folder, const std::vector<std::string>& options,
                                 const std::string& demo = "e2e_capture.xml",
                                 const std::string& size = "320x240")
{
    std::vector<std::string> args = {"--capture", "f", "--fps", "10", "--size", size};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(fixture(demo));
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

// Frames 3..5 of a whole capture with `options` equal a capture of 300..500 ms alone, and show the block.
void expect_range_equals_whole_capture(const std::string& name, const std::vector<std::string>& options)
{
    std::string whole = fresh_folder(name + "_whole"), part = fresh_folder(name + "_part");
    ASSERT_EQ(capture(whole, options).size(), 11u);
    std::vector<std::string> range = {"--from", "300", "--to", "500"};
    range.insert(range.end(), options.begin(), options.end());
    ASSERT_EQ(capture(part, range).size(), 3u);
    for (int k = 0; k < 3; ++k) {
        char name[32];
        std::snprintf(name, sizeof(name), "/f/frame_%05d.png", k + 3);
        Picture a = Picture::load_png(whole + name);
        Picture b = Picture::load_png(part + "/f/frame_0000" + std::to_string(k) + ".png");
        ASSERT_EQ(a.width, 320);
        EXPECT_EQ(a.rgba, b.rgba) << "frame " << k + 3;
        int red = 0;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                red += a.red(x, y) > 0;
        EXPECT_GT(red, 100) << "frame " << k + 3 << " shows the red block";
    }
}

TEST(CaptureQuality, MotionBlurredRangeEqualsTheSameFramesOfAWholeCapture)
{
    expect_range_equals_whole_capture("quality_blur", {"--motion-blur", "4"});
}

TEST(CaptureQuality, SupersampledMotionBlurredRangeEqualsTheSameFramesOfAWholeCapture)
{
    expect_range_equals_whole_capture("quality_super_blur", {"--supersample", "2", "--motion-blur", "4"});
}

// The orange part of each pixel (0..1 from its red channel) and where its centre of mass lies.
struct Coverage {
    double sum = 0, x = 0, y = 0;
};

Coverage coverage(const Picture& p)
{
    Coverage c;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            double w = p.red(x, y) / 255.0;
            c.sum += w;
            c.x += w * (x + 0.5);
            c.y += w * (y + 0.5);
        }
    c.x /= c.sum;
    c.y /= c.sum;
    return c;
}

// The frame at `time` of the turned rectangle, captured 320x200 with --supersample `n`.
Picture rectangle_frame(const std::string& name, const std::string& time, const std::string& n)
{
    std::string folder = fresh_folder(name);
    EXPECT_EQ(
        capture(folder, {"--from", time, "--to", time, "--supersample", n}, "e2e_supersample.xml", "320x200")
            .size(),
        1u);
    return Picture::load_png(folder + "/f/frame_00000.png");
}

TEST(CaptureQuality, SupersamplingSmoothsEdgesAndKeepsTheFraming)
{
    // A turned orange rectangle over black in a 4:3 demo, captured 320x200 (bars left and right): drawn
    // plainly, every pixel is black or orange; supersampled, the edges take values in between, and
    // everything away from an edge is as drawn plainly (same bars, same place, same way up).
    Picture plain = rectangle_frame("quality_super_plain", "100", "1");
    Picture smooth = rectangle_frame("quality_super", "100", "2");
    ASSERT_EQ(plain.width, 320);
    ASSERT_EQ(smooth.width, 320);
    ASSERT_EQ(smooth.height, 200);
    const uint32_t orange = plain.at(160, 100), black = 0xFF000000u;
    ASSERT_EQ(orange, 0xFFFF8000u);
    int plainBetween = 0, smoothBetween = 0, differAwayFromEdges = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            plainBetween += plain.at(x, y) != orange && plain.at(x, y) != black;
            smoothBetween += smooth.at(x, y) != orange && smooth.at(x, y) != black;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = std::clamp(x + dx, 0, 319), ny = std::clamp(y + dy, 0, 199);
                    edge = edge || plain.at(nx, ny) != plain.at(x, y);
                }
            differAwayFromEdges += !edge && smooth.at(x, y) != plain.at(x, y);
        }
    EXPECT_EQ(plainBetween, 0);
    EXPECT_GT(smoothBetween, 120) << "the rectangle's edges, about 300 pixels long, are smoothed";
    EXPECT_EQ(differAwayFromEdges, 0);
    Coverage a = coverage(plain), b = coverage(smooth);
    EXPECT_NEAR(b.sum, a.sum, a.sum * 0.01);
    EXPECT_NEAR(b.x, a.x, 0.1) << "not shifted";
    EXPECT_NEAR(b.y, a.y, 0.1) << "not shifted";
}

TEST(CaptureQuality, SupersampledPostEffectsLookTheSame)
{
    // From 500 ms the rectangle is shown through PostBlurPrecise with a radius of 8 pixels: supersampled,
    // the off-screen buffers are twice the size and so is the radius, and the blurred picture stays.
    Picture plain = rectangle_frame("quality_super_blur_plain", "600", "1");
    Picture smooth = rectangle_frame("quality_super_blur", "600", "2");
    ASSERT_EQ(plain.width, 320);
    ASSERT_EQ(smooth.width, 320);
    int largest = 0, blurred = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            blurred += plain.red(x, y) > 20 && plain.red(x, y) < 235;
            largest = std::max(largest, std::abs(int(plain.red(x, y)) - int(smooth.red(x, y))));
        }
    EXPECT_GT(blurred, 1000) << "the edges are blurred over several pixels";
    EXPECT_GT(smooth.red(160, 100), 250) << "the rectangle is shown";
    EXPECT_LE(largest, 12) << "the largest difference in red";
}

TEST(CaptureQuality, SupersamplingRefusesWhatItCannotDraw)
{
    // A demo that draws into a surface without OpenGL, and pictures wider than this OpenGL draws
    // (llvmpipe: 16384): a message saying so, exit status 1, no frame.
    std::string folder = fresh_folder("quality_super_refused");
    PlayerRun surface = run_player_in(
        folder, {"--capture", "f", "--size", "160x120", "--supersample", "2", fixture("e2e_surface.xml")});
    EXPECT_EQ(surface.status, 1);
    EXPECT_NE(surface.stderrText.find("--supersample needs a demo that draws with OpenGL"), std::string::npos)
        << surface.stderrText;
    PlayerRun wide = run_player_in(
        folder, {"--capture", "f", "--size", "4400x100", "--supersample", "4", fixture("e2e_capture.xml")});
    EXPECT_EQ(wide.status, 1);
    EXPECT_NE(wide.stderrText.find("--supersample 4 would draw 17600x400 pictures"), std::string::npos)
        << wide.stderrText;
    EXPECT_TRUE(captured_frames(folder + "/f").empty());
}

} // namespace
