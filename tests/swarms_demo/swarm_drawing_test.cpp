// How nodes are drawn at swarm points and how flat shapes face the camera, each isolated in a small document
// played by the real player and read back from its captured frames. The camera sits 10 units from the x-y
// plane with a 90-degree wide view, so at 320 x 180 one scene unit there is 16 pixels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "fixture_document.h"
#include "picture_regions.h"
#include "player_runner.h"

namespace
{

constexpr int kWidth = 320, kHeight = 180;
constexpr double kPixelsPerUnit = 16;
constexpr int32_t kGLOne = 1, kGLZero = 0, kGLSrcAlpha = 770, kGLOneMinusSrcAlpha = 771;

// Runs `document` with frames every 250 ms in a folder of its own; frame k shows time k * 250.
PlayerRun capture(const std::string& name, const std::string& document)
{
    const std::string folder = fresh_folder(name + "_" + std::to_string(getpid()));
    write_file(folder, "demo.xml", document);
    return run_player_in(folder,
                         {"--no-setup", "--size", std::to_string(kWidth) + "x" + std::to_string(kHeight),
                          "--capture", "frames", "--fps", "4", "demo.xml"});
}

Picture frame(const PlayerRun& run, int index)
{
    char name[40];
    std::snprintf(name, sizeof name, "/frames/frame_%05d.png", index);
    return Picture::load_png(run.folder + name);
}

// Where a point of the x-y plane lands on the screen, for a camera on +z (looking down -z) or on -z
// (turned half round, looking down +z: x is mirrored).
int screen_x(double x, bool fromFront = true)
{
    return int(std::lround(kWidth / 2 + (fromFront ? x : -x) * kPixelsPerUnit));
}
int screen_y(double y)
{
    return int(std::lround(kHeight / 2 - y * kPixelsPerUnit));
}

// The faces turned to the light in front of them; the side faces seen at an angle stay darker.
bool front_face(uint32_t pixel)
{
    return brightest_channel(pixel) > 200;
}

// The front face of a cube of edge `edge` centred on the x-y plane at (x, 0) lies edge / 2 nearer the
// camera: its height in pixels and the screen x of its centre.
double front_face_pixels(double edge)
{
    return kPixelsPerUnit * 10 * edge / (10 - edge / 2);
}
double front_face_x(double x, double edge)
{
    return kWidth / 2 + kPixelsPerUnit * 10 * x / (10 - edge / 2);
}

FixtureEvent camera_on_front(int32_t start, int32_t end)
{
    return {"SetCamera3D", start, end, {0, 0, 10 * kUnit, 0, 0, 0, kOne, kAspect, 1, 1000}};
}

FixtureEvent camera_on_back(int32_t start, int32_t end)
{
    // half a turn about y
    return {"SetCamera3D", start, end, {0, 0, -10 * kUnit, 0, kOne, 0, 0, kAspect, 1, 1000}};
}

FixtureEvent show(int32_t end)
{
    return {"Show3D", 0, end, {0, kWidth, kHeight, 1, 0, 0, 0}};
}

// A white cube of edge 2 * 0.5 = 1 unit at the origin of group `group`.
FixtureEvent unit_cube(int32_t start, int32_t end, int32_t group)
{
    return {"Cube3D",
            start,
            end,
            {1, 255, 255, 255, 0, 0, 0, 0, 0, 0, kOne, 255, kGLOne, kGLZero, 50000, group, 0}};
}

// MakeSwarmGroup "Dots" (text 2) over swarm "Line" (text 3) in the scene root, with a uniform scale.
FixtureEvent dots_group(int32_t start, int32_t end, int32_t scale)
{
    return {"MakeSwarmGroup", start, end, {2, 3, 0, 0, 0, 0, 0, 0, kOne, scale, 0, 0, 100, 0, 0}};
}

// The same with per-point extra transforms (timeStep 100 ms): no offset, no turn, extra scale `extra`.
FixtureEvent dots_group_with_extra_scale(int32_t start, int32_t end, int32_t extra)
{
    return {"MakeSwarmGroup", start, end, {2,   3, 0,   0, 0, 0, 0, 0, kOne, kOne, 0,    0,
                                           100, 0, 100, 0, 0, 0, 0, 0, 0,    kOne, extra}};
}

// The front faces of the cubes of one frame, left to right.
std::vector<Region> cubes_in(const Picture& picture)
{
    std::vector<Region> found = regions(picture, front_face);
    std::sort(found.begin(), found.end(),
              [](const Region& a, const Region& b) { return a.bounds.left < b.bounds.left; });
    return found;
}

// Texts: 1 theWorld, 2 Dots, 3 Line. A two-point swarm at x = -3 and x = 3 with a cube at each point, and a
// lone cube of the same size at the origin, in four time slots of 500 ms:
//   0     group scale 1
//   500   group scale 2
//   1000  group scale 1, but the cube in the group is on a track that runs before the group's
//   1500  group scale 1 with per-point extra transforms of scale 2
class CubesAtSwarmPoints : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Past RunningTime: the swarm's producer is still active when the demo ends, so it gets no last
        // call, a normal end that leaves nothing in the log.
        const int32_t end = 2500;
        const std::vector<std::vector<FixtureEvent>> tracks = {
            {{"Clear3D", 0, end, {}}},
            {{"DrawLineSwarm", 0, end, {3, 0, 0, -3, 0, 0, 3, 0, 0}}},
            {unit_cube(1000, 1500, 2)},
            {dots_group(0, 500, kOne), dots_group(500, 1000, 2 * kOne), dots_group(1000, 1500, kOne),
             dots_group_with_extra_scale(1500, end, 2 * kOne)},
            {unit_cube(0, 1000, 2), unit_cube(1500, end, 2)},
            {unit_cube(0, end, 1)},
            {{"SetLight3D",
              0,
              end,
              {0, 0, 20 * kUnit, 60, 60, 60, 255, 255, 255, 0, 0, 0, 10000, 0, 0, 1, 0}}},
            {camera_on_front(0, end)},
            {show(end)}};
        run_ = capture("cubes_at_swarm_points", fixture_document(2000, tracks, {"theWorld", "Dots", "Line"}));
    }
    static PlayerRun run_;
};
PlayerRun CubesAtSwarmPoints::run_;

TEST_F(CubesAtSwarmPoints, PlaysWithACleanLogThoughTheSwarmIsHeldAtTheEnd)
{
    EXPECT_EQ(run_.status, 0) << run_.stderrText;
    EXPECT_EQ(run_.log, "") << "no \"still in use\" line at quit";
}

TEST_F(CubesAtSwarmPoints, EachPointShowsACubeAsLargeAsTheLoneOne)
{
    const Picture picture = frame(run_, 1);
    ASSERT_GT(picture.width, 0);
    picture.save_png("cubes_at_swarm_points.png");
    const std::vector<Region> cubes = cubes_in(picture);
    ASSERT_EQ(cubes.size(), 3u) << "one cube per swarm point and the lone one";
    const Region& lone = cubes[1];
    EXPECT_NEAR(lone.centre_x(), screen_x(0), 1.5);
    EXPECT_NEAR(lone.height(), front_face_pixels(1), 1.5) << "a cube of edge 1";
    for (const Region* point : {&cubes[0], &cubes[2]}) {
        EXPECT_NEAR(point->width(), lone.width(), 1) << "a node at a swarm point keeps its own size";
        EXPECT_NEAR(point->height(), lone.height(), 1);
    }
    EXPECT_NEAR(cubes[0].centre_x(), front_face_x(-3, 1), 1.5);
    EXPECT_NEAR(cubes[2].centre_x(), front_face_x(3, 1), 1.5);
}

TEST_F(CubesAtSwarmPoints, TheGroupScaleScalesPointsAndCubesAlike)
{
    const std::vector<Region> cubes = cubes_in(frame(run_, 3));
    ASSERT_EQ(cubes.size(), 3u);
    EXPECT_NEAR(cubes[0].centre_x(), front_face_x(-6, 2), 1.5);
    EXPECT_NEAR(cubes[2].centre_x(), front_face_x(6, 2), 1.5);
    EXPECT_NEAR(cubes[1].height(), front_face_pixels(1), 1.5) << "the lone cube is outside the group";
    EXPECT_NEAR(cubes[0].height(), front_face_pixels(2), 1.5);
    EXPECT_NEAR(cubes[2].height(), front_face_pixels(2), 1.5);
}

TEST_F(CubesAtSwarmPoints, ANodeHungBeforeItsGroupRunsIsDroppedByTheGroup)
{
    // The group empties itself in its own running call: a node whose track runs earlier is gone by the
    // time the scene is drawn, and only the lone cube remains.
    const std::vector<Region> cubes = cubes_in(frame(run_, 5));
    ASSERT_EQ(cubes.size(), 1u);
    EXPECT_NEAR(cubes[0].centre_x(), screen_x(0), 1.5);
}

TEST_F(CubesAtSwarmPoints, PerPointExtraScaleAppliesOnce)
{
    const std::vector<Region> cubes = cubes_in(frame(run_, 7));
    ASSERT_EQ(cubes.size(), 3u);
    EXPECT_NEAR(cubes[0].centre_x(), front_face_x(-3, 2), 1.5)
        << "the extra transform does not move the point";
    EXPECT_NEAR(cubes[0].height(), front_face_pixels(2), 1.5);
    EXPECT_NEAR(cubes[2].height(), front_face_pixels(2), 1.5);
}

// Texts: 1 theWorld. Red triangles and green rectangles, drawn opaque, added, and blended by their alpha,
// seen for 500 ms by a camera on +z looking down -z, then for 500 ms by one on -z looking down +z; and a
// blue rectangle of size 1 x 1 scaled by 4.
class FlatShapes : public ::testing::Test
{
protected:
    struct Look {
        int32_t blendSrc, blendDst;
        double x; // where its triangle and rectangle stand
    };
    static constexpr Look kLooks[3] = {
        {kGLOne, kGLZero, -5}, {kGLOne, kGLOne, 0}, {kGLSrcAlpha, kGLOneMinusSrcAlpha, 5}};

    static void SetUpTestSuite()
    {
        const int32_t end = 1000;
        std::vector<std::vector<FixtureEvent>> tracks = {{{"Clear3D", 0, end, {}}}};
        for (const Look& look : kLooks) {
            const int32_t x = int32_t(look.x * kUnit);
            // Triangle3D: base 2 on y = 1, apex at y = 3; Rectangle3D: 2 x 2 round y = -2.
            tracks.push_back({{"Triangle3D",
                               0,
                               end,
                               {2, 2, 255, 0, 0, x, kUnit, 0, 0, 0, 0, kOne, 255, look.blendSrc,
                                look.blendDst, kOne, 1, 0}}});
            tracks.push_back({{"Rectangle3D",
                               0,
                               end,
                               {2, 2, 0, 255, 0, x, -2 * kUnit, 0, 0, 0, 0, kOne, 255, look.blendSrc,
                                look.blendDst, kOne, 1, 0}}});
        }
        tracks.push_back(
            {{"Rectangle3D",
              0,
              end,
              {1, 1, 0, 0, 255, 0, -5 * kUnit, 0, 0, 0, 0, kOne, 255, kGLOne, kGLZero, 4 * kOne, 1, 0}}});
        tracks.push_back({camera_on_front(0, 500), camera_on_back(500, end)});
        tracks.push_back({show(end)});
        run_ = capture("flat_shapes", fixture_document(end, tracks, {"theWorld"}));
    }
    static PlayerRun run_;
};
PlayerRun FlatShapes::run_;
constexpr FlatShapes::Look FlatShapes::kLooks[3];

TEST_F(FlatShapes, ShowFromBothSidesInEveryBlendMode)
{
    ASSERT_EQ(run_.status, 0) << run_.log << run_.stderrText;
    for (const bool fromFront : {true, false}) {
        const Picture picture = frame(run_, fromFront ? 1 : 3);
        ASSERT_GT(picture.width, 0);
        picture.save_png(fromFront ? "flat_shapes_from_front.png" : "flat_shapes_from_back.png");
        for (const Look& look : kLooks) {
            SCOPED_TRACE("blend " + std::to_string(look.blendSrc) + ", " + std::to_string(look.blendDst) +
                         (fromFront ? ", camera on +z" : ", camera on -z"));
            const uint32_t triangle = picture.at(screen_x(look.x, fromFront), screen_y(1.7));
            const uint32_t rectangle = picture.at(screen_x(look.x, fromFront), screen_y(-2));
            EXPECT_EQ(triangle & 0xFFFFFF, 0xFF0000u) << std::hex << triangle;
            EXPECT_EQ(rectangle & 0xFFFFFF, 0x00FF00u) << std::hex << rectangle;
        }
    }
}

TEST_F(FlatShapes, SizesAreWholeUnitsHalvedDownSoSizeOneDrawsNothing)
{
    // Corners lie at +-(size / 2) in integers: a 1 x 1 rectangle has no area whatever its scale.
    const Picture picture = frame(run_, 1);
    EXPECT_EQ(count_pixels(picture, [](uint32_t p) { return (p & 0xFF) > 0; }), 0);
}

} // namespace
