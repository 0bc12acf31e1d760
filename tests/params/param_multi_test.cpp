// Multi parameters: key chains with linear, cubic and quaternion interpolation.
#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "param_builders.h"

namespace
{

// The segment search as first written down: walk the segments from the event's start.
int32_t linear_reference(const Param& m, uint32_t t, uint32_t eventStart)
{
    const uint64_t at = std::max(t, eventStart);
    uint64_t v = eventStart;
    size_t i = 0;
    for (; i < m.lengths.size(); ++i) {
        if (at < v + m.lengths[i])
            break;
        v += m.lengths[i];
    }
    if (i == m.lengths.size())
        return m.keys[i];
    return int32_t((double(m.keys[i + 1]) - m.keys[i]) * double(at - v) / m.lengths[i] + m.keys[i]);
}

std::vector<Param> quaternion_keys(const std::vector<std::vector<int32_t>>& keys,
                                   std::vector<uint32_t> lengths)
{
    std::vector<Param> list;
    for (int c = 0; c < 4; ++c) {
        std::vector<int32_t> component;
        for (const auto& key : keys)
            component.push_back(key[c]);
        list.push_back(multi(kInterpolSqd, component, lengths));
    }
    return list;
}

void expect_words_near(const std::vector<int32_t>& actual, const std::vector<int32_t>& expected,
                       int tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "word " << i;
}

} // namespace

TEST(ParamLinear, AnUntypedParamRunsFromStartToEndOverTheEvent)
{
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 1000}, {2000}), 3000, 2000), 500);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 1000}, {2000}), 4000, 2000), 1000);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 1000}, {2000}), 90000, 2000), 1000);
}

TEST(ParamLinear, WalksTheSegmentsAndHoldsTheLastKey)
{
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 100, 100}, {1000, 1000}), 500), 50);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 100, 100}, {1000, 1000}), 1500), 100);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 100, 100}, {1000, 1000}), 2500), 100);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, -100}, {1000}), 333), -33); // truncated toward zero
}

TEST(ParamLinear, ZeroLengthSegmentsAreJumpsAndNeverDivideByZero)
{
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 50, 100, 200}, {1000, 0, 1000}), 999), 49);
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 50, 100, 200}, {1000, 0, 1000}), 1000), 100);
    EXPECT_EQ(value_at(multi(kInterpolLin, {7, 9}, {0}), 0), 9);
}

TEST(ParamLinear, IsConstantOnlyWithoutSegments)
{
    const Evaluation single = evaluate(params(multi(kInterpolLin, {42}, {})), 0, 5000, 100);
    EXPECT_EQ(single.values[0], 42);
    EXPECT_TRUE(single.constant);
    EXPECT_FALSE(evaluate(params(multi(kInterpolLin, {42, 42}, {10})), 0, 5000).constant);
}

TEST(ParamLinear, TimesBeforeTheEventStartHoldTheFirstKey)
{
    EXPECT_EQ(value_at(multi(kInterpolLin, {10, 20}, {100}), 500, 1000), 10);
}

TEST(ParamLinear, ChainsLongerThan32BitsOfMillisecondsDoNotWrapAround)
{
    const Param chain = multi(kInterpolLin, {0, 100, 200}, {4000000000u, 4000000000u});
    EXPECT_EQ(value_at(multi(kInterpolLin, {0, 100, 200}, {4000000000u, 4000000000u}), 4294967295u), 107);
    EXPECT_EQ(chain.segmentEnds[1], 8000000000u);
}

TEST(ParamLinear, TheSegmentSearchGivesExactlyTheWalkingResult)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        const size_t n = random() % 40;
        std::vector<int32_t> keys;
        std::vector<uint32_t> lengths;
        keys.push_back(int32_t(random() % 2000001) - 1000000);
        for (size_t i = 0; i < n; ++i) {
            lengths.push_back(random() % 3 == 0 ? 0 : random() % 500);
            keys.push_back(int32_t(random() % 2000001) - 1000000);
        }
        const Param m = multi(kInterpolLin, keys, lengths);
        const uint32_t eventStart = random() % 10000;
        std::vector<uint32_t> times = {0, eventStart, eventStart + 1};
        uint32_t end = eventStart;
        for (uint32_t length : lengths) {
            end += length;
            times.insert(times.end(), {end - 1, end, end + 1});
        }
        for (int k = 0; k < 50; ++k)
            times.push_back(eventStart + random() % (end - eventStart + 100));
        const std::vector<Param> list = params(multi(kInterpolLin, keys, lengths));
        for (uint32_t t : times)
            ASSERT_EQ(evaluate(list, 0, t, eventStart).values[0], linear_reference(m, t, eventStart))
                << "round " << round << " t " << t;
    }
}

TEST(ParamBezier, ASegmentBetweenEqualKeysIsFlatWhateverItsNeighbours)
{
    for (uint32_t t : {1000u, 1250u, 1999u})
        EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 300, -900}, {1000, 1000, 1000}), t), 300);
}

TEST(ParamBezier, StartsEachSegmentAtItsFirstKey)
{
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 900}, {1000, 1000}), 0), 0);
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 900}, {1000, 1000}), 1000), 300);
}

TEST(ParamBezier, ShapesTangentsFromTheNeighbouringSlopes)
{
    // Alone: control points 0, 100, 200, 300; B(0.5) = 150.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300}, {1000}), 500), 150);
    // The next segment is flat: P2 = P3 = 300, B(0.5) = 0.375 * 100 + 0.375 * 300 + 0.125 * 300 = 187.5.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 300}, {1000, 1000}), 500), 187);
    // The next segment turns back: the same.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 0}, {1000, 1000}), 500), 187);
    // The next segment is steeper: P2 stays 200.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 900}, {1000, 1000}), 500), 150);
    // Steeper than the segment before: P1 = 300 + (300 - 0) / 3 = 400, P2 = 700;
    // B(0.5) = 0.125 * 300 + 0.375 * 400 + 0.375 * 700 + 0.125 * 900 = 562.5.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 900}, {1000, 1000}), 1500), 562);
    // A neighbour of zero length counts as 1 ms long: steep, so the tangent is kept.
    EXPECT_EQ(value_at(multi(kInterpolBez, {0, 300, 600}, {1000, 0}), 500), 150);
}

TEST(ParamSqd, SlerpsBetweenQuaternionKeys)
{
    // From the identity to a quarter turn about z: halfway is an eighth turn, (0, 0, sin 22.5, cos 22.5).
    const std::vector<Param> list = quaternion_keys({{0, 0, 0, 100000}, {0, 0, 70711, 70711}}, {1000});
    const Evaluation half = evaluate(list, 0, 1500, 1000);
    EXPECT_EQ(half.words, 4);
    EXPECT_FALSE(half.constant);
    expect_words_near(half.values, {0, 0, 38268, 92387}, 1);
    expect_words_near(evaluate(list, 0, 1000, 1000).values, {0, 0, 0, 100000}, 1);
    // Past the end: the last keys as written.
    EXPECT_EQ(evaluate(list, 0, 2000, 1000).values, (std::vector<int32_t>{0, 0, 70711, 70711}));
}

TEST(ParamSqd, InteriorSegmentsUseTheirOwnKeys)
{
    const std::vector<Param> list =
        quaternion_keys({{0, 0, 0, 100000}, {0, 0, 70711, 70711}, {0, 0, 100000, 0}}, {1000, 1000});
    expect_words_near(evaluate(list, 0, 1500).values, {0, 0, 92387, 38268}, 1);
}

TEST(ParamSqd, WithoutSegmentsIsConstant)
{
    const Evaluation e = evaluate(quaternion_keys({{1, 2, 3, 4}}, {}), 0, 777);
    EXPECT_TRUE(e.constant);
    EXPECT_EQ(e.values, (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(ParamSqd, KeysFacingAwayFromEachOtherStillGiveUnitQuaternions)
{
    const std::vector<Param> list =
        quaternion_keys({{0, 0, 0, 100000}, {0, 0, 100000, 0}, {0, 0, 0, -100000}}, {1000, 1000});
    for (uint32_t t : {250u, 750u, 1250u, 1750u}) {
        const std::vector<int32_t> q = evaluate(list, 0, t).values;
        const double length = std::sqrt(double(q[2]) * q[2] + double(q[3]) * q[3]);
        EXPECT_NEAR(length, 100000, 5) << "t " << t;
    }
}

TEST(ParamSqd, NeedsThreeFollowingMultisWithAsManySegments)
{
    std::vector<Param> three = quaternion_keys({{0, 0, 0, 1}, {0, 0, 1, 1}}, {10});
    three.pop_back();
    EXPECT_THROW(evaluate(three, 0, 5), BasicException);

    std::vector<Param> constantAfter = quaternion_keys({{0, 0, 0, 1}, {0, 0, 1, 1}}, {10});
    constantAfter[2] = constant(0);
    EXPECT_THROW(evaluate(constantAfter, 0, 5), BasicException);

    std::vector<Param> otherCount = quaternion_keys({{0, 0, 0, 1}, {0, 0, 1, 1}}, {10});
    otherCount[3] = multi(kInterpolSqd, {0, 1, 2}, {10, 10});
    EXPECT_THROW(evaluate(otherCount, 0, 5), BasicException);
    EXPECT_THROW(evaluate(otherCount, 0, 500), BasicException); // past the end as well

    // Any multi will do as a component, and the sqd need not come first.
    std::vector<Param> shifted = params(constant(9));
    for (Param& p : quaternion_keys({{0, 0, 0, 100000}, {0, 0, 70711, 70711}}, {1000}))
        shifted.push_back(std::move(p));
    shifted[2].interpolation = kInterpolLin;
    expect_words_near(evaluate(shifted, 1, 500).values, {0, 0, 38268, 92387}, 1);
}
