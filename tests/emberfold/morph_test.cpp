// Morphing two descriptions: the ends of the blend, pairing of unequal descriptions, extrapolation and
// the merged palette.
#include "flame_description.h"
#include "flame_morph.h"
#include "scene/math3d.h"

#include <gtest/gtest.h>
#include <memory>

using namespace emberfold;

namespace
{

struct Pair {
    std::unique_ptr<FlameDescription> a{new FlameDescription}, b{new FlameDescription},
        out{new FlameDescription};
    uint8_t pairs[kPairingIndices];

    Pair(int na, int nb)
    {
        make_default_description(*a);
        make_default_description(*b);
        a->transformCount = na;
        b->transformCount = nb;
        for (int j = 0; j < 5; ++j) {
            FlameTransform& ta = a->transforms[j];
            FlameTransform& tb = b->transforms[j];
            ta.scale[0] = 0.1f * float(j + 1);
            tb.scale[0] = 0.7f - 0.1f * float(j);
            ta.translation[2] = float(j);
            tb.translation[2] = -float(j);
            ta.colour = 0.1f;
            tb.colour = 0.9f;
            ta.weight = 1;
            tb.weight = 2 + float(j);
            tb.variations[5] = 0.5f;
            tb.channelPeriod[4] = 1234 + j;
            make_rotz_mat(ta.rotation, 0.3f);
            make_rotx_mat(tb.rotation, 0.2f * float(j + 1));
        }
        a->palette = VirtPalette();
        a->palette.AddColor(0.25f, 0xff102030u);
        b->palette = VirtPalette();
        b->palette.ChangeColor(0, 0xff0000ffu);
        b->palette.AddColor(0.75f, 0xff405060u);
        compute_probabilities(*a);
        compute_probabilities(*b);
        for (int i = 0; i < kPairingIndices; ++i)
            pairs[i] = uint8_t(i);
    }
    void run(int32_t m) { morph_descriptions(*a, *b, m, pairs, *out); }
};

void expect_rotation(const float* got, const float* want)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-5) << i;
}

} // namespace

TEST(FlameMorph, AtZeroTheFirstShapesWithTheSecondWeightsAndChannels)
{
    Pair p(3, 3);
    p.run(0);
    ASSERT_EQ(p.out->transformCount, 3);
    for (int j = 0; j < 3; ++j) {
        const FlameTransform& t = p.out->transforms[j];
        EXPECT_FLOAT_EQ(t.scale[0], p.a->transforms[j].scale[0]);
        EXPECT_FLOAT_EQ(t.translation[2], float(j));
        EXPECT_FLOAT_EQ(t.colour, 0.1f);
        EXPECT_FLOAT_EQ(t.variations[5], 0.0f);
        expect_rotation(t.rotation, p.a->transforms[j].rotation);
        EXPECT_FLOAT_EQ(t.weight, 2 + float(j));
        EXPECT_EQ(t.channelPeriod[4], 1234 + j);
    }
    EXPECT_EQ(p.out->palette.GetColor(0.25f), 0xff102030u);
    EXPECT_EQ(p.out->palette.GetColor(0.0f), 0xff000000u);
    EXPECT_EQ(p.out->selectTable[2], 32767);
}

TEST(FlameMorph, AtOneThousandTheSecondDescriptionAndItsColoursAtEveryStop)
{
    Pair p(3, 3);
    p.run(1000);
    for (int j = 0; j < 3; ++j) {
        const FlameTransform& t = p.out->transforms[j];
        EXPECT_FLOAT_EQ(t.scale[0], p.b->transforms[j].scale[0]);
        EXPECT_FLOAT_EQ(t.translation[2], -float(j));
        EXPECT_FLOAT_EQ(t.colour, 0.9f);
        EXPECT_FLOAT_EQ(t.variations[5], 0.5f);
        expect_rotation(t.rotation, p.b->transforms[j].rotation);
    }
    // Stops of both palettes, all coloured as the second palette is there.
    const VirtPalette& pal = p.out->palette;
    ASSERT_EQ(pal.count, 4);
    EXPECT_FLOAT_EQ(pal.positions[1], 0.25f);
    EXPECT_FLOAT_EQ(pal.positions[2], 0.75f);
    EXPECT_EQ(pal.colors[0], 0xff0000ffu);
    EXPECT_EQ(pal.colors[1], p.b->palette.GetColor(0.25f));
    EXPECT_EQ(pal.colors[2], 0xff405060u);
    EXPECT_EQ(pal.colors[3], 0xffffffffu);

    // Beyond 1000 the shapes extrapolate but the colours stay the second palette's.
    p.run(1500);
    EXPECT_NEAR(p.out->transforms[1].translation[2], -2.0f, 1e-5);
    EXPECT_EQ(p.out->palette.colors[1], p.b->palette.GetColor(0.25f));
    EXPECT_EQ(p.out->palette.colors[0], 0xff0000ffu);
}

TEST(FlameMorph, HalfWayBlendsRotationsThroughQuaternionsAndColoursByteByByte)
{
    Pair p(3, 3);
    p.run(500);
    // z-turn 0.3 and x-turn 0.4 (transform 1): the normalised mean of the two quaternions.
    float qa[4], qb[4], q[4], want[9];
    mat_to_quat3(p.a->transforms[1].rotation, qa);
    mat_to_quat3(p.b->transforms[1].rotation, qb);
    unit_quat_self(qa);
    unit_quat_self(qb);
    for (int i = 0; i < 4; ++i)
        q[i] = (qa[i] + qb[i]) / 2;
    unit_quat_self(q);
    quat_to_mat3(q, want);
    expect_rotation(p.out->transforms[1].rotation, want);
    EXPECT_FLOAT_EQ(p.out->transforms[1].translation[2], 0.0f);

    EXPECT_EQ(blend_colour(0xff000000u, 0x00ff80ffu, 500), 0x7f7f407fu);
    EXPECT_EQ(blend_colour(0x00000000u, 0x000000ffu, 333), 0x00000054u);
    EXPECT_EQ(blend_colour(0x11223344u, 0x55667788u, -1), 0x11223344u);
    EXPECT_EQ(blend_colour(0x11223344u, 0x55667788u, 1001), 0x55667788u);
}

TEST(FlameMorph, PairingIndicesAreClampedIntoTheSmallerDescription)
{
    // 3 against 5 transforms, pairing bytes 0, 1, 2, 2, 9: the fifth pairs with transform 2.
    const int32_t words[kPairingParameters] = {0x00010202, 0x09000000, 0, 0, 0, 0, 0};
    Pair p(3, 5);
    unpack_pairing(words, p.pairs);
    EXPECT_EQ(p.pairs[4], 9);
    p.run(0);
    ASSERT_EQ(p.out->transformCount, 5);
    EXPECT_FLOAT_EQ(p.out->transforms[3].scale[0], p.a->transforms[2].scale[0]);
    EXPECT_FLOAT_EQ(p.out->transforms[4].scale[0], p.a->transforms[2].scale[0]);
    EXPECT_FLOAT_EQ(p.out->transforms[4].weight, 6.0f); // the second description's own transform 4

    // The larger description first: the second one's transforms are the paired ones.
    Pair q(5, 3);
    unpack_pairing(words, q.pairs);
    q.run(1000);
    ASSERT_EQ(q.out->transformCount, 5);
    EXPECT_FLOAT_EQ(q.out->transforms[4].scale[0], q.b->transforms[2].scale[0]);

    // More than 28 transforms: the ones past the pairing words stay inside the smaller description.
    Pair r(3, 40);
    for (int j = 5; j < 40; ++j)
        r.b->transforms[j] = r.b->transforms[0];
    compute_probabilities(*r.b);
    r.run(0);
    EXPECT_EQ(r.out->transformCount, 40);
    EXPECT_FLOAT_EQ(r.out->transforms[39].scale[0], r.a->transforms[2].scale[0]);
}

TEST(FlameMorph, MergedPalettesNeverOverflow)
{
    Pair p(3, 3);
    for (int i = 0; i < 400; ++i) {
        p.a->palette.AddColor(0.001f * float(i + 1), 0xff000000u | uint32_t(i));
        p.b->palette.AddColor(0.5f + 0.001f * float(i + 1), 0xff000000u | uint32_t(i));
    }
    p.run(250);
    EXPECT_EQ(p.out->palette.count, VirtPalette::kMaxColors);
}
