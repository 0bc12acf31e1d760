// The swarm demo as a viewer gets it: demos/swarms/swarms.xml played start to end by the real player under
// capture at a low size and frame rate, with each scene checked in the frames where it is in full view.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "picture_regions.h"
#include "player_runner.h"

namespace
{

constexpr int kWidth = 320, kHeight = 180;
constexpr int kFps = 2;
constexpr int kRunningTime = 40000;

class SwarmsDemo : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string folder = fresh_folder("swarms_demo_" + std::to_string(getpid()));
        run_ = run_player_in(folder,
                             {"--no-setup", "--size", std::to_string(kWidth) + "x" + std::to_string(kHeight),
                              "--capture", "frames", "--fps", std::to_string(kFps),
                              std::string(VORTEL_SOURCE_DIR) + "/demos/swarms/swarms.xml"});
    }

    // The frame at demo time `ms`, also saved under `name` for a look.
    static Picture frame_at(int ms, const std::string& name)
    {
        char file[40];
        std::snprintf(file, sizeof file, "/frames/frame_%05d.png", ms * kFps / 1000);
        Picture picture = Picture::load_png(run_.folder + file);
        EXPECT_GT(picture.width, 0) << "no frame at " << ms << " ms";
        if (picture.width > 0)
            picture.save_png("swarms_demo_" + name + ".png");
        return picture;
    }

    static PlayerRun run_;
};
PlayerRun SwarmsDemo::run_;

bool bright(uint32_t pixel)
{
    return brightest_channel(pixel) > 100;
}

// Mean hue of the pixels that are bright and clearly coloured.
double mean_hue(const Picture& picture)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            if (bright(p) && saturation_of(p) > 0.3) {
                sum += hue_of(p);
                ++count;
            }
        }
    return count ? sum / count : -1;
}

TEST_F(SwarmsDemo, PlaysToTheEndWithACleanLog)
{
    ASSERT_EQ(run_.status, 0) << run_.stderrText;
    EXPECT_EQ(run_.log, "") << "every swarm is released before the end and no effect complains";
    EXPECT_GE(captured_frames(run_.folder + "/frames").size(), size_t(kRunningTime * kFps / 1000));
}

TEST_F(SwarmsDemo, TheSphereShowsSeparateLitCubesRampedFromOrangeToBlue)
{
    const Picture picture = frame_at(7000, "sphere");
    const std::vector<Region> cubes = regions(picture, bright);
    ASSERT_GE(cubes.size(), 30u) << "many separate cubes";
    int large = 0, shaded = 0;
    Box all{kWidth, kHeight, 0, 0};
    for (const Region& cube : cubes) {
        large += cube.area >= 4 ? 1 : 0;
        shaded += cube.brightest - cube.darkest >= 40 ? 1 : 0;
        all = {std::min(all.left, cube.bounds.left), std::min(all.top, cube.bounds.top),
               std::max(all.right, cube.bounds.right), std::max(all.bottom, cube.bounds.bottom)};
    }
    EXPECT_GE(large, int(cubes.size()) * 3 / 4) << "cubes, not dots";
    EXPECT_GE(shaded, int(cubes.size()) / 3) << "lit cubes: faces turned from the light are darker";
    EXPECT_GT(all.left, kWidth / 5);
    EXPECT_LT(all.right, kWidth * 4 / 5);
    EXPECT_GT(all.bottom - all.top, kHeight / 3) << "the sphere fills a good part of the picture";

    // The ramp runs from the lower pole (orange) to the upper one (light blue).
    const int third = (all.bottom - all.top) / 3;
    const Box lower{0, all.bottom - third, kWidth, all.bottom}, upper{0, all.top, kWidth, all.top + third};
    const auto orange = [](uint32_t p) { return is_hue(p, 10, 45); };
    const auto blue = [](uint32_t p) { return is_hue(p, 180, 215); };
    EXPECT_GT(count_pixels(picture, orange, lower), 5 * count_pixels(picture, blue, lower) + 20);
    EXPECT_GT(count_pixels(picture, blue, upper), 5 * count_pixels(picture, orange, upper) + 20);
}

TEST_F(SwarmsDemo, TheRibbonsAreColouredCurves)
{
    const Picture picture = frame_at(15000, "ribbons");
    const Box left{0, 0, kWidth / 2, kHeight}, right{kWidth / 2, 0, kWidth, kHeight};
    // the spirograph, its warm part and its cool part
    EXPECT_GT(count_pixels(
                  picture, [](uint32_t p) { return is_hue(p, 320, 55, 0.5); }, left),
              300);
    EXPECT_GT(count_pixels(
                  picture, [](uint32_t p) { return is_hue(p, 190, 290, 0.5); }, left),
              300);
    // the Lissajous figure in green to blue, and its pale bow
    EXPECT_GT(count_pixels(
                  picture, [](uint32_t p) { return is_hue(p, 150, 230, 0.5); }, right),
              200);
    EXPECT_GT(count_pixels(
                  picture, [](uint32_t p) { return is_hue(p, 30, 60, 0.2, 200); }, right),
              50);
    // curves, not filled areas
    EXPECT_LT(count_pixels(picture, bright), kWidth * kHeight / 4);
}

TEST_F(SwarmsDemo, TheMorphPassesFromCubeToSphereToKnot)
{
    // The three shapes are coloured orange, green and violet, and the morph carries the colours along.
    const Picture cube = frame_at(21500, "morph_cube"), between = frame_at(24000, "morph_between"),
                  sphere = frame_at(26000, "morph_sphere"), knot = frame_at(29000, "morph_knot");
    const double cubeHue = mean_hue(cube), betweenHue = mean_hue(between), sphereHue = mean_hue(sphere),
                 knotHue = mean_hue(knot);
    EXPECT_NEAR(cubeHue, 25, 12);
    EXPECT_NEAR(sphereHue, 152, 15);
    EXPECT_NEAR(knotHue, 273, 15);
    EXPECT_GT(betweenHue, cubeHue + 15) << "half-way the colours have left the cube's";
    EXPECT_LT(betweenHue, sphereHue - 15) << "and not yet reached the sphere's";
    for (const Picture* picture : {&between, &sphere, &knot})
        EXPECT_GT(differing_pixels(cube, *picture), kWidth * kHeight / 20);
    EXPECT_GT(differing_pixels(sphere, knot), kWidth * kHeight / 20);
}

TEST_F(SwarmsDemo, TheConfettiComesInItsFiveColours)
{
    const Picture picture = frame_at(34000, "confetti");
    const std::vector<std::pair<double, double>> hues = {
        {350, 10}, {45, 60}, {125, 150}, {205, 225}, {275, 295}};
    for (const auto& [from, to] : hues)
        EXPECT_GT(count_pixels(picture, [&](uint32_t p) { return is_hue(p, from, to, 0.4); }), 100)
            << "hues " << from << " to " << to;
    const std::vector<Region> pieces = regions(picture, bright);
    EXPECT_GE(pieces.size(), 60u) << "many separate pieces";
}

TEST_F(SwarmsDemo, EndsInBlack)
{
    const Picture picture = frame_at(kRunningTime - 500, "end");
    EXPECT_EQ(count_pixels(picture, [](uint32_t p) { return brightest_channel(p) > 4; }), 0);
}

} // namespace
