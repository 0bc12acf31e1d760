// Flame descriptions: the default, reading description files and their companions (sound and damaged),
// probabilities and the channel animation.
#include "flame_description.h"
#include "flame_file.h"
#include "flame_host.h"
#include "flame_map.h"
#include "scene/math3d.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

using namespace emberfold;

namespace
{

constexpr double kPi = 3.14159265358979323846;

std::unique_ptr<FlameDescription> fresh()
{
    std::unique_ptr<FlameDescription> d(new FlameDescription);
    make_default_description(*d);
    return d;
}

// The summed volume of a linear map with determinant det over the 125 sample cubes.
double linear_volume(double det)
{
    return 125.0 * std::fabs(det) * 0.001 / 6.0;
}

} // namespace

TEST(FlameDefault, ThreeHalfScaleMapsAroundACircleColouredBlueRedGreen)
{
    auto d = fresh();
    ASSERT_EQ(d->transformCount, 3);
    EXPECT_FLOAT_EQ(d->transforms[0].translation[0], 1.0f);
    EXPECT_FLOAT_EQ(d->transforms[0].translation[1], 1.0f);
    EXPECT_NEAR(d->transforms[1].translation[0], -1.366f, 1e-3);
    EXPECT_NEAR(d->transforms[2].translation[1], -1.366f, 1e-3);
    EXPECT_FLOAT_EQ(d->transforms[2].colour, 1.0f);
    EXPECT_EQ(d->palette.GetColor(0.0f), 0xff0000ffu);
    EXPECT_EQ(d->palette.GetColor(0.5f), 0xffff0000u);
    EXPECT_EQ(d->palette.GetColor(1.0f), 0xff00ff00u);
    // Equal maps share the draws equally and need no brightness step.
    EXPECT_NEAR(d->selectTable[0], 32767 / 3, 1);
    EXPECT_NEAR(d->selectTable[1], 2 * 32767 / 3, 1);
    EXPECT_EQ(d->selectTable[2], 32767);
    EXPECT_NEAR(d->brightnessStep[1], 0.0f, 1e-5);
    for (int j = 0; j < 3; ++j)
        EXPECT_FALSE(is_animated(d->transforms[j]));
}

TEST(FlameFile, CountFirstFileHasNoSymmetryBlock)
{
    FlameHost host;
    auto transforms = triangle_transforms();
    transforms[1].weight = 2;
    transforms[2].variations[3] = 0.25f;
    // A trailing number after the palette is not read as a symmetry.
    const std::string name =
        write_file("count_first.flame", description_text(transforms, {{0.25f, -16776961}}) + "3\n");
    auto d = fresh();
    ASSERT_TRUE(read_flame_description(*d, name.c_str()));
    EXPECT_EQ(d->transformCount, 3);
    EXPECT_EQ(d->symmetry, 0);
    EXPECT_FLOAT_EQ(d->transforms[1].weight, 2.0f);
    EXPECT_FLOAT_EQ(d->transforms[2].variations[3], 0.25f);
    EXPECT_FLOAT_EQ(d->transforms[0].translation[1], 1.0f);
    // The palette starts afresh: black, the stop (0xff0000ff as a signed decimal), white.
    ASSERT_EQ(d->palette.count, 3);
    EXPECT_EQ(d->palette.colors[1], 0xff0000ffu);
    EXPECT_EQ(d->palette.colors[0], 0xff000000u);
    EXPECT_TRUE(host.log.empty());
}

TEST(FlameFile, ExtensionBlockGivesTheSymmetryAndPaletteEndsChangeTheEndColours)
{
    FlameHost host;
    std::vector<TransformText> transforms(4);
    const std::string name = write_file(
        "extension.flame",
        description_text(transforms, {{0.0f, int32_t(0xff112233u)}, {1.0f, int32_t(0xff445566u)}, {0.5f, 7}},
                         1, 3));
    auto d = fresh();
    ASSERT_TRUE(read_flame_description(*d, name.c_str()));
    EXPECT_EQ(d->transformCount, 4);
    EXPECT_EQ(d->symmetry, 3);
    EXPECT_EQ(symmetry_count(*d), 2);
    ASSERT_EQ(d->palette.count, 3); // only the 0.5 stop was added
    EXPECT_EQ(d->palette.colors[0], 0xff112233u);
    EXPECT_EQ(d->palette.colors[2], 0xff445566u);

    // Extension flag 0: the count follows, no symmetry is read.
    const std::string plain = write_file("extension0.flame", description_text(transforms, {}, 0) + "5\n");
    auto e = fresh();
    ASSERT_TRUE(read_flame_description(*e, plain.c_str()));
    EXPECT_EQ(e->transformCount, 4);
    EXPECT_EQ(e->symmetry, 0);
}

TEST(FlameFile, MissingFileIsRefusedAndMissingCompanionGivesStaticChannels)
{
    FlameHost host;
    auto d = fresh();
    EXPECT_FALSE(read_flame_description(*d, "no_such_file.flame"));
    EXPECT_EQ(d->transformCount, 3);

    auto transforms = triangle_transforms();
    transforms[0].scale[1] = 0.3f;
    transforms[0].skew[2] = 0.2f;
    const std::string name = write_file("no_companion.flame", description_text(transforms, {}));
    std::remove((name + "ANI").c_str());
    ASSERT_TRUE(read_flame_description(*d, name.c_str()));
    for (int j = 0; j < 3; ++j)
        EXPECT_FALSE(is_animated(d->transforms[j])) << j;
    // Static channels leave every value where it was, whatever the time.
    animate_transform(d->transforms[0], 1234);
    EXPECT_FLOAT_EQ(d->transforms[0].scale[1], 0.3f);
    EXPECT_FLOAT_EQ(d->transforms[0].skew[2], 0.2f);
    EXPECT_FLOAT_EQ(d->transforms[0].translation[1], 1.0f);
    EXPECT_FLOAT_EQ(d->transforms[0].rotation[0], 1.0f);
}

TEST(FlameFile, CompanionAnimatesChannelsAndAShortCompanionLeavesTheRestStatic)
{
    FlameHost host;
    const std::string name = write_file("animated.flame", description_text(triangle_transforms(), {}));
    std::ostringstream ani;
    // Transform 0: scale x from 0.2 to 0.8 on a triangle wave of period 1000; the rest static.
    for (int c = 0; c < 12; ++c)
        ani << (c == 0 ? "0 1000 0.2 0.8\n" : "1 0 0 0\n");
    ani << "1 0 0 0 1 0 0 0 1\n";
    ani << "1 1000 0.5"; // transform 1 ends early
    write_file(name + "ANI", ani.str());
    auto d = fresh();
    ASSERT_TRUE(read_flame_description(*d, name.c_str()));
    EXPECT_TRUE(is_animated(d->transforms[0]));
    EXPECT_FALSE(is_animated(d->transforms[1]));
    EXPECT_FALSE(is_animated(d->transforms[2]));
    animate_transform(d->transforms[0], 500);
    EXPECT_FLOAT_EQ(d->transforms[0].scale[0], 0.8f);
    animate_transform(d->transforms[1], 777);
    EXPECT_FLOAT_EQ(d->transforms[1].scale[0], 0.5f);
    EXPECT_FLOAT_EQ(d->transforms[1].translation[0], triangle_transforms()[1].translation[0]);
    EXPECT_TRUE(host.logged("Emberfold: " + name +
                            "ANI ends early or holds a malformed number; the rest is left as it was"));
}

TEST(FlameFile, DamagedFilesNeverWritePastTheFixedArrays)
{
    FlameHost host;
    // 60 transforms: the first 50 are kept, the other ten skipped so the palette is still found.
    std::vector<TransformText> many(60);
    for (int j = 0; j < 60; ++j)
        many[j].colour = float(j) / 100;
    const std::string tooMany = write_file("too_many.flame", description_text(many, {{0.5f, 0x0000ff}}));
    auto d = fresh();
    ASSERT_TRUE(read_flame_description(*d, tooMany.c_str()));
    EXPECT_EQ(d->transformCount, 50);
    EXPECT_FLOAT_EQ(d->transforms[49].colour, 0.49f);
    EXPECT_EQ(d->palette.GetColor(0.5f), 0x000000ffu);
    EXPECT_TRUE(host.logged("Emberfold: too_many.flame has 60 transforms; only the first 50 are used"));

    // More stops than a palette holds: the palette fills up and the rest are left out.
    std::vector<std::pair<float, int32_t>> stops;
    for (int i = 0; i < 700; ++i)
        stops.push_back({0.001f + float(i) / 1000, i});
    const std::string bigPalette =
        write_file("big_palette.flame", description_text(triangle_transforms(), stops, 1, 2));
    ASSERT_TRUE(read_flame_description(*d, bigPalette.c_str()));
    EXPECT_EQ(d->palette.count, VirtPalette::kMaxColors);
    EXPECT_EQ(d->symmetry, 2); // still read after the palette
    EXPECT_EQ(host.log.size(), 2u);

    // A file that ends in the middle of a transform, or holds a word where a number belongs.
    std::string whole = description_text(triangle_transforms(), {{0.5f, 5}});
    for (const std::string& text : {whole.substr(0, whole.size() / 2), std::string("3\n0.5 0.5 x 0 0 0\n")}) {
        const std::string name = write_file("damaged.flame", text);
        auto e = fresh();
        ASSERT_TRUE(read_flame_description(*e, name.c_str()));
        EXPECT_EQ(e->transformCount, 3);
        EXPECT_EQ(e->selectTable[2], 32767);
    }
    for (const std::string& text : {std::string(""), std::string("-4\n"), std::string("0 1 0\n")}) {
        const std::string name = write_file("empty.flame", text);
        auto e = fresh();
        ASSERT_TRUE(read_flame_description(*e, name.c_str()));
        EXPECT_EQ(e->transformCount, 3) << "kept the default for: " << text;
    }
}

TEST(FlameFile, AFileLongerThanAnyFlameFileIsReadOnlyUpToTheBound)
{
    FlameHost host;
    // Two billion transforms of ones: without a bound the reader would go on skipping for 280 GB.
    std::string ones = "2000000000\n";
    while (ones.size() <= kMaxFlameFileBytes + 4096)
        ones += "1 ";
    const std::string name = write_file("endless.flame", ones);
    auto d = fresh();
    ASSERT_TRUE(read_flame_description(*d, name.c_str()));
    EXPECT_EQ(d->transformCount, 50);
    EXPECT_TRUE(
        host.logged("Emberfold: endless.flame has 2000000000 transforms; only the first 50 are used"));
    EXPECT_TRUE(host.logged("Emberfold: endless.flame is longer than a flame file can be (16777216 bytes); "
                            "the rest is left out"));
    EXPECT_EQ(host.log.size(), 2u);
}

TEST(FlameProbabilities, SymmetryTransformsTakeOneDrawInThreeEach)
{
    auto d = fresh();
    d->transformCount = 4;
    d->symmetry = 3;
    init_transform(d->transforms[3]);
    d->transforms[0].weight = 3; // ordinary 0 weighs three times ordinary 1
    d->transforms[1].weight = 1;
    compute_probabilities(*d);
    int draws[4] = {};
    for (int r = 0; r <= 32767; ++r)
        ++draws[select_transform(*d, r)];
    EXPECT_NEAR(draws[2] / 32768.0, 1.0 / 3, 1e-3);
    EXPECT_NEAR(draws[3] / 32768.0, 1.0 / 3, 1e-3);
    EXPECT_NEAR(draws[0] / 32768.0, 0.25, 1e-3);
    EXPECT_NEAR(draws[1] / 32768.0, 1.0 / 12, 1e-3);
    EXPECT_EQ(d->brightnessStep[2], 0.0f);
    EXPECT_EQ(d->brightnessStep[3], 0.0f);
    EXPECT_NEAR(d->brightnessStep[0], std::log(0.25 / 0.75), 1e-4);

    // A symmetry setting larger than the description keeps one ordinary transform.
    d->symmetry = 40;
    compute_probabilities(*d);
    EXPECT_EQ(symmetry_count(*d), 3);
    EXPECT_EQ(d->selectTable[3], 32767);
}

TEST(FlameProbabilities, ATransformOfNoVolumeStillGetsTheMinimumWeight)
{
    auto d = fresh();
    d->transformCount = 2;
    d->transforms[0].weight = 0;
    d->transforms[1].weight = 1;
    compute_probabilities(*d);
    const double v = linear_volume(0.125);
    EXPECT_NEAR(d->selectTable[0], 32767 * 0.0005 / (0.0005 + v), 1.0);
    EXPECT_NEAR(d->brightnessStep[0], std::log(0.5 / (0.0005 / (0.0005 + v))), 1e-3);
    EXPECT_LT(d->brightnessStep[1], 0.0f);

    // A flat map (scale 0 along z) has no volume either.
    d->transforms[0].weight = 1;
    d->transforms[0].scale[2] = 0;
    compute_probabilities(*d);
    EXPECT_NEAR(d->selectTable[0], 32767 * 0.0005 / (0.0005 + v), 1.0);
}

TEST(FlameMap, PlanarTermsUseTheQuotientArctangentAndPassTheThirdCoordinate)
{
    FlameTransform t;
    init_transform(t);
    t.scale[0] = t.scale[1] = t.scale[2] = 1;
    t.variations[0] = 0;
    t.variations[11] = 2; // polar in the (x, y) plane, z passed through
    compute_matrix(t);
    const float p[3] = {-1, 1, 5};
    float o[3];
    apply_transform(t, p, o);
    // atan(1 / -1) = -pi/4 (a four-quadrant angle would be 3pi/4).
    EXPECT_NEAR(o[0], 2 * (-kPi / 4) / kPi, 1e-5);
    EXPECT_NEAR(o[1], 2 * (std::sqrt(2.0) - 1), 1e-5);
    EXPECT_NEAR(o[2], 5, 1e-5);

    // Spherical and sinusoidal together, after the affine step; each planar slot passes its coordinate.
    init_transform(t);
    t.variations[0] = 0;
    t.variations[1] = 1;
    t.variations[2] = 1;
    t.translation[0] = 1;
    compute_matrix(t);
    const float q[3] = {2, 0, 0};
    apply_transform(t, q, o);
    EXPECT_NEAR(o[0], std::sin(2.0) + 2 / 2.0001, 1e-5);
    t.variations[4] = 1; // (x, z) plane passes y: y = 0 stays, x gains r cos(r + theta)
    apply_transform(t, q, o);
    EXPECT_NEAR(o[0], std::sin(2.0) + 2 / 2.0001 + 2 * std::cos(2.0), 1e-5);
    EXPECT_NEAR(o[1], 0, 1e-6);

    // The centre of a plane gives finite values, even for the terms that divide by r.
    init_transform(t);
    t.scale[0] = t.scale[1] = t.scale[2] = 0;
    for (int s = 1; s < 36; ++s)
        t.variations[s] = 1;
    compute_matrix(t);
    apply_transform(t, p, o);
    EXPECT_TRUE(std::isfinite(o[0]) && std::isfinite(o[1]) && std::isfinite(o[2]));
}

TEST(FlameAnimation, SineAndTriangleWavesRunFromLowToHighAndBack)
{
    for (int wave : {1, 0}) {
        FlameTransform t;
        init_transform(t);
        t.channelWave[kChannelTranslation + 1] = wave;
        t.channelPeriod[kChannelTranslation + 1] = 1000;
        t.channelLow[kChannelTranslation + 1] = 1;
        t.channelHigh[kChannelTranslation + 1] = 3;
        const float expected[5][2] = {{0, 1}, {250, 2}, {500, 3}, {750, 2}, {1000, 1}};
        for (const auto& e : expected) {
            animate_transform(t, int32_t(e[0]));
            EXPECT_NEAR(t.translation[1], e[1], 1e-5) << "wave " << wave << " t " << e[0];
        }
        animate_transform(t, 100);
        EXPECT_NEAR(t.translation[1], wave ? 1 + (1 - std::cos(0.2 * kPi)) : 1.4, 1e-5);
    }
}

TEST(FlameAnimation, RotationChannelsTurnTheBaseRotation)
{
    FlameTransform t;
    init_transform(t);
    // Full turn about z: high 2 pi, period 1000, continuous over period boundaries.
    t.channelPeriod[kChannelRotation + 2] = 1000;
    t.channelHigh[kChannelRotation + 2] = 2 * kPi;
    float expected[9];
    for (int time : {0, 250, 500, 999, 1250}) {
        animate_transform(t, time);
        make_rotz_mat(expected, float(2 * kPi * (time % 1000) / 1000.0));
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(t.rotation[i], expected[i], 1e-5) << "t " << time << " element " << i;
    }
    // A half-turn swing on the sine wave about x, from the base rotation.
    init_transform(t);
    make_rotz_mat(expected, 0.5f);
    for (int i = 0; i < 9; ++i)
        t.baseRotation[i] = expected[i];
    t.channelPeriod[kChannelRotation] = 1000;
    t.channelHigh[kChannelRotation] = 1.0;
    for (const auto& e : {std::pair<int, float>{0, 0.0f}, {250, 0.5f}, {500, 1.0f}}) {
        animate_transform(t, e.first);
        float turn[9], want[9];
        make_rotz_mat(want, 0.5f);
        make_rotx_mat(turn, e.second);
        mul_mat_self_mat(turn, want);
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(t.rotation[i], want[i], 1e-5) << "t " << e.first;
    }
}
