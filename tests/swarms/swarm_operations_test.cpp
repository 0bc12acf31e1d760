// The ten swarm operations: colour and orientation rules, change tests, array management, bad input.
#include <scene/group_node3d.h>
#include <swarm_effects.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "swarm_host.h"

namespace
{

std::vector<int> color_of(const SwarmRecord* r, int i)
{
    const uint8_t* c = r->colors ? r->colors + 4 * i : &r->alpha;
    return {c[0], c[1], c[2], c[3]};
}

std::vector<float> matrix_of(const SwarmRecord* r, int i)
{
    return std::vector<float>(r->orientations + 9 * i, r->orientations + 9 * i + 9);
}

const std::vector<float> kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1};

void expect_matrix_near(const std::vector<float>& m, const std::vector<float>& expected,
                        float tolerance = 1e-5f)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(m[k], expected[k], tolerance) << "element " << k;
}

// Two line swarms "a" (0,0,0)-(1,1,1) and "b" (10,0,0)-(10,20,30) made by constant events, plus helpers.
class Operations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        a = host.text("a");
        b = host.text("b");
        out = host.text("out");
        makeA.first(DrawLineSwarm, a, 0, 0, 0, 0, 0, 1, 1, 1);
        makeB.first(DrawLineSwarm, b, 0, 0, 10, 0, 0, 10, 20, 30);
    }
    void TearDown() override
    {
        makeA.last(DrawLineSwarm, a, 0, 0, 0, 0, 0, 1, 1, 1);
        makeB.last(DrawLineSwarm, b, 0, 0, 10, 0, 0, 10, 20, 30);
        EXPECT_EQ(live_swarms(), 0) << "an event was left without its last call";
        EXPECT_EQ(host.counted_in_all().acquires, host.counted_in_all().releases)
            << "every acquisition is released in its call";
    }
    SwarmRecord* rec(const char* name) { return const_cast<SwarmRecord*>(host.swarm(name)); }

    SwarmHost host;
    int32_t a = 0, b = 0, out = 0;
    Event makeA, makeB;
};

TEST_F(Operations, AddSwarmsNeedsPerPointColoursOnlyWhenTheSourcesDiffer)
{
    Event add;
    add.first(AddSwarms, out, a, b);
    const SwarmRecord* r = host.swarm("out");
    ASSERT_EQ(r->count, 4);
    EXPECT_EQ(r->colors, nullptr); // white + white
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(r->positions[3 * 2], 10.0f);
    EXPECT_EQ(r->positions[3 * 3 + 2], 30.0f);
    EXPECT_EQ(r->orientations, nullptr);

    Event paint;
    paint.start(ColorSwarm, b, 255, 0, 0);
    paint.last(ColorSwarm, b, 255, 0, 0);
    add.run(AddSwarms, out, a, b); // counts unchanged, sources static: nothing to do
    EXPECT_EQ(add.state.status, 1);
    EXPECT_EQ(r->colors, nullptr);

    Event varying(false);
    varying.first(AddSwarms, host.text("out2"), a, b);
    varying.last(AddSwarms, host.text("out2"), a, b);
    // A fresh event sees white + red and colours every point.
    add.last(AddSwarms, out, a, b);
    add.first(AddSwarms, out, a, b);
    r = host.swarm("out");
    ASSERT_NE(r->colors, nullptr);
    EXPECT_EQ(color_of(r, 1), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(color_of(r, 2), (std::vector<int>{255, 255, 0, 0}));
    add.last(AddSwarms, out, a, b);
}

TEST_F(Operations, AddSwarmsGivesIdentitiesToThePointsOfAnUnorientedSource)
{
    Event turn, add;
    turn.start(OrientSwarmRandom, b, 3);
    add.first(AddSwarms, out, a, b);
    const SwarmRecord* r = host.swarm("out");
    ASSERT_NE(r->orientations, nullptr);
    expect_matrix_near(matrix_of(r, 0), kIdentity, 0);
    expect_matrix_near(matrix_of(r, 1), kIdentity, 0);
    EXPECT_EQ(matrix_of(r, 2), matrix_of(host.swarm("b"), 0));
    add.last(AddSwarms, out, a, b);
    turn.last(OrientSwarmRandom, b, 3);
}

TEST_F(Operations, AddSwarmsRebuildsWhenASourceCountChanges)
{
    Event add, grow(true);
    const int32_t c = host.text("c");
    grow.first(MakeCubeSwarm, c, 2, 1, 0);
    add.first(AddSwarms, out, a, c);
    EXPECT_EQ(host.swarm("out")->count, 10);
    grow.run(MakeCubeSwarm, c, 3, 1, 0);
    add.run(AddSwarms, out, a, c);
    EXPECT_EQ(add.state.status, 2);
    EXPECT_EQ(host.swarm("out")->count, 28);
    add.last(AddSwarms, out, a, c);
    grow.last(MakeCubeSwarm, c, 3, 1, 0);
}

TEST_F(Operations, AMissingSourceChangesNothingAndIsReportedByTheRegistry)
{
    Event add;
    add.first(AddSwarms, out, a, host.text("nowhere"));
    EXPECT_TRUE(add.state.status == 1);
    EXPECT_EQ(host.swarm("out")->count, 0);
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.back(), "AddSwarms could not find the swarm  named nowhere");
    add.last(AddSwarms, out, a, host.text("nowhere"));
}

TEST_F(Operations, AnOperationCannotReadItsOwnOutput)
{
    Event add;
    add.first(AddSwarms, out, a, out);
    add.run(AddSwarms, out, a, out);
    EXPECT_EQ(add.state.status, -1);
    EXPECT_EQ(host.swarm("out")->count, 0);
    EXPECT_EQ(host.log.size(), 1u);
    add.last(AddSwarms, out, a, out);
}

TEST_F(Operations, MoveSwarmRotatesScalesAndTranslates)
{
    Event move, turn;
    turn.start(OrientSwarmRandom, a, 9);
    // A quarter turn about z (q = (0, 0, sin 45, cos 45) in ten-thousandths, normalised), scale 2, shift.
    move.first(MoveSwarm, out, a, 0, 1000, 2000, 3000, 0, 0, 7071, 7071, 200000);
    const SwarmRecord* r = host.swarm("out");
    ASSERT_EQ(r->count, 2);
    EXPECT_NEAR(r->positions[0], 1.0f, 1e-5f);
    EXPECT_NEAR(r->positions[1], 2.0f, 1e-5f);
    EXPECT_NEAR(r->positions[2], 3.0f, 1e-5f);
    EXPECT_NEAR(r->positions[3], 1.0f - 2, 1e-4f); // (1,1,1) -> (-2, 2, 2) + (1, 2, 3)
    EXPECT_NEAR(r->positions[4], 2.0f + 2, 1e-4f);
    EXPECT_NEAR(r->positions[5], 3.0f + 2, 1e-4f);
    EXPECT_EQ(r->colors, nullptr);
    // Orientations follow the move: the source's matrix turned and scaled with the swarm.
    ASSERT_NE(r->orientations, nullptr);
    const std::vector<float> src = matrix_of(host.swarm("a"), 1);
    const std::vector<float> moved = matrix_of(r, 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(moved[0 + c], -2 * src[3 + c], 1e-4f);
        EXPECT_NEAR(moved[3 + c], 2 * src[0 + c], 1e-4f);
        EXPECT_NEAR(moved[6 + c], 2 * src[6 + c], 1e-4f);
    }
    move.run(MoveSwarm, out, a, 5, 1000, 2000, 3000, 0, 0, 7071, 7071, 200000); // the ignored word
    EXPECT_EQ(move.state.status, 1);
    turn.last(OrientSwarmRandom, a, 9);
    move.last(MoveSwarm, out, a, 5, 1000, 2000, 3000, 0, 0, 7071, 7071, 200000);
}

TEST_F(Operations, SplitSwarmClampsTheSplitCount)
{
    const int32_t first = host.text("first"), second = host.text("second");
    Event paint, split;
    paint.start(ColorSwarmBetween, b, 0, 0, 0, 200, 100, 50, 0);
    split.first(SplitSwarm, first, second, b, 1);
    EXPECT_EQ(split.state.status, 2);
    const SwarmRecord* r1 = host.swarm("first");
    const SwarmRecord* r2 = host.swarm("second");
    ASSERT_EQ(r1->count, 1);
    ASSERT_EQ(r2->count, 1);
    EXPECT_EQ(r2->positions[1], 20.0f);
    EXPECT_EQ(color_of(r2, 0), (std::vector<int>{255, 100, 50, 25}));
    split.run(SplitSwarm, first, second, b, 5);
    EXPECT_EQ(r1->count, 2);
    EXPECT_EQ(r2->count, 0);
    EXPECT_EQ(r2->colors, nullptr);
    split.run(SplitSwarm, first, second, b, -3);
    EXPECT_EQ(r1->count, 0);
    EXPECT_EQ(r2->count, 2);
    split.last(SplitSwarm, first, second, b, -3);
    paint.last(ColorSwarmBetween, b, 0, 0, 0, 200, 100, 50, 0);
}

// A split rebuilds its halves on every call, so they are never static, even from constant events: an
// in-place colouring of a half is then made again every frame instead of being wiped after the first.
TEST_F(Operations, ColouringASplitHalfLasts)
{
    const int32_t first = host.text("first"), second = host.text("second");
    Event split, paint;
    split.first(SplitSwarm, first, second, b, 1);
    paint.start(ColorSwarm, second, 255, 0, 0);
    const SwarmRecord* r2 = host.swarm("second");
    EXPECT_EQ(color_of(r2, 0), (std::vector<int>{255, 255, 0, 0}));
    for (int frame = 0; frame < 3; ++frame) {
        split.run(SplitSwarm, first, second, b, 1);
        paint.run(ColorSwarm, second, 255, 0, 0);
        EXPECT_EQ(color_of(r2, 0), (std::vector<int>{255, 255, 0, 0})) << "frame " << frame;
    }
    paint.last(ColorSwarm, second, 255, 0, 0);
    split.last(SplitSwarm, first, second, b, 1);
}

TEST_F(Operations, MorphSwarmsInterpolatesPositionsAndClampsT)
{
    Event morph;
    morph.first(MorphSwarms, out, a, b, 0, 0);
    const SwarmRecord* r = host.swarm("out");
    const SwarmRecord* ra = host.swarm("a");
    const SwarmRecord* rb = host.swarm("b");
    ASSERT_EQ(r->count, 2);
    EXPECT_EQ(std::vector<float>(r->positions, r->positions + 6),
              std::vector<float>(ra->positions, ra->positions + 6));
    EXPECT_EQ(r->orientations, nullptr);
    morph.run(MorphSwarms, out, a, b, 1000, 0);
    EXPECT_EQ(std::vector<float>(r->positions, r->positions + 6),
              std::vector<float>(rb->positions, rb->positions + 6));
    morph.run(MorphSwarms, out, a, b, -500, 0);
    EXPECT_EQ(r->positions[0], 0.0f);
    morph.run(MorphSwarms, out, a, b, 250, 500); // t = 0.25 for point 0, 0.75 for point 1
    EXPECT_NEAR(r->positions[0], 2.5f, 1e-6f);
    EXPECT_NEAR(r->positions[3], 1 + 0.75f * 9, 1e-5f);
    EXPECT_NEAR(r->positions[5], 1 + 0.75f * 29, 1e-5f);
    morph.run(MorphSwarms, out, a, b, 0, INT32_MAX); // a huge spread only clamps
    EXPECT_EQ(r->positions[3], 10.0f);
    morph.last(MorphSwarms, out, a, b, 0, INT32_MAX);
}

TEST_F(Operations, MorphSwarmsBlendsColoursUniformlyOrPerPoint)
{
    Event paint, morph;
    paint.start(ColorSwarm, b, 100, 0, 200);
    morph.first(MorphSwarms, out, a, b, 500, 0);
    const SwarmRecord* r = host.swarm("out");
    EXPECT_EQ(r->colors, nullptr);
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 177, 127, 227}));
    morph.run(MorphSwarms, out, a, b, 0, 1000); // a spread with differing colours: per point
    ASSERT_NE(r->colors, nullptr);
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(color_of(r, 1), (std::vector<int>{255, 100, 0, 200}));
    morph.last(MorphSwarms, out, a, b, 0, 1000);
    paint.last(ColorSwarm, b, 100, 0, 200);
}

TEST_F(Operations, MorphWithOneOrientedSideTurnsTowardsAHalfTurnAboutZ)
{
    Event resize, morph;
    resize.start(ResizeSwarmRandom, a, 100000, 100000, 1, 1); // identities on "a"
    morph.first(MorphSwarms, out, a, b, 1000, 0);
    const SwarmRecord* r = host.swarm("out");
    ASSERT_NE(r->orientations, nullptr);
    expect_matrix_near(matrix_of(r, 0), {-1, 0, 0, 0, -1, 0, 0, 0, 1});
    morph.run(MorphSwarms, out, a, b, 0, 0);
    expect_matrix_near(matrix_of(r, 1), kIdentity);
    morph.last(MorphSwarms, out, a, b, 0, 0);
    resize.last(ResizeSwarmRandom, a, 100000, 100000, 1, 1);
}

TEST_F(Operations, ColorSwarmBetweenRampsAlongThePointsOrDrawsRandomly)
{
    Event between;
    between.start(ColorSwarmBetween, a, 10, 20, 30, 110, 220, 31, 0);
    const SwarmRecord* r = host.swarm("a");
    ASSERT_NE(r->colors, nullptr);
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 10, 20, 30}));
    EXPECT_EQ(color_of(r, 1), (std::vector<int>{255, 60, 120, 30})); // the midpoint, never colour 2
    between.run(ColorSwarmBetween, a, 10, 20, 30, 110, 220, 31, 0);
    EXPECT_EQ(between.state.status, 1);

    // Seeded: k = rand() mod 2 of the legacy sequence from seed 1 (41, 18467 -> 1, 1).
    between.run(ColorSwarmBetween, a, 10, 20, 30, 110, 220, 31, 1);
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 60, 120, 30}));
    EXPECT_EQ(color_of(r, 1), (std::vector<int>{255, 60, 120, 30}));

    Event plain;
    plain.start(ColorSwarm, a, 1, 2, 3);
    EXPECT_EQ(r->colors, nullptr);
    EXPECT_EQ(color_of(r, 0), (std::vector<int>{255, 1, 2, 3}));
    plain.last(ColorSwarm, a, 1, 2, 3);
    between.last(ColorSwarmBetween, a, 10, 20, 30, 110, 220, 31, 1);
}

TEST_F(Operations, ColorSwarmBetweenKeepsLargeSwarmsInRange)
{
    const int32_t big = host.text("big");
    Event gen, between;
    gen.first(MakeRandSwarm, big, 9000000, 1, 1, 1, 1);
    between.start(ColorSwarmBetween, big, 0, 0, 0, 255, 255, 255, 0);
    const SwarmRecord* r = host.swarm("big");
    EXPECT_EQ(color_of(r, 8999999), (std::vector<int>{255, 254, 254, 254}));
    EXPECT_EQ(color_of(r, 4500000), (std::vector<int>{255, 127, 127, 127}));
    between.last(ColorSwarmBetween, big, 0, 0, 0, 255, 255, 255, 0);
    gen.last(MakeRandSwarm, big, 9000000, 1, 1, 1, 1);
}

// A swarm made anew every frame loses its per-point colours at each rebuild; colouring it again reuses the
// array it had, which grows only when the swarm outgrows it and never leaves a ramp short or overrun.
TEST_F(Operations, ColoursOfASwarmMadeAnewEveryFrameReuseTheirArray)
{
    const int32_t wave = host.text("wave");
    Event gen(false), between(false);
    int32_t offset = 0;
    const auto make = [&](int32_t phase, int32_t count) {
        gen.call(phase, MakeSineSwarm, wave, count, 1, 1000, 1, 0, 1000, 1, 0, 1000, 1, 0, ++offset);
    };
    const auto colour = [&](int32_t phase) {
        between.call(phase, ColorSwarmBetween, wave, 0, 0, 0, 250, 250, 250, 0);
    };
    make(0, 4);
    colour(0);
    colour(1);
    const SwarmRecord* r = host.swarm("wave");
    const uint8_t* array = r->colors;
    ASSERT_NE(array, nullptr);
    for (int frame = 1; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        make(1, 4);
        EXPECT_EQ(r->colors, nullptr) << "a rebuild leaves the swarm without per-point colours";
        colour(1);
        EXPECT_EQ(between.state.status, 2);
        EXPECT_EQ(r->colors, array);
        EXPECT_EQ(color_of(r, 3), (std::vector<int>{255, 187, 187, 187}));
    }
    make(1, 10);
    colour(1);
    EXPECT_EQ(color_of(r, 9), (std::vector<int>{255, 225, 225, 225}));
    array = r->colors;
    make(1, 6);
    colour(1);
    EXPECT_EQ(r->colors, array) << "a swarm that shrinks keeps the larger array";
    EXPECT_EQ(color_of(r, 5), (std::vector<int>{255, 208, 208, 208}));
    between.last(ColorSwarmBetween, wave, 0, 0, 0, 250, 250, 250, 0);
    make(-1, 6);
}

// 16 colours: colour k = (k, 2k, 3k).
std::vector<int32_t> palette_words(int32_t swarm, int32_t n, int32_t seed)
{
    std::vector<int32_t> w = {swarm, n};
    for (int k = 0; k < 16; ++k)
        w.insert(w.end(), {k, 2 * k, 3 * k});
    w.push_back(seed);
    return w;
}

bool call_random_set(Event& e, int32_t phase, const std::vector<int32_t>& w)
{
    e.state.phase = phase;
    return ColorRandomSetSwarm(&e.state, &e.slot, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9],
                               w[10], w[11], w[12], w[13], w[14], w[15], w[16], w[17], w[18], w[19], w[20],
                               w[21], w[22], w[23], w[24], w[25], w[26], w[27], w[28], w[29], w[30], w[31],
                               w[32], w[33], w[34], w[35], w[36], w[37], w[38], w[39], w[40], w[41], w[42],
                               w[43], w[44], w[45], w[46], w[47], w[48], w[49], w[50]);
}

TEST_F(Operations, ColorRandomSetSwarmPicksFromTheSet)
{
    const int32_t c = host.text("cube");
    Event gen, pick;
    gen.first(MakeCubeSwarm, c, 4, 1, 1); // 64 points
    const SwarmRecord* r = host.swarm("cube");
    call_random_set(pick, 0, palette_words(c, 1, 7));
    call_random_set(pick, 1, palette_words(c, 1, 7));
    ASSERT_NE(r->colors, nullptr);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(color_of(r, i), (std::vector<int>{255, 0, 0, 0}));

    call_random_set(pick, 1, palette_words(c, 16, 7));
    std::set<int> used;
    for (int i = 0; i < 64; ++i) {
        const std::vector<int> col = color_of(r, i);
        EXPECT_EQ(col[2], 2 * col[1]);
        EXPECT_EQ(col[3], 3 * col[1]);
        used.insert(col[1]);
    }
    EXPECT_GT(used.size(), 8u);
    call_random_set(pick, -1, palette_words(c, 16, 7));
    gen.last(MakeCubeSwarm, c, 4, 1, 1);
}

TEST_F(Operations, ColorRandomSetSwarmWithCountsOutsideTheSet)
{
    const int32_t c = host.text("cube");
    Event gen, pick;
    gen.first(MakeCubeSwarm, c, 4, 1, 1);
    const SwarmRecord* r = host.swarm("cube");
    call_random_set(pick, 0, palette_words(c, 0, 7)); // no colours to pick from
    call_random_set(pick, 1, palette_words(c, 0, 7));
    EXPECT_EQ(pick.state.status, -1);
    call_random_set(pick, 1, palette_words(c, 0, 7));
    EXPECT_EQ(r->colors, nullptr);
    EXPECT_EQ(pick.state.status, 1);
    EXPECT_EQ(host.log.size(), 1u);

    // More than 16: points drawing 16 or above keep the colour they had (here the uniform white).
    call_random_set(pick, 1, palette_words(c, 1000, 7));
    ASSERT_NE(r->colors, nullptr);
    int white = 0;
    for (int i = 0; i < 64; ++i)
        white += color_of(r, i) == std::vector<int>{255, 255, 255, 255};
    EXPECT_GT(white, 50);
    call_random_set(pick, -1, palette_words(c, 1000, 7));
    gen.last(MakeCubeSwarm, c, 4, 1, 1);
}

// Everything an in-place operation may change: the uniform colour, the per-point colours, the orientations.
std::vector<float> look_of(const SwarmRecord* r)
{
    std::vector<float> look = {float(r->alpha), float(r->red), float(r->green), float(r->blue)};
    look.push_back(r->colors != nullptr);
    if (r->colors)
        look.insert(look.end(), r->colors, r->colors + 4 * r->count);
    look.push_back(r->orientations != nullptr);
    if (r->orientations)
        look.insert(look.end(), r->orientations, r->orientations + 9 * r->count);
    return look;
}

// The first call only makes the private block; the running call the player makes in the same frame
// changes the swarm.
TEST_F(Operations, InPlaceOperationsChangeTheSwarmFromTheirFirstRunningCall)
{
    const std::vector<int32_t> palette = palette_words(b, 16, 7);
    const std::pair<const char*, std::function<bool(Event&, int32_t)>> operations[] = {
        {"ColorSwarm", [&](Event& e, int32_t phase) { return e.call(phase, ColorSwarm, b, 1, 2, 3); }},
        {"ColorSwarmBetween",
         [&](Event& e, int32_t phase) {
             return e.call(phase, ColorSwarmBetween, b, 10, 20, 30, 110, 220, 31, 0);
         }},
        {"ColorRandomSetSwarm", [&](Event& e, int32_t phase) { return call_random_set(e, phase, palette); }},
        {"OrientSwarmRandom",
         [&](Event& e, int32_t phase) { return e.call(phase, OrientSwarmRandom, b, 77); }},
        {"ResizeSwarmRandom",
         [&](Event& e, int32_t phase) { return e.call(phase, ResizeSwarmRandom, b, 200000, 300000, 1, 3); }},
    };
    const SwarmRecord* r = host.swarm("b");
    for (const auto& [name, call] : operations) {
        SCOPED_TRACE(name);
        const std::vector<float> before = look_of(r);
        Event e;
        EXPECT_TRUE(call(e, 0));
        EXPECT_EQ(e.state.status, 1);
        EXPECT_NE(e.slot, nullptr);
        EXPECT_EQ(look_of(r), before) << "the first call changes nothing";
        EXPECT_TRUE(call(e, 1));
        EXPECT_EQ(e.state.status, 2);
        EXPECT_NE(look_of(r), before) << "the first running call changes the swarm";
        EXPECT_TRUE(call(e, -1));
        EXPECT_EQ(e.slot, nullptr);
    }
}

float determinant(const std::vector<float>& m)
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

TEST_F(Operations, OrientSwarmRandomGivesTheSameRotationsForTheSameSeed)
{
    Event turn;
    turn.start(OrientSwarmRandom, b, 77);
    const SwarmRecord* r = host.swarm("b");
    ASSERT_NE(r->orientations, nullptr);
    const std::vector<float> m0 = matrix_of(r, 0), m1 = matrix_of(r, 1);
    EXPECT_NE(m0, m1);
    for (const auto& m : {m0, m1})
        EXPECT_NEAR(determinant(m), 1.0f, 1e-5f);
    turn.run(OrientSwarmRandom, b, 78);
    EXPECT_NE(matrix_of(r, 0), m0);
    turn.run(OrientSwarmRandom, b, 77);
    EXPECT_EQ(matrix_of(r, 0), m0);
    EXPECT_EQ(matrix_of(r, 1), m1);
    turn.last(OrientSwarmRandom, b, 77);
}

TEST_F(Operations, ResizeSwarmRandomScalesWithinTheRange)
{
    Event resize;
    resize.start(ResizeSwarmRandom, b, 100000, 100000, 1, 3);
    const SwarmRecord* r = host.swarm("b");
    expect_matrix_near(matrix_of(r, 0), kIdentity, 0);
    expect_matrix_near(matrix_of(r, 1), kIdentity, 0);
    resize.run(ResizeSwarmRandom, b, 200000, 200000, 0, 3); // relative: doubles what is there
    expect_matrix_near(matrix_of(r, 1), {2, 0, 0, 0, 2, 0, 0, 0, 2});
    resize.run(ResizeSwarmRandom, b, 200000, 200000, 0, 3); // unchanged and static: no second doubling
    EXPECT_EQ(resize.state.status, 1);
    resize.run(ResizeSwarmRandom, b, 50000, 150000, 1, 3);
    for (int i = 0; i < 2; ++i) {
        const float s = matrix_of(r, i)[0];
        EXPECT_GE(s, 0.5f);
        EXPECT_LE(s, 1.5f);
        EXPECT_EQ(matrix_of(r, i)[4], s);
    }
    resize.run(ResizeSwarmRandom, b, INT32_MIN, INT32_MAX, 1, 3); // the full range stays defined
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(std::isfinite(matrix_of(r, i)[0]));
    resize.last(ResizeSwarmRandom, b, INT32_MIN, INT32_MAX, 1, 3);
}

GroupNode3D* gGroup = nullptr;
void* acquire_group(const char* name, void*, bool* outFlag)
{
    if (std::string(name) != "target")
        return nullptr;
    *outFlag = true;
    return gGroup;
}
bool release_group(const char* name, void*)
{
    return std::string(name) == "target";
}

TEST_F(Operations, OrientSwarmOnGroupTurnsEveryPointTowardsTheGroup)
{
    GroupNode3D group;
    group.position[0] = 5;
    group.position[1] = -7;
    group.position[2] = 2;
    gGroup = &group;
    host.services.RegisterType(kType3DGroup, acquire_group, release_group);
    const int32_t target = host.text("target");

    Event both; // "a" and the group are both static: nothing is done
    both.first(OrientSwarmOnGroup, a, target);
    EXPECT_EQ(host.swarm("a")->orientations, nullptr);
    both.last(OrientSwarmOnGroup, a, target);

    const int32_t moving = host.text("moving");
    Event gen(false), face;
    gen.first(MakeRandSwarm, moving, 40, 20, 20, 20, 5);
    face.first(OrientSwarmOnGroup, moving, target);
    EXPECT_EQ(face.state.status, 2);
    const SwarmRecord* r = host.swarm("moving");
    ASSERT_NE(r->orientations, nullptr);
    for (int i = 0; i < r->count; ++i) {
        const float* p = r->positions + 3 * i;
        float v[3] = {group.position[0] - p[0], group.position[1] - p[1], group.position[2] - p[2]};
        const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        const std::vector<float> m = matrix_of(r, i);
        EXPECT_NEAR(determinant(m), 1.0f, 1e-4f);
        // The point's -z axis looks at the group.
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(-m[3 * k + 2], v[k] / len, 1e-4f) << "point " << i;
    }
    face.last(OrientSwarmOnGroup, moving, target);
    gen.last(MakeRandSwarm, moving, 40, 20, 20, 20, 5);
    gGroup = nullptr;
}

} // namespace
