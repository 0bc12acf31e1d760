// Parameter evaluation: constants, sine waves, combinations and rotations against hand-computed values.
#include <climits>

#include <gtest/gtest.h>

#include "param_builders.h"

TEST(ParamConstant, IsItsValueAtAnyTimeAndConstant)
{
    const Evaluation e = evaluate(params(constant(-7)), 0, 123456, 1000);
    EXPECT_EQ(e.words, 1);
    EXPECT_EQ(e.values[0], -7);
    EXPECT_TRUE(e.constant);
}

TEST(ParamSine, FollowsTheWaveFromTheEventStartAndIsNotConstant)
{
    // sin(250 * 6.28318 / 1000) = sin(1.570795) = 0.99999999..., times 100, truncated.
    const Evaluation e = evaluate(params(sine(100, 1000, 0, 0)), 0, 10250, 10000);
    EXPECT_EQ(e.values[0], 99);
    EXPECT_FALSE(e.constant);
    EXPECT_EQ(value_at(sine(100, 1000, 250, 0), 10000, 10000), 99); // the offset shifts the phase
    EXPECT_EQ(value_at(sine(100, 1000, 0, 50), 10250, 10000), 149); // the height lifts it
    EXPECT_EQ(value_at(sine(100, 1000, 0, 0), 10750, 10000), -99);  // truncated toward zero
    EXPECT_EQ(value_at(sine(1000, 1000, 0, 0), 10500, 10000), 0);   // 6.28318 is a little short of 2 pi
}

TEST(ParamSine, DegenerateWavesGiveDefinedWords)
{
    EXPECT_EQ(value_at(sine(100, 0, 0, 7), 500), 7); // no period: only the height
    EXPECT_EQ(value_at(sine(INT_MAX, 1000, 0, INT_MAX), 250), INT_MAX);
    EXPECT_EQ(value_at(sine(INT_MAX, 1000, 0, INT_MIN), 750), INT_MIN);
}

TEST(ParamCombi, CombinesItsOperandsWithThirtyTwoBitArithmetic)
{
    EXPECT_EQ(value_at(combi(kCombiMultiply, constant(5000), constant(300)), 0), 150);
    EXPECT_EQ(value_at(combi(kCombiMultiply, constant(-5000), constant(3)), 0), -1); // truncating division
    EXPECT_EQ(value_at(combi(kCombiAdd, constant(5), constant(-8)), 0), -3);
    EXPECT_EQ(value_at(combi(kCombiNegate, constant(5)), 0), -5);
    EXPECT_EQ(value_at(combi(kCombiAbs, constant(-5)), 0), 5);
    EXPECT_EQ(value_at(combi(kCombiAdd, constant(INT_MAX), constant(1)), 0), INT_MIN);
    EXPECT_EQ(value_at(combi(kCombiMultiply, constant(65536), constant(65536)), 0), 0);
    EXPECT_EQ(value_at(combi(kCombiNegate, constant(INT_MIN)), 0), INT_MIN);
    EXPECT_EQ(value_at(combi(kCombiAbs, constant(INT_MIN)), 0), INT_MIN);
    EXPECT_EQ(value_at(combi(7, constant(1), constant(2)), 0), 0); // no such operation
}

TEST(ParamCombi, IsConstantOnlyWhenEveryOperandIs)
{
    EXPECT_TRUE(evaluate(params(combi(kCombiAdd, constant(1), constant(2))), 0, 0).constant);
    EXPECT_FALSE(evaluate(params(combi(kCombiAdd, constant(1), sine(1, 100, 0, 0))), 0, 0).constant);
    EXPECT_FALSE(evaluate(params(combi(kCombiAbs, sine(1, 100, 0, 0))), 0, 0).constant);
    EXPECT_TRUE(evaluate(params(combi(kCombiAbs, multi(kInterpolLin, {4}, {}))), 0, 0).constant);
}

TEST(ParamCombi, EvaluatesNestedTreesAtTheSameTime)
{
    // -(line from 0 to 1000 over 1000 ms) + 10, at 250 ms into the event.
    Param tree = combi(kCombiAdd, combi(kCombiNegate, multi(kInterpolLin, {0, 1000}, {1000})), constant(10));
    const Evaluation e = evaluate(params(std::move(tree)), 0, 5250, 5000);
    EXPECT_EQ(e.values[0], -240);
    EXPECT_FALSE(e.constant);
}

TEST(ParamCombi, OperandsThatNeedFollowingParametersAreFatal)
{
    EXPECT_THROW(evaluate(params(combi(kCombiAbs, of_kind(kParamRotate))), 0, 0), BasicException);
    EXPECT_THROW(evaluate(params(combi(kCombiAbs, multi(kInterpolSqd, {0, 1}, {10}))), 0, 0), BasicException);
}

TEST(ParamRotate, ZeroAnglesAreTheIdentityQuaternion)
{
    const Evaluation e = evaluate(params(of_kind(kParamRotate), constant(0), constant(0), constant(0)), 0, 0);
    EXPECT_EQ(e.words, 4);
    EXPECT_EQ(e.values, (std::vector<int32_t>{0, 0, 0, 100000}));
    EXPECT_TRUE(e.constant);
}

TEST(ParamRotate, EachAxisTurnsItsOwnComponent)
{
    // A quarter turn (1570.796 mrad) about one axis gives sin 45 = cos 45 = 0.70710678, scaled; 1571 mrad
    // is a little over, which moves the words by 7. The y matrix turns the other way round from x and z.
    auto rotate = [](int32_t x, int32_t y, int32_t z) {
        return evaluate(params(of_kind(kParamRotate), constant(x), constant(y), constant(z)), 0, 0).values;
    };
    const std::vector<int32_t> aboutX = rotate(1571, 0, 0);
    EXPECT_NEAR(aboutX[0], 70711, 10);
    EXPECT_EQ(aboutX[1], 0);
    EXPECT_EQ(aboutX[2], 0);
    EXPECT_NEAR(aboutX[3], 70711, 10);
    const std::vector<int32_t> aboutY = rotate(0, 1571, 0);
    EXPECT_NEAR(aboutY[1], -70711, 10);
    EXPECT_NEAR(aboutY[3], 70711, 10);
    const std::vector<int32_t> aboutZ = rotate(0, 0, 1571);
    EXPECT_NEAR(aboutZ[2], 70711, 10);
    EXPECT_NEAR(aboutZ[3], 70711, 10);
}

TEST(ParamRotate, AppliesXThenYThenZ)
{
    // M = Rz(90) * Ry(90) * Rx(0): its quaternion is qz * qy = (s, -s, s, s) * 0.5 with s = 1 (scaled by
    // 100000: a quarter turn is (0, 0, 0.7071, 0.7071) about z and (0, -0.7071, 0, 0.7071) about y).
    const Evaluation e =
        evaluate(params(of_kind(kParamRotate), constant(0), constant(1571), constant(1571)), 0, 0);
    ASSERT_EQ(e.values.size(), 4u);
    EXPECT_NEAR(e.values[0], 50000, 60);
    EXPECT_NEAR(e.values[1], -50000, 60);
    EXPECT_NEAR(e.values[2], 50000, 60);
    EXPECT_NEAR(e.values[3], 50000, 60);
}

TEST(ParamRotate, FollowsAnimatedAnglesAndIsThenNotConstant)
{
    std::vector<Param> list = params(constant(3), of_kind(kParamRotate),
                                     multi(kInterpolLin, {0, 3142}, {1000}), constant(0), constant(0));
    const Evaluation e = evaluate(list, 1, 500);
    EXPECT_NEAR(e.values[0], 70711, 30);
    EXPECT_FALSE(e.constant);
}

TEST(ParamRotate, WithoutThreeAngleParametersIsFatal)
{
    EXPECT_THROW(evaluate(params(of_kind(kParamRotate), constant(0), constant(0)), 0, 0), BasicException);
    EXPECT_THROW(evaluate(params(constant(0), of_kind(kParamRotate)), 1, 0), BasicException);
}
