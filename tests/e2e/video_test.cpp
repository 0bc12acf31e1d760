// --video: the captured frames and the music, from the same start, encoded by ffmpeg; checked with ffprobe.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "player_runner.h"

namespace
{

bool have_ffmpeg()
{
    return std::system("ffmpeg -version >/dev/null 2>&1") == 0 &&
           std::system("ffprobe -version >/dev/null 2>&1") == 0;
}

// "codec_type" -> the stream's fields as ffprobe prints them ("key=value" lines).
std::map<std::string, std::map<std::string, std::string>> probe_streams(const std::string& file)
{
    std::string command =
        "ffprobe -v error -count_frames -show_entries "
        "stream=codec_type,nb_read_frames,width,height,duration -of default=noprint_wrappers=0 '" +
        file + "'";
    std::map<std::string, std::map<std::string, std::string>> streams;
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return streams;
    std::map<std::string, std::string> fields;
    char line[512];
    while (std::fgets(line, sizeof(line), out)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (text == "[/STREAM]") {
            streams[fields["codec_type"]] = fields;
            fields.clear();
        } else if (size_t eq = text.find('='); eq != std::string::npos) {
            fields[text.substr(0, eq)] = text.substr(eq + 1);
        }
    }
    pclose(out);
    return streams;
}

TEST(Video, HoldsEveryCapturedFrameAndTheMusicOfTheSameTimeRange)
{
    if (!have_ffmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    std::string folder = fresh_folder("video_music");
    // 500..1500 ms at 30 fps: frames at 500, 533, ..., 1500 ms.
    PlayerRun run =
        run_player_in(folder, {"--capture", "frames", "--video", "out.mp4", "--fps", "30", "--from", "500",
                               "--to", "1500", "--size", "321x241", fixture("e2e_music.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    ASSERT_EQ(captured_frames(folder + "/frames").size(), 31u);
    EXPECT_NE(run.find_line("Video written: out.mp4 (31 frames)"), -1);
    auto streams = probe_streams(folder + "/out.mp4");
    ASSERT_EQ(streams.count("video"), 1u) << run.stderrText;
    EXPECT_EQ(streams["video"]["nb_read_frames"], "31");
    EXPECT_EQ(streams["video"]["width"], "322") << "odd sizes are padded by one pixel";
    EXPECT_EQ(streams["video"]["height"], "242");
    ASSERT_EQ(streams.count("audio"), 1u) << "the music is in the video";
    EXPECT_NEAR(std::stod(streams["audio"]["duration"]), 31.0 / 30.0, 0.05) << "as long as the frames";
}

TEST(Video, WithoutCaptureOnlyTheVideoIsWritten)
{
    if (!have_ffmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    std::string folder = fresh_folder("video_only");
    PlayerRun run = run_player_in(folder, {"--video", "only.mp4", "--fps", "30", "--to", "999", "--size",
                                           "320x240", fixture("e2e_music.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_NE(run.find_line("Video written: only.mp4 (30 frames)"), -1);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files += entry.path().extension() == ".png";
    EXPECT_EQ(files, 0u);
    auto streams = probe_streams(folder + "/only.mp4");
    EXPECT_EQ(streams["video"]["nb_read_frames"], "30");
    ASSERT_EQ(streams.count("audio"), 1u) << "the music is in the video";
}

TEST(Video, DemoWithoutMusicGivesAPictureOnlyVideo)
{
    if (!have_ffmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    std::string folder = fresh_folder("video_silent");
    PlayerRun run = run_player_in(folder, {"--capture", "frames", "--video", "silent.mkv", "--fps", "10",
                                           "--size", "320x240", fixture("e2e_capture.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    auto streams = probe_streams(folder + "/silent.mkv");
    EXPECT_EQ(streams["video"]["nb_read_frames"], "11");
    EXPECT_EQ(streams.count("audio"), 0u);
}

TEST(Video, WithoutFfmpegNothingIsRenderedAndTheRunFails)
{
    std::string folder = fresh_folder("video_no_ffmpeg");
    PlayerRun run = run_player_in(
        folder,
        {"--capture", "frames", "--video", "out.mp4", "--size", "320x240", fixture("e2e_capture.xml")},
        "dummy", {{"PATH", folder + "/empty"}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.stderrText, "player: --video needs ffmpeg, which is not installed (not found on PATH)\n");
    EXPECT_TRUE(captured_frames(folder + "/frames").empty());
    EXPECT_FALSE(std::filesystem::exists(folder + "/out.mp4"));
}

} // namespace
