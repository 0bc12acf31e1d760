// The nine generators: point counts and coordinates on small inputs, change tests, resets, bad sizes.
#include <swarm_effects.h>
#include <swarm_store.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vortel/legacy_rand.h>

#include "swarm_host.h"

namespace
{

using Point = std::tuple<float, float, float>;

Point point(const SwarmRecord* r, int i)
{
    return {r->positions[3 * i], r->positions[3 * i + 1], r->positions[3 * i + 2]};
}

float distance(const SwarmRecord* r, int i)
{
    const float* p = r->positions + 3 * i;
    return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
}

class Generators : public ::testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(live_swarms(), 0) << "an event was left without its last call"; }
    SwarmHost host;
};

TEST_F(Generators, CubeCountsSurfaceOrSolidLatticeCentredOnTheOrigin)
{
    const int32_t name = host.text("cube");
    struct Case {
        int32_t n, solid, count;
    } cases[] = {{3, 0, 26}, {3, 1, 27}, {2, 0, 8}, {2, 1, 8}, {0, 0, 1}, {-4, 1, 1}, {4, 0, 56}};
    for (const Case& c : cases) {
        Event e;
        e.first(MakeCubeSwarm, name, c.n, 10, c.solid);
        const SwarmRecord* r = host.swarm("cube");
        ASSERT_EQ(r->count, c.count) << "n " << c.n << " solid " << c.solid;
        std::set<Point> points;
        for (int i = 0; i < r->count; ++i) {
            points.insert(point(r, i));
            for (int k = 0; k < 3; ++k)
                EXPECT_LE(std::fabs(r->positions[3 * i + k]), std::max(c.n - 1, 0) * 5.0f);
        }
        EXPECT_EQ(points.size(), size_t(c.count)) << "points repeat";
        EXPECT_EQ(points.count({0.f, 0.f, 0.f}),
                  c.n == 3 && !c.solid ? 0u : (c.n % 2 == 1 || c.n < 1 ? 1u : 0u));
        e.last(MakeCubeSwarm, name, c.n, 10, c.solid);
    }
}

TEST_F(Generators, CubeVisitsXOutermostAndZInnermost)
{
    Event e;
    e.first(MakeCubeSwarm, host.text("cube"), 2, 4, 1);
    const SwarmRecord* r = host.swarm("cube");
    EXPECT_EQ(point(r, 0), Point(-2, -2, -2));
    EXPECT_EQ(point(r, 1), Point(-2, -2, 2));
    EXPECT_EQ(point(r, 2), Point(-2, 2, -2));
    EXPECT_EQ(point(r, 4), Point(2, -2, -2));
    e.last(MakeCubeSwarm, host.text("cube"), 2, 4, 1);
}

TEST_F(Generators, UnchangedParametersDoNotRebuild)
{
    const int32_t name = host.text("cube");
    Event e;
    e.first(MakeCubeSwarm, name, 3, 1, 0);
    EXPECT_EQ(e.state.status, 2);
    const float* positions = host.swarm("cube")->positions;
    e.run(MakeCubeSwarm, name, 3, 1, 0);
    EXPECT_EQ(e.state.status, 1);
    e.run(MakeCubeSwarm, name, 3, 2, 0); // new spacing, same count: rebuilt in place
    EXPECT_EQ(e.state.status, 2);
    EXPECT_EQ(host.swarm("cube")->positions, positions);
    EXPECT_EQ(host.swarm("cube")->positions[0], -2.0f);
    e.last(MakeCubeSwarm, name, 3, 2, 0);

    // The same holds for every generator: the second call with the same words changes nothing.
    const int32_t s = host.text("s");
    Event g;
    auto twice = [&](auto fn, auto... words) {
        g.first(fn, s, words...);
        EXPECT_EQ(g.state.status, 2);
        g.run(fn, s, words...);
        EXPECT_EQ(g.state.status, 1);
        g.last(fn, s, words...);
    };
    twice(MakeSphereSwarm, 5, 6, 3);
    twice(MakeStarfieldSwarm, 10, 5, 0);
    twice(MakeSineSwarm, 10, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0);
    twice(MakeTorusSineSwarm, 10, 5, 100, 1, 100, 0);
    twice(MakeSpiroSwarm, 10, 100, 50, 3, 100, 0, 0, 0);
    twice(MakeBezierSwarm, 10, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0);
    twice(MakeRandSwarm, 10, 5, 5, 5, 3);
    twice(DrawLineSwarm, 0, 0, 1, 2, 3, 4, 5, 6);
}

TEST_F(Generators, SphereRingsAndPoles)
{
    const int32_t name = host.text("ball");
    Event e;
    e.first(MakeSphereSwarm, name, 2, 8, 0);
    const SwarmRecord* r = host.swarm("ball");
    ASSERT_EQ(r->count, 2);
    EXPECT_EQ(point(r, 0), Point(0, -2, 0));
    EXPECT_EQ(point(r, 1), Point(0, 2, 0));

    e.run(MakeSphereSwarm, name, 2, 4, 3);
    ASSERT_EQ(r->count, 14);
    for (int i = 0; i < r->count; ++i)
        EXPECT_NEAR(distance(r, i), 2.0f, 1e-5f);
    // Ring 1 of 3 is the equator; its point p = 1 lies a quarter turn on, at +z.
    EXPECT_NEAR(r->positions[3 * 6 + 0], 0.0f, 1e-5f);
    EXPECT_NEAR(r->positions[3 * 6 + 1], 0.0f, 1e-5f);
    EXPECT_NEAR(r->positions[3 * 6 + 2], 2.0f, 1e-5f);
    EXPECT_LT(r->positions[3 * 1 + 1], 0.0f); // ring 0 lies below the equator
    e.last(MakeSphereSwarm, name, 2, 4, 3);
}

TEST_F(Generators, StarfieldFollowsItsOwnGeneratorAndIgnoresTheReservedWord)
{
    const int32_t name = host.text("stars");
    Event e;
    e.first(MakeStarfieldSwarm, name, 4, 100, 0);
    const SwarmRecord* r = host.swarm("stars");
    ASSERT_EQ(r->count, 4);
    uint64_t s = 1983300529u;
    std::vector<float> expected;
    for (int c = 0; c < 12; ++c) {
        expected.push_back(float(int64_t(s % 200) - 100));
        s = (s * 950706376u) % 2147483647u;
    }
    EXPECT_EQ(std::vector<float>(r->positions, r->positions + 12), expected);
    EXPECT_EQ(r->positions[0], float(int64_t(1983300529u % 200) - 100));

    e.run(MakeStarfieldSwarm, name, 4, 100, 7);
    EXPECT_EQ(e.state.status, 2);
    EXPECT_EQ(std::vector<float>(r->positions, r->positions + 12), expected);

    e.run(MakeStarfieldSwarm, name, 3, 0, 7); // half extent 0 counts as 1: coordinates -1 or 0
    ASSERT_EQ(r->count, 3);
    for (int c = 0; c < 9; ++c)
        EXPECT_TRUE(r->positions[c] == -1.0f || r->positions[c] == 0.0f);
    e.last(MakeStarfieldSwarm, name, 3, 0, 7);
}

// A sin(2 pi F t / A + 0.002 pi phase), t = (i step + offset) 0.01, straight from the definition.
double sine(int i, int step, int offset, double a, double f, double phase)
{
    const double t = (double(i) * step + offset) * 0.01;
    return a * std::sin(2 * M_PI * f * t / a + 0.002 * M_PI * phase);
}

TEST_F(Generators, SineFollowsItsFormulaOverManyPoints)
{
    const int32_t name = host.text("wave");
    Event e;
    e.first(MakeSineSwarm, name, 3000, 7, 0, 3, 250, 5, 11, -40, 2, 9, 1000, 30);
    const SwarmRecord* r = host.swarm("wave");
    ASSERT_EQ(r->count, 3000);
    for (int i = 0; i < 3000; i += 37) {
        EXPECT_NEAR(r->positions[3 * i], sine(i, 7, 30, 1, 3, 250), 2e-5) << i; // amplitude 0 -> 1
        EXPECT_NEAR(r->positions[3 * i + 1], sine(i, 7, 30, 5, 11, -40), 1e-4) << i;
        EXPECT_NEAR(r->positions[3 * i + 2], sine(i, 7, 30, 2, 9, 1000), 5e-5) << i;
    }
    e.run(MakeSineSwarm, name, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); // count below 1 -> 1
    EXPECT_EQ(r->count, 1);
    e.last(MakeSineSwarm, name, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

TEST_F(Generators, SineWithAllAmplitudesZeroUsesAmplitudeOne)
{
    const int32_t name = host.text("wave");
    Event e;
    e.first(MakeSineSwarm, name, 50, 25, 0, 1, 0, 0, 1, 500, 0, 1, 250, 0);
    const SwarmRecord* r = host.swarm("wave");
    for (int i = 0; i < 50; ++i) {
        EXPECT_NEAR(r->positions[3 * i], sine(i, 25, 0, 1, 1, 0), 1e-6);
        EXPECT_NEAR(r->positions[3 * i + 1], sine(i, 25, 0, 1, 1, 500), 1e-6);
        EXPECT_NEAR(r->positions[3 * i + 2], sine(i, 25, 0, 1, 1, 250), 1e-6);
        for (int k = 0; k < 3; ++k)
            EXPECT_LE(std::fabs(r->positions[3 * i + k]), 1.0f);
    }
    e.last(MakeSineSwarm, name, 50, 25, 0, 1, 0, 0, 1, 500, 0, 1, 250, 0);
}

TEST_F(Generators, TorusSineWindsAroundTheRing)
{
    const int32_t name = host.text("torus");
    Event e;
    e.first(MakeTorusSineSwarm, name, 100, 10, 1571, 2, 300, 100);
    const SwarmRecord* r = host.swarm("torus");
    ASSERT_EQ(r->count, 100);
    for (int i = 0; i < 100; ++i) {
        const double a = (i * 300 + 100) * 0.001, b = i * 1571 * 0.001;
        const double w = 10 + 2 * std::cos(a);
        EXPECT_NEAR(r->positions[3 * i], w * std::cos(b), 1e-4);
        EXPECT_NEAR(r->positions[3 * i + 1], 2 * std::sin(a), 1e-4);
        EXPECT_NEAR(r->positions[3 * i + 2], w * std::sin(b), 1e-4);
    }
    e.last(MakeTorusSineSwarm, name, 100, 10, 1571, 2, 300, 100);
}

TEST_F(Generators, SpiroWithoutRollingCircleStaysAtDistanceB)
{
    const int32_t name = host.text("spiro");
    Event e;
    e.first(MakeSpiroSwarm, name, 200, 250, 0, 40, 731, 0, 0, 0);
    const SwarmRecord* r = host.swarm("spiro");
    ASSERT_EQ(r->count, 200);
    for (int i = 0; i < 200; ++i)
        EXPECT_NEAR(distance(r, i), 2.5f, 1e-5f);
    EXPECT_EQ(r->positions[2], 0.0f);

    e.run(MakeSpiroSwarm, name, 200, 250, 0, 40, 731, 900, 30, 450); // tilted out of the plane
    bool tilted = false;
    for (int i = 0; i < 200; ++i) {
        EXPECT_NEAR(distance(r, i), 2.5f, 1e-5f);
        tilted |= std::fabs(r->positions[3 * i + 2]) > 0.1f;
    }
    EXPECT_TRUE(tilted);

    e.run(MakeSpiroSwarm, name, 200, 300, 100, 2, 500, 0, 0, 0); // pen on a rolling circle
    float nearest = 1e9f, farthest = 0;
    for (int i = 0; i < 200; ++i) {
        nearest = std::min(nearest, distance(r, i));
        farthest = std::max(farthest, distance(r, i));
    }
    EXPECT_NEAR(farthest, 4 + 2, 0.05f); // B + d
    EXPECT_NEAR(nearest, 4 - 2, 0.05f);  // B - d
    e.last(MakeSpiroSwarm, name, 200, 300, 100, 2, 500, 0, 0, 0);
}

TEST_F(Generators, BezierSamplesTheCurveAndCanShowItsControlPoints)
{
    const int32_t name = host.text("curve");
    Event e;
    e.first(MakeBezierSwarm, name, 5, 0, 0, 0, 1000, 2000, 0, 3000, 2000, 0, 4000, 0, -1000, 0);
    const SwarmRecord* r = host.swarm("curve");
    ASSERT_EQ(r->count, 5);
    EXPECT_EQ(point(r, 0), Point(0, 0, 0));
    EXPECT_EQ(point(r, 4), Point(4, 0, -1));
    EXPECT_NEAR(r->positions[3 * 2], 2.0f, 1e-6f); // symmetric curve: the middle sample at x = 2
    EXPECT_NEAR(r->positions[3 * 2 + 1], 1.5f, 1e-6f);

    // The flag alone is not a change: nothing happens until a coordinate changes.
    e.run(MakeBezierSwarm, name, 5, 0, 0, 0, 1000, 2000, 0, 3000, 2000, 0, 4000, 0, -1000, 1);
    EXPECT_EQ(e.state.status, 1);
    e.run(MakeBezierSwarm, name, 5, 0, 0, 0, 1000, 2000, 0, 3000, 2000, 0, 4000, 0, -1001, 1);
    EXPECT_EQ(e.state.status, 2);
    const float controls[4][3] = {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, -1.001f}};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(r->positions[3 * i + k], controls[i][k], 1e-6f) << "point " << i;
    EXPECT_NEAR(r->positions[3 * 4 + 2], -1.001f, 1e-6f); // the fifth is still the curve's end

    // Three samples with the flag: only three control points fit.
    e.run(MakeBezierSwarm, name, 3, 0, 0, 0, 1000, 2000, 0, 3000, 2000, 0, 4000, 0, -1000, 1);
    ASSERT_EQ(r->count, 3);
    EXPECT_NEAR(r->positions[3 * 2], 3.0f, 1e-6f); // P2, not the curve's end at x = 4
    EXPECT_NEAR(r->positions[3 * 2 + 1], 2.0f, 1e-6f);
    e.last(MakeBezierSwarm, name, 3, 0, 0, 0, 1000, 2000, 0, 3000, 2000, 0, 4000, 0, -1000, 1);
}

TEST_F(Generators, RandIsReproducibleAndDrawsFromTheLegacySequence)
{
    const int32_t name = host.text("dust");
    Event e;
    e.first(MakeRandSwarm, name, 500, 100, 10, 1, 42);
    const SwarmRecord* r = host.swarm("dust");
    ASSERT_EQ(r->count, 500);
    const std::vector<float> firstBuild(r->positions, r->positions + 1500);
    LegacyRand rnd;
    rnd.srand(42);
    EXPECT_EQ(r->positions[0], float(rnd.rand() % 100 - 50));
    EXPECT_EQ(r->positions[1], float(rnd.rand() % 10 - 5));
    EXPECT_EQ(r->positions[2], 0.0f);
    for (int i = 0; i < 500; ++i) {
        EXPECT_GE(r->positions[3 * i], -50.0f);
        EXPECT_LE(r->positions[3 * i], 49.0f);
    }
    e.run(MakeRandSwarm, name, 500, 100, 10, 0, 42); // range 0 counts as 1: same points, rebuilt
    EXPECT_EQ(e.state.status, 2);
    EXPECT_EQ(std::vector<float>(r->positions, r->positions + 1500), firstBuild);

    // A second event with the same seed builds the same swarm.
    Event other;
    other.first(MakeRandSwarm, host.text("dust2"), 500, 100, 10, 1, 42);
    const SwarmRecord* r2 = host.swarm("dust2");
    EXPECT_EQ(std::vector<float>(r2->positions, r2->positions + 1500), firstBuild);
    other.last(MakeRandSwarm, host.text("dust2"), 500, 100, 10, 1, 42);
    e.last(MakeRandSwarm, name, 500, 100, 10, 0, 42);
}

TEST_F(Generators, RandDrawsExactlyTheSequentialSequenceAndLeavesRandAfterIt)
{
    const int32_t name = host.text("dust");
    // Counts whose draws end inside, exactly on and past the lanes of the bulk generator; ranges at and
    // around the edges of the draws' 0 .. 32767.
    const int32_t ranges[][3] = {{1000, 7, 32768}, {1, 2, 3}, {32767, 32769, 12345}, {INT32_MAX, 9999, 256}};
    for (int32_t count : {1, 2, 3, 8, 1027}) {
        for (const auto& range : ranges) {
            Event e;
            e.first(MakeRandSwarm, name, count, range[0], range[1], range[2], 12345);
            const SwarmRecord* r = host.swarm("dust");
            LegacyRand rnd;
            rnd.srand(12345);
            for (int i = 0; i < 3 * count; ++i) {
                const int32_t d = range[i % 3];
                ASSERT_EQ(r->positions[i], float(rnd.rand() % d - d / 2)) << i << " of " << count;
            }
            EXPECT_EQ(swarms::gRand.rand(), rnd.rand()) << count;
            e.last(MakeRandSwarm, name, count, range[0], range[1], range[2], 12345);
        }
    }
}

TEST_F(Generators, LineHoldsItsTwoEnds)
{
    const int32_t name = host.text("line");
    Event e;
    e.first(DrawLineSwarm, name, 0, 0, -1, 2, -3, 4, -5, 6);
    const SwarmRecord* r = host.swarm("line");
    ASSERT_EQ(r->count, 2);
    EXPECT_EQ(point(r, 0), Point(-1, 2, -3));
    EXPECT_EQ(point(r, 1), Point(4, -5, 6));
    e.run(DrawLineSwarm, name, 1, 0, -1, 2, -3, 4, -5, 6); // a reserved word is still a change
    EXPECT_EQ(e.state.status, 2);
    e.last(DrawLineSwarm, name, 1, 0, -1, 2, -3, 4, -5, 6);
}

TEST_F(Generators, ARebuildDropsColoursAndACountChangeDropsOrientations)
{
    const int32_t name = host.text("cube");
    Event gen, paint, turn;
    gen.first(MakeCubeSwarm, name, 2, 1, 0);
    paint.start(ColorSwarmBetween, name, 255, 0, 0, 0, 0, 255, 0);
    turn.start(OrientSwarmRandom, name, 5);
    const SwarmRecord* r = host.swarm("cube");
    ASSERT_NE(r->colors, nullptr);
    ASSERT_NE(r->orientations, nullptr);
    paint.last(ColorSwarmBetween, name, 255, 0, 0, 0, 0, 255, 0);
    Event plain;
    plain.start(ColorSwarm, name, 10, 20, 30);
    plain.last(ColorSwarm, name, 10, 20, 30);

    gen.run(MakeCubeSwarm, name, 2, 2, 0); // same count, new spacing
    EXPECT_EQ(r->colors, nullptr);
    EXPECT_EQ((std::vector<int>{r->alpha, r->red, r->green, r->blue}),
              (std::vector<int>{255, 255, 255, 255}));
    EXPECT_NE(r->orientations, nullptr); // count unchanged: the orientations stay valid

    gen.run(MakeCubeSwarm, name, 3, 2, 0);
    EXPECT_EQ(r->count, 26);
    EXPECT_EQ(r->orientations, nullptr);
    turn.last(OrientSwarmRandom, name, 5);
    gen.last(MakeCubeSwarm, name, 3, 2, 0);
}

TEST_F(Generators, SizesThatCannotBeBuiltGiveAnEmptySwarmAndOneLogLine)
{
    const int32_t s = host.text("s");
    auto check = [&](const char* effect, auto fn, auto... words) {
        host.log.clear();
        Event e;
        e.first(fn, s, words...);
        e.run(fn, s, words...);
        e.run(fn, s, words...);
        const SwarmRecord* r = host.swarm("s");
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->count, 0) << effect;
        EXPECT_EQ(r->positions, nullptr) << effect;
        ASSERT_EQ(host.log.size(), 1u) << effect;
        EXPECT_EQ(host.log[0].rfind(effect, 0), 0u) << host.log[0];
        e.last(fn, s, words...);
    };
    check("MakeSphereSwarm", MakeSphereSwarm, 5, -3, 4);
    check("MakeSphereSwarm", MakeSphereSwarm, 5, 3, -4);
    check("MakeSphereSwarm", MakeSphereSwarm, 5, 100000, 100000); // 10^10 points
    check("MakeSphereSwarm", MakeSphereSwarm, 5, INT32_MAX, INT32_MAX);
    check("MakeCubeSwarm", MakeCubeSwarm, 100000, 1, 1);
    check("MakeCubeSwarm", MakeCubeSwarm, INT32_MAX, 1, 0);
    check("MakeStarfieldSwarm", MakeStarfieldSwarm, 10, -5, 0);
    check("MakeStarfieldSwarm", MakeStarfieldSwarm, -10, 5, 0);
    check("MakeSineSwarm", MakeSineSwarm, INT32_MAX, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0);
    check("MakeBezierSwarm", MakeBezierSwarm, 2, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 1);
    check("MakeBezierSwarm", MakeBezierSwarm, -7, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 1);
    check("MakeRandSwarm", MakeRandSwarm, -1, 5, 5, 5, 1);
    check("MakeRandSwarm", MakeRandSwarm, (1 << 24) + 1, 5, 5, 5, 1);
}

} // namespace
