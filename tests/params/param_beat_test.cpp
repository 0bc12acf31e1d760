// Beat and loops parameters, reading 'BEAT' patterns through the real registry from a test producer.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <vortel/records.h>

#include "param_builders.h"
#include "registry.h"
#include "services.h"

namespace
{

// Texts: 0 names the pattern the producer has, 1 a name it does not know.
const std::vector<std::string> kTexts = {"beat", "nobeat"};

BeatRecord g_beat;
int g_acquires = 0, g_releases = 0;
std::vector<std::string> g_messages;

void* acquire_beat(const char* name, void* userData, bool* outFlag)
{
    EXPECT_EQ(userData, nullptr);
    EXPECT_NE(outFlag, nullptr);
    if (std::strcmp(name, "beat") != 0)
        return nullptr;
    ++g_acquires;
    return &g_beat;
}

bool release_beat(const char* name, void* resource)
{
    EXPECT_STREQ(name, "beat");
    EXPECT_EQ(resource, nullptr);
    ++g_releases;
    return true;
}

void collect_message(const char* text)
{
    g_messages.push_back(text);
}

class BeatParam : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        set_texts(&kTexts);
        registry_set_sink(collect_message);
        RegisterType(kTypeBeat, acquire_beat, release_beat);
    }

    void SetUp() override
    {
        // Four beats of 250 ms per 1000 ms bar, rising on beats 0 and 2, from 1 s to 9 s.
        g_beat = BeatRecord{};
        g_beat.start = 1000;
        g_beat.length = 8000;
        g_beat.count = 4;
        const double values[] = {0, 1, 0, 1, 0};
        for (int i = 0; i < 4; ++i)
            g_beat.beatLengths[i] = 250;
        for (int i = 0; i < 5; ++i)
            g_beat.beatValues[i] = values[i];
        g_beat.bar = 1000;
        g_acquires = g_releases = 0;
        g_messages.clear();
    }

    static int32_t beat_at(uint32_t t, int32_t textIndex = 0)
    {
        return value_at(of_kind(kParamBeat, textIndex, 10, 100), t, 500);
    }
    static int32_t loops_at(uint32_t t, int32_t textIndex = 0)
    {
        return value_at(of_kind(kParamLoops, textIndex), t, 500);
    }
};

} // namespace

TEST_F(BeatParam, FollowsThePatternBetweenMinAndMinPlusMax)
{
    EXPECT_EQ(beat_at(1125), 60);  // halfway up beat 0
    EXPECT_EQ(beat_at(1250), 110); // top of beat 1
    EXPECT_EQ(beat_at(2375), 60);  // halfway down beat 1 of the second bar
    EXPECT_EQ(beat_at(9000), 10);  // the last moment of the pattern: start of a bar
    EXPECT_FALSE(evaluate(params(of_kind(kParamBeat, 0, 10, 100)), 0, 1125).constant);
}

TEST_F(BeatParam, OutsideThePatternIsTheMinimum)
{
    EXPECT_EQ(beat_at(999), 10);
    EXPECT_EQ(beat_at(9001), 10);
    g_beat.count = 0;
    EXPECT_EQ(beat_at(1125), 10);
}

TEST_F(BeatParam, TheOffsetShiftsTheDemoTime)
{
    g_beat.offset = 100;
    EXPECT_EQ(beat_at(1025), 60);
}

TEST_F(BeatParam, CubicPatternsUseTheBezierShape)
{
    // Beat 0 rises from 0 to 1 and beat 1 falls back: P1 = 1/3, P2 = P3 = 1; B(0.5) = 0.625.
    g_beat.cubic = true;
    EXPECT_EQ(beat_at(1125), 72);
}

TEST_F(BeatParam, EveryEvaluationAcquiresAndReleasesOnce)
{
    beat_at(1125);
    loops_at(3500);
    EXPECT_EQ(g_acquires, 2);
    EXPECT_EQ(g_releases, 2);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(BeatParam, AMissingPatternIsLoggedEveryTimeAndGivesTheMinimum)
{
    EXPECT_EQ(beat_at(1125, 1), 10);
    EXPECT_EQ(beat_at(1125, 1), 10);
    EXPECT_EQ(loops_at(3500, 1), 0);
    EXPECT_EQ(g_messages, (std::vector<std::string>(3, "VortelEdit could not find the Beat named nobeat")));
    EXPECT_EQ(g_releases, 0);
    g_messages.clear();
    EXPECT_EQ(beat_at(1125, 9), 10);
    EXPECT_EQ(g_messages, (std::vector<std::string>{"VortelEdit could not find the name for the Beat nr 9"}));
}

TEST_F(BeatParam, LoopsCountsWholeBarsSinceTheStartUpToTheLength)
{
    EXPECT_EQ(loops_at(500), 0);
    EXPECT_EQ(loops_at(1000), 0);
    EXPECT_EQ(loops_at(3500), 2);
    EXPECT_EQ(loops_at(20000), 8);
    EXPECT_FALSE(evaluate(params(of_kind(kParamLoops, 0)), 0, 3500).constant);
}

TEST_F(BeatParam, BrokenPatternsGiveDefinedValues)
{
    g_beat.count = 40; // more beats than a pattern holds
    EXPECT_EQ(beat_at(1125), 10);
    g_beat.count = 4;
    g_beat.bar = 0;
    EXPECT_EQ(beat_at(1125), 10);
    EXPECT_EQ(loops_at(3500), 0);
    g_beat.bar = 1000;
    for (int i = 0; i < 4; ++i)
        g_beat.beatLengths[i] = 0;
    const int32_t flat = beat_at(1125);
    EXPECT_GE(flat, 10);
    EXPECT_LE(flat, 110);
}
