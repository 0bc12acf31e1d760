// scripts/render-farm: a capture split over two local slots joins into the frames of one capture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "player_runner.h"

namespace
{

// stdout of `command`, run by the shell.
std::string output_of(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// One checksum per decoded frame, in the same pixel format whatever the source.
std::string frame_checksums(const std::string& input)
{
    return output_of("ffmpeg -v error -i '" + input +
                     "' -pix_fmt rgb24 -f framemd5 - | grep -v '^#' | cut -d, -f6");
}

const std::string kFarm = "'" VORTEL_SOURCE_DIR "/scripts/render-farm' --player '" VORTEL_BIN_DIR "/player' ";
// 11 frames at 25 fps of a block moving one pixel every 5 ms: every frame differs from the others.
const std::string kRange = "--size 160x90 --fps 25 --to 400 ";

} // namespace

TEST(RenderFarm, TwoLocalSlotsGiveTheFramesOfOneCapture)
{
    const std::string folder = fresh_folder("render_farm");
    const std::string demo = fixture("e2e_capture.xml");
    ASSERT_EQ(
        run_player_in(folder, {"--size", "160x90", "--fps", "25", "--to", "400", "--capture", "whole", demo})
            .status,
        0);
    // Three ranges: the later two start one frame early (the warm-up) and drop it.
    const std::string farm = "cd '" + folder + "' && SDL_AUDIODRIVER=dummy " + kFarm + kRange +
                             "--sshlogin 2/: --parts 3 '" + demo + "' farm.mkv >farm.log 2>&1";
    ASSERT_EQ(std::system(farm.c_str()), 0) << output_of("cat '" + folder + "/farm.log'");

    const std::string whole = frame_checksums(folder + "/whole/frame_%05d.png");
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 11);
    EXPECT_EQ(frame_checksums(folder + "/farm.mkv"), whole);
    EXPECT_EQ(
        output_of("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
                  "-of csv=p=0 '" +
                  folder + "/farm.mkv'"),
        "11\n");
}

TEST(RenderFarm, SlurmScriptIsValidBashAndNamesEveryRangeOnce)
{
    const std::string folder = fresh_folder("render_farm_slurm");
    const std::string command = "cd '" + folder + "' && " + kFarm + kRange + "--parts 3 --slurm job.sh '" +
                                fixture("e2e_capture.xml") + "' farm.mkv >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(std::system(("bash -n '" + folder + "/job.sh'").c_str()), 0);
    // Each range once, on boundaries of 40 ms (25 fps), the later ones a frame early.
    EXPECT_EQ(output_of("grep -o 'from\\\\ [0-9]*\\\\ --to\\\\ [0-9]*' '" + folder + "/job.sh'"),
              "from\\ 0\\ --to\\ 119\nfrom\\ 80\\ --to\\ 279\nfrom\\ 240\\ --to\\ 400\n");
    EXPECT_EQ(output_of("grep -c -- '--array=0-2$' '" + folder + "/job.sh'"), "1\n");
}
