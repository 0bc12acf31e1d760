// GetParam from inside an effect call, and the dispatcher on effects declaring fixed parameter lists.
#include <gtest/gtest.h>

#include <cstdarg>

#include "dispatch.h"
#include "timeline.h"

namespace
{

int32_t gSeen[4];

bool read_back(StateStruct* state, void**, int32_t a0, int32_t a1)
{
    gSeen[0] = a0;
    gSeen[1] = a1;
    gSeen[2] = state->GetParam(int32_t(state->startTime + 500), 1); // a quarter period later
    gSeen[3] = state->GetParam(state->startTime, 2);                // no such word
    return true;
}

int gExpectedCount;

bool check_words(StateStruct*, void** privateData, ...)
{
    va_list args;
    va_start(args, privateData);
    bool ok = true;
    for (int i = 0; i < gExpectedCount; ++i)
        ok = ok && va_arg(args, int32_t) == i * 7 + gExpectedCount;
    va_end(args);
    return ok;
}

bool sum_three(StateStruct* state, void** privateData, int32_t a, int32_t b, int32_t c)
{
    *privateData = state;
    return a + b + c == 6;
}

} // namespace

TEST(GetParam, EvaluatesTheCurrentEventsWordAtTheGivenTime)
{
    Demo demo;
    Event event;
    event.startTime = 1000;
    event.endTime = 5000;
    event.function = reinterpret_cast<EffectFn>(&read_back);
    event.params.resize(2);
    event.params[0].value = 42;
    event.params[1].kind = kParamSine;
    event.params[1].ampli = 100;
    event.params[1].period = 2000;
    demo.tracks.resize(1);
    demo.tracks[0].events.push_back(std::move(event));
    Timeline timeline(demo);

    ASSERT_TRUE(timeline.run_frame(1000));
    EXPECT_EQ(gSeen[0], 42);
    EXPECT_EQ(gSeen[1], 0);
    EXPECT_EQ(gSeen[2], 99); // trunc(sin(1.570795) * 100)
    EXPECT_EQ(gSeen[3], 0);
    // Outside an effect call no event is current.
    EXPECT_EQ(timeline_get_param(1500, 1), 0);
}

TEST(Dispatch, PassesExactlyTheWordsToAFixedParameterList)
{
    StateStruct state{};
    void* slot = nullptr;
    const int32_t words[] = {1, 2, 3};
    EXPECT_TRUE(dispatch_effect(reinterpret_cast<EffectFn>(&sum_three), &state, &slot, words, 3));
    EXPECT_EQ(slot, &state);
    EXPECT_FALSE(
        dispatch_effect(reinterpret_cast<EffectFn>(&sum_three), &state, &slot, words, kMaxEffectWords + 1));
    EXPECT_FALSE(dispatch_effect(reinterpret_cast<EffectFn>(&sum_three), &state, &slot, words, -1));
    EXPECT_FALSE(dispatch_effect(nullptr, &state, &slot, words, 3));
}

TEST(Dispatch, EveryCountFromNoneToTheLimitArrivesInOrder)
{
    StateStruct state{};
    void* slot = nullptr;
    int32_t words[kMaxEffectWords];
    for (gExpectedCount = 0; gExpectedCount <= kMaxEffectWords; ++gExpectedCount) {
        for (int i = 0; i < gExpectedCount; ++i)
            words[i] = i * 7 + gExpectedCount;
        EXPECT_TRUE(dispatch_effect(&check_words, &state, &slot, words, gExpectedCount)) << gExpectedCount;
    }
}
