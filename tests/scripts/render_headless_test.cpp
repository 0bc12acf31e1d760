// scripts/render-headless, which scripts/play uses on a machine without a display: every run renders.
#include <gtest/gtest.h>

#include <cstdlib>

#include "player_runner.h"

TEST(RenderHeadless, EightCapturesInARowAllRender)
{
    for (int run = 0; run < 8; ++run) {
        const std::string folder = fresh_folder("headless_" + std::to_string(run));
        const std::string command = "cd '" + folder +
                                    "' && env -u DISPLAY '" VORTEL_SOURCE_DIR
                                    "/scripts/render-headless' '" VORTEL_BIN_DIR "/player' --capture frames "
                                    "--size 64x48 --fps 10 --to 300 '" +
                                    fixture("primitives/rotating_cube.xml") + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "run " << run + 1;
        EXPECT_EQ(captured_frames(folder + "/frames").size(), 4u) << "run " << run + 1;
    }
}
