// The showcase demo of the basic effects, captured by the real player: fades, the flash, the lit cubes of
// the kaleidoscope ring and a camera that orbits it.
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"

namespace
{

bool orange(uint32_t c)
{
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r > 90 && r > g + 30 && g > b + 20;
}

// Mean column and count of the orange (ring cube) pixels.
std::pair<double, int> orange_pixels(const Picture& picture)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (orange(picture.at(x, y))) {
                sum += x;
                ++count;
            }
    return {count ? sum / count : -1.0, count};
}

TEST(Showcase, PlaysWithFadesALitRingAndAnOrbitingCamera)
{
    std::string folder = fresh_folder("showcase");
    PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "2", "--size", "640x480", fixture("scaffold/showcase.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_TRUE(run.log.empty()) << run.log;
    std::vector<std::string> frames = captured_frames(folder + "/frames");
    ASSERT_EQ(frames.size(), 13u); // 0, 500, ..., 6000 ms
    auto frame = [&](size_t k) { return Picture::load_png(folder + "/frames/" + frames[k]); };

    const Picture start = frame(0), early = frame(3), flash = frame(5), later = frame(7), end = frame(12);
    early.save_png("showcase_1500ms.png");
    later.save_png("showcase_3500ms.png");
    EXPECT_EQ(start.at(320, 240) & 0xFFFFFF, 0u) << "the demo fades in from black";
    EXPECT_EQ(end.at(320, 240) & 0xFFFFFF, 0u) << "and fades out to black";

    // The gradient behind the scene: dark blue at the bottom, purple at the top.
    EXPECT_GT(early.blue(5, 475), early.red(5, 475));
    EXPECT_GT(early.red(5, 5), early.red(5, 475));

    auto [earlyColumn, earlyCount] = orange_pixels(early);
    auto [laterColumn, laterCount] = orange_pixels(later);
    EXPECT_GT(earlyCount, 2000) << "lit orange cubes are on screen";
    EXPECT_GT(laterCount, 2000);
    EXPECT_GT(std::abs(earlyColumn - laterColumn), 15.0) << "the ring's gap moves as the camera orbits";
    // Lighting: the cube faces are not all of one shade.
    int bright = 0, dark = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (orange(early.at(x, y)))
                (early.red(x, y) > 200 ? bright : dark) += 1;
    EXPECT_GT(bright, 100);
    EXPECT_GT(dark, 100);

    EXPECT_GT(flash.red(5, 5), 150) << "the flash inverts the dark background";
    EXPECT_GT(flash.green(5, 475), 150);
}

} // namespace
