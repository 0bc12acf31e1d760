// The demos in tests/fixtures/primitives through the real player, judged by the captured pictures: the
// shapes' colours, blending, lighting and the ribbons' strips.
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{

constexpr int kWidth = 320, kHeight = 240;

std::string read_fixture(const std::string& name)
{
    std::ifstream in(fixture("primitives/" + name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Plays `demo` (a document text) from 0 to `to` ms at 10 frames a second and returns the captured frames,
// each also saved as <name>_<k>.png in the test's folder for a look.
std::vector<Picture> play(const std::string& name, const std::string& demo, int to,
                          PlayerRun* runOut = nullptr)
{
    const std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", demo);
    PlayerRun run = run_player_in(folder, {"--capture", "frames", "--fps", "10", "--size", "320x240", "--to",
                                           std::to_string(to), "demo.xml"});
    EXPECT_EQ(run.status, 0) << run.log << run.stderrText;
    // Events still running when the player stops get no last call, so the Swarms plug-in finds its swarms
    // still in use at quit and says so; anything else in the log is a fault of the demo's effects.
    for (const std::string& line : run.lines())
        EXPECT_EQ(line.rfind("Swarms: Bad!", 0), 0u) << "unexpected message: " << line;
    std::vector<Picture> frames;
    for (const std::string& file : captured_frames(folder + "/frames")) {
        frames.push_back(Picture::load_png(folder + "/frames/" + file));
        frames.back().save_png(name + "_" + std::to_string(frames.size() - 1) + ".png");
    }
    if (runOut)
        *runOut = run;
    return frames;
}

int channel(uint32_t c, int shift)
{
    return int((c >> shift) & 0xFF);
}
// Each channel of the pixel within `tolerance` of (r, g, b).
::testing::AssertionResult looks_like(const Picture& picture, int x, int y, int r, int g, int b,
                                      int tolerance = 6)
{
    const uint32_t c = picture.at(x, y);
    if (std::abs(channel(c, 16) - r) <= tolerance && std::abs(channel(c, 8) - g) <= tolerance &&
        std::abs(channel(c, 0) - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << channel(c, 16) << ", " << channel(c, 8) << ", "
           << channel(c, 0) << "), expected (" << r << ", " << g << ", " << b << ")";
}
int brightness(const Picture& picture, int x, int y)
{
    const uint32_t c = picture.at(x, y);
    return channel(c, 16) + channel(c, 8) + channel(c, 0);
}
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The camera of every demo here sits 10 units in front of the origin looking along +z, with a 90 degree
// view across: at depth 0 one unit is 16 pixels, the origin is the screen centre, world +x points to the
// left of the screen and +y up.
constexpr int kCentreX = kWidth / 2, kCentreY = kHeight / 2, kPixelsPerUnit = 16;

TEST(PrimitivesEndToEnd, RectangleColourFillsTheScreenCentre)
{
    std::vector<Picture> frames = play("rectangle", read_fixture("rectangle.xml"), 100);
    ASSERT_FALSE(frames.empty());
    const Picture& frame = frames[0];
    ASSERT_EQ(frame.width, kWidth);
    EXPECT_TRUE(looks_like(frame, kCentreX, kCentreY, 255, 128, 0));
    // 6 x 4 units: 48 pixels either side, 32 above and below.
    EXPECT_TRUE(looks_like(frame, kCentreX + 44, kCentreY - 28, 255, 128, 0));
    EXPECT_TRUE(looks_like(frame, kCentreX - 44, kCentreY + 28, 255, 128, 0));
    EXPECT_TRUE(looks_like(frame, kCentreX + 52, kCentreY, 0, 0, 0));
    EXPECT_TRUE(looks_like(frame, kCentreX, kCentreY + 36, 0, 0, 0));
    EXPECT_TRUE(looks_like(frame, 5, 5, 0, 0, 0));
}

TEST(PrimitivesEndToEnd, RectanglesBlendAsTheirFactorsSay)
{
    std::vector<Picture> frames = play("blended_rectangles", read_fixture("blended_rectangles.xml"), 0);
    ASSERT_FALSE(frames.empty());
    const Picture& frame = frames[0];
    // The green bar (one unit nearer: 17.8 pixels a unit) adds to the red bar and to the black around it.
    EXPECT_TRUE(looks_like(frame, kCentreX, kCentreY, 255, 255, 0));
    EXPECT_TRUE(looks_like(frame, kCentreX, kCentreY - 40, 0, 255, 0));
    // Red bar alone.
    EXPECT_TRUE(looks_like(frame, kCentreX + 2 * kPixelsPerUnit + 16, kCentreY, 255, 0, 0));
    // Blue at opacity 128 over the red bar, and over black: 4 units left of the centre.
    const int blueX = kCentreX - 71;
    EXPECT_TRUE(looks_like(frame, blueX, kCentreY, 127, 0, 128));
    EXPECT_TRUE(looks_like(frame, blueX, kCentreY - 25, 0, 0, 128));
    // The white triangle right of the middle, below the bar at first.
    EXPECT_TRUE(looks_like(frame, kCentreX + 53, kCentreY + 45, 255, 255, 255));
    // The cyan oval, 2 x 1 units in radius, 5 units right and 4 up: round, so its bounding box's
    // corners stay black.
    const int ovalX = kCentreX + 5 * kPixelsPerUnit, ovalY = kCentreY - 4 * kPixelsPerUnit;
    EXPECT_TRUE(looks_like(frame, ovalX, ovalY, 0, 255, 255));
    EXPECT_TRUE(looks_like(frame, ovalX + 28, ovalY, 0, 255, 255));
    EXPECT_TRUE(looks_like(frame, ovalX, ovalY - 13, 0, 255, 255));
    EXPECT_TRUE(looks_like(frame, ovalX + 28, ovalY - 13, 0, 0, 0));
}

TEST(PrimitivesEndToEnd, LitCubeIsBrighterOnTheFacesTowardsTheLight)
{
    // The cube is tilted so that its top and two of its sides face the camera: the top above the middle,
    // the sides left and right below it.
    auto top = [](const Picture& p) { return brightness(p, kCentreX, 85); };
    auto sides = [](const Picture& p) { return std::min(brightness(p, 120, 150), brightness(p, 200, 150)); };
    auto darker_side = [](const Picture& p) {
        return std::max(brightness(p, 120, 150), brightness(p, 200, 150));
    };

    const std::string demo = read_fixture("rotating_cube.xml");
    std::vector<Picture> above = play("cube_lit_from_above", demo, 0);
    ASSERT_FALSE(above.empty());
    EXPECT_GT(top(above[0]), darker_side(above[0]) + 150);
    EXPECT_GT(sides(above[0]), 0) << "unlit faces still get the ambient light";

    std::vector<Picture> below =
        play("cube_lit_from_below", replaced(demo, "val=\"20001\"", "val=\"-20001\""), 0);
    ASSERT_FALSE(below.empty());
    EXPECT_GT(sides(below[0]), top(below[0]) + 150);
    // Light from below leaves the top as dark as the sides were when the light was above.
    EXPECT_NEAR(top(below[0]), darker_side(above[0]), 30);
}

// The first row (from the top) in column x whose pixel is not black; -1 when the column is black.
int first_lit_row(const Picture& picture, int x, int fromY, int toY)
{
    for (int y = fromY; y < toY; ++y)
        if (brightness(picture, x, y) > 60)
            return y;
    return -1;
}

TEST(PrimitivesEndToEnd, RibbonsFollowTheSwarmsOfTheSwarmsPlugIn)
{
    PlayerRun run;
    std::vector<Picture> frames = play("swarm_ribbons", read_fixture("swarm_ribbons.xml"), 1000, &run);
    ASSERT_EQ(frames.size(), 11u);
    const Picture& first = frames[0];
    const Picture& last = frames[10];

    // Beads: five points 4 units apart, 3 units down, in strips of two points. Point 0 is on the right.
    const int beadsY = kCentreY + 3 * kPixelsPerUnit;
    const int point[5] = {288, 224, 160, 96, 32};
    auto between = [&](int a, int b) { return (point[a] + point[b]) / 2; };
    EXPECT_GT(first.red(between(0, 1), beadsY), 180);
    EXPECT_LT(first.blue(between(0, 1), beadsY), 100);
    EXPECT_TRUE(looks_like(first, between(1, 2), beadsY, 0, 0, 0)) << "strips are not joined";
    EXPECT_GT(first.blue(between(2, 3), beadsY), first.blue(between(0, 1), beadsY) + 60)
        << "bluer towards point 4";
    EXPECT_LT(first.red(between(2, 3), beadsY), first.red(between(0, 1), beadsY) - 60);
    EXPECT_TRUE(looks_like(first, between(3, 4), beadsY, 0, 0, 0)) << "the last point alone draws nothing";
    EXPECT_TRUE(looks_like(first, between(0, 1), beadsY + 20, 0, 0, 0)) << "2 units high";

    // The beads' swarm never moves, but its colours change in place: the red end has turned green.
    EXPECT_LT(last.red(between(0, 1), beadsY), 80);
    EXPECT_GT(last.green(between(0, 1), beadsY), 150);

    // The wave is rebuilt every frame: it has moved in the middle of the screen, and keeps its colours
    // from red (right) to blue (left).
    const int waveNow = first_lit_row(first, kCentreX, 0, beadsY - 2 * kPixelsPerUnit);
    const int waveLater = first_lit_row(last, kCentreX, 0, beadsY - 2 * kPixelsPerUnit);
    ASSERT_GE(waveNow, 0);
    ASSERT_GE(waveLater, 0);
    EXPECT_GT(std::abs(waveNow - waveLater), 20);
    const int rightY = first_lit_row(first, 280, 0, beadsY - 2 * kPixelsPerUnit);
    const int leftY = first_lit_row(first, 40, 0, beadsY - 2 * kPixelsPerUnit);
    ASSERT_GE(rightY, 0);
    ASSERT_GE(leftY, 0);
    EXPECT_GT(first.red(280, rightY + 2), first.blue(280, rightY + 2));
    EXPECT_GT(first.blue(40, leftY + 2), first.red(40, leftY + 2));
}

} // namespace
