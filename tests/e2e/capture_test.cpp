// Offline rendering: the number of frames, their names and the pictures in them.
#include <filesystem>
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"

namespace
{

constexpr uint32_t kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kGreen = 0xFF00FF00;

// The red block of e2e_capture.xml is at x = t / 5, y 80..159, 40 wide; the green marker at 0..19.
void expect_capture_frame(const Picture& frame, uint32_t t, const std::string& name)
{
    ASSERT_EQ(frame.width, 320) << name;
    ASSERT_EQ(frame.height, 240) << name;
    int x = int(t / 5);
    EXPECT_EQ(frame.at(5, 5), kGreen) << name << ": the marker is at the top left";
    EXPECT_EQ(frame.at(5, 235), kBlue) << name << ": nothing at the bottom left";
    EXPECT_EQ(frame.at(x + 20, 120), kRed) << name;
    EXPECT_EQ(frame.at(x + 20, 75), kBlue) << name << ": above the block";
    EXPECT_EQ(frame.at(x + 20, 165), kBlue) << name << ": below the block";
    EXPECT_EQ(frame.at(x + 45, 120), kBlue) << name << ": right of the block";
    if (x >= 5)
        EXPECT_EQ(frame.at(x - 5, 120), kBlue) << name << ": left of the block";
}

TEST(Capture, WritesOneFramePerTickOfTheFixedClockWithTheDrawnPicture)
{
    std::string folder = fresh_folder("capture_all");
    PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "10", "--size", "320x240", fixture("e2e_capture.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    std::vector<std::string> frames = captured_frames(folder + "/frames");
    ASSERT_EQ(frames.size(), 11u); // 0, 100, ..., 1000 ms
    EXPECT_EQ(frames.front(), "frame_00000.png");
    EXPECT_EQ(frames.back(), "frame_00010.png");
    for (uint32_t k = 0; k < frames.size(); ++k)
        expect_capture_frame(Picture::load_png(folder + "/frames/" + frames[k]), k * 100, frames[k]);
    // stderr is a pipe here, not a terminal: the summary is there all the same.
    EXPECT_NE(run.stderrText.find("11 frames written to frames\n"), std::string::npos) << run.stderrText;
}

TEST(Capture, FromAndToChooseTheTimeRange)
{
    std::string folder = fresh_folder("capture_range");
    PlayerRun run = run_player_in(folder, {"--capture", "out/sub", "--fps", "25", "--from", "200", "--to",
                                           "400", "--size", "320x240", fixture("e2e_capture.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    std::vector<std::string> frames = captured_frames(folder + "/out/sub");
    ASSERT_EQ(frames.size(), 6u); // 200, 240, ..., 400 ms
    expect_capture_frame(Picture::load_png(folder + "/out/sub/frame_00000.png"), 200, "first");
    expect_capture_frame(Picture::load_png(folder + "/out/sub/frame_00005.png"), 400, "last");
}

TEST(Capture, StartOffsetIsTheDefaultStartAndToStopsAtRunningTime)
{
    std::string folder = fresh_folder("capture_offset");
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "10", "--to", "5000", "--size",
                                           "320x240", fixture("e2e_capture.xml"), "700"});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    std::vector<std::string> frames = captured_frames(folder + "/f");
    ASSERT_EQ(frames.size(), 4u); // 700, 800, 900, 1000 ms
    expect_capture_frame(Picture::load_png(folder + "/f/frame_00000.png"), 700, "first");
}

TEST(Capture, WiderWindowShowsTheDemoPillarboxed)
{
    // A 4:3 demo in a 16:9 window: the viewport is 480 x 360, 80 pixels in from the left.
    std::string folder = fresh_folder("capture_aspect");
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "10", "--to", "0", "--size", "640x360",
                                           fixture("e2e_capture.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    Picture frame = Picture::load_png(folder + "/f/frame_00000.png");
    ASSERT_EQ(frame.width, 640);
    EXPECT_EQ(frame.at(40, 180), 0xFF000000u) << "left bar";
    EXPECT_EQ(frame.at(600, 180), 0xFF000000u) << "right bar";
    EXPECT_EQ(frame.at(85, 5), kGreen) << "the marker at the viewport's corner";
    EXPECT_EQ(frame.at(75, 5), 0xFF000000u);
    EXPECT_EQ(frame.at(500, 300), kBlue);
    EXPECT_EQ(frame.at(560, 300), 0xFF000000u);
}

TEST(Capture, DemoWithoutOpenGLCapturesOutputSurfaceZero)
{
    std::string folder = fresh_folder("capture_surface");
    PlayerRun run = run_player_in(
        folder, {"--capture", "f", "--fps", "20", "--size", "80x60", fixture("e2e_surface.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    std::vector<std::string> frames = captured_frames(folder + "/f");
    ASSERT_EQ(frames.size(), 3u); // 0, 50, 100 ms
    Picture picture = Picture::load_png(folder + "/f/" + frames.back());
    ASSERT_EQ(picture.width, 80);
    EXPECT_EQ(picture.at(0, 0), kGreen);
    EXPECT_EQ(picture.at(79, 59), kGreen);
}

TEST(Capture, FolderThatCannotBeMadeIsAFatalError)
{
    std::string folder = fresh_folder("capture_blocked");
    write_file(folder, "taken", "a file where the folder should go");
    PlayerRun run =
        run_player_in(folder, {"--capture", "taken/frames", "--size", "64x48", fixture("e2e_order.xml")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.log.find("Couldn't create the capture folder 'taken/frames'."), std::string::npos)
        << run.log;
    EXPECT_EQ(run.lines_starting("probe Probe").size(), 0u);
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1);
}

// Frames are written behind the renderer: one that cannot be written still fails the run, with its name.
TEST(Capture, FrameThatCannotBeWrittenIsAFatalError)
{
    std::string folder = fresh_folder("capture_frame_blocked");
    std::filesystem::create_directories(folder + "/frames/frame_00003.png");
    PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "10", "--size", "64x48", fixture("e2e_capture.xml")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.log.find("Couldn't write the captured frame 'frames/frame_00003.png'."), std::string::npos)
        << run.log;
    EXPECT_EQ(run.stderrText.find("frames written to"), std::string::npos) << run.stderrText;
}

} // namespace

namespace
{

TEST(Capture, RangeGivesTheSameFramesAsTheSameTimesOfAWholeCapture)
{
    std::string folder = fresh_folder("capture_same_frames");
    PlayerRun whole = run_player_in(
        folder, {"--capture", "whole", "--fps", "20", "--size", "320x240", fixture("e2e_capture.xml")});
    ASSERT_EQ(whole.status, 0) << whole.log;
    PlayerRun part = run_player_in(folder, {"--capture", "part", "--fps", "20", "--from", "250", "--to",
                                            "500", "--size", "320x240", fixture("e2e_capture.xml")});
    ASSERT_EQ(part.status, 0) << part.log;
    std::vector<std::string> frames = captured_frames(folder + "/part");
    ASSERT_EQ(frames.size(), 6u); // 250, 300, ..., 500 ms: frames 5 .. 10 of the whole capture
    for (size_t k = 0; k < frames.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof(name), "frame_%05zu.png", k + 5);
        Picture a = Picture::load_png(folder + "/part/" + frames[k]);
        Picture b = Picture::load_png(folder + "/whole/" + name);
        ASSERT_GT(a.width, 0) << frames[k];
        ASSERT_EQ(a.width, b.width);
        ASSERT_EQ(a.height, b.height);
        EXPECT_TRUE(a.rgba == b.rgba) << frames[k] << " differs from " << name;
    }
}

} // namespace
