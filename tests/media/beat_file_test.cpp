// Beat files: what a pattern file says, what is refused and why, and the 'BEAT' resource made from one.
#include "beat_file.h"
#include "media_session.h"

#include <gtest/gtest.h>

namespace
{

const char* kExample = "# four on the floor, the last beat twice as long\n"
                       "start  1000\n"
                       "length 60000\n"
                       "offset -20   # played a little early\n"
                       "bar    2000\n"
                       "cubic  1\n"
                       "beat   400  0\n"
                       "beat   400  100\n"
                       "beat   400  0\n"
                       "beat   800  50.5\n"
                       "end    0\n";

TEST(BeatFile, ReadsEveryFieldOfAPattern)
{
    BeatRecord beat{};
    std::string error;
    ASSERT_TRUE(media::parse_beat_text(kExample, beat, error)) << error;
    EXPECT_EQ(beat.start, 1000);
    EXPECT_EQ(beat.length, 60000);
    EXPECT_EQ(beat.offset, -20);
    EXPECT_EQ(beat.bar, 2000);
    EXPECT_TRUE(beat.cubic);
    ASSERT_EQ(beat.count, 4);
    EXPECT_EQ(beat.beatLengths[3], 800);
    EXPECT_EQ(beat.beatValues[1], 100);
    EXPECT_EQ(beat.beatValues[3], 50.5);
    EXPECT_EQ(beat.beatValues[4], 0); // the closing value
}

TEST(BeatFile, OffsetAndCubicMayBeLeftOut)
{
    BeatRecord beat{};
    std::string error;
    ASSERT_TRUE(media::parse_beat_text("start 0\nlength 10\nbar 5\nbeat 5 1\nend 2\n", beat, error)) << error;
    EXPECT_EQ(beat.offset, 0);
    EXPECT_FALSE(beat.cubic);
    EXPECT_EQ(beat.count, 1);
    EXPECT_EQ(beat.beatValues[1], 2);
}

std::string with_beats(int n)
{
    std::string text = "start 0\nlength 1000\nbar 100\n";
    for (int i = 0; i < n; ++i)
        text += "beat 10 " + std::to_string(i) + "\n";
    return text + "end 0\n";
}

TEST(BeatFile, ThirtyTwoBeatsFitAndTheThirtyThirdIsRefused)
{
    BeatRecord beat{};
    std::string error;
    ASSERT_TRUE(media::parse_beat_text(with_beats(32), beat, error)) << error;
    EXPECT_EQ(beat.count, 32);
    EXPECT_EQ(beat.beatValues[31], 31);
    EXPECT_FALSE(media::parse_beat_text(with_beats(33), beat, error));
    EXPECT_EQ(error, "line 36: more than 32 beats");
}

TEST(BeatFile, BrokenPatternsAreRefusedNamingTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"start 0\nlength 10\nbeat 5 1\nend 0\n", "line 4: 'start', 'length' and 'bar' are required"},
        {"start 0\nlength 10\nbar 0\nbeat 5 1\nend 0\n", "line 3: 'bar' needs a positive length"},
        {"start 0\nlength 10\nbar 5\nbeat 0 1\nend 0\n",
         "line 4: 'beat' needs a positive length and a value"},
        {"start 0\nlength 10\nbar 5\nbeat 5\nend 0\n", "line 4: 'beat' needs a positive length and a value"},
        {"start 0\nlength 10\nbar 5\nbeat 5 nan\nend 0\n",
         "line 4: 'beat' needs a positive length and a value"},
        {"start 0.5\nlength 10\nbar 5\nbeat 5 1\nend 0\n",
         "line 1: 'start' needs a whole number of milliseconds"},
        {"start 0\nlength 1e12\nbar 5\nbeat 5 1\nend 0\n",
         "line 2: 'length' needs a whole number of milliseconds"},
        {"start 0\nlength -1\nbar 5\nbeat 5 1\nend 0\n",
         "line 2: 'length' needs a whole number of milliseconds"},
        {"start 0\nstart 1\n", "line 2: 'start' given twice"},
        {"start 0\nlength 10\nbar 5 5\n", "line 3: 'bar' needs a positive length"},
        {"start 0\nlength 10\nbar 5\ncubic 2\n", "line 4: 'cubic' needs 0 or 1"},
        {"start 0\nlength 10\nbar 5\ntempo 120\n", "line 4: unknown word 'tempo'"},
        {"start 0\nlength 10\nbar 5\nend 0\n", "line 4: 'end' before any 'beat'"},
        {"start 0\nlength 10\nbar 5\nbeat 5 1\n",
         "line 4: the pattern needs at least one 'beat' and a closing 'end'"},
        {"start 0\nlength 10\nbar 5\nbeat 5 1\nend 0\nbeat 5 1\n", "line 6: nothing may follow 'end'"},
        {"", "line 0: 'start', 'length' and 'bar' are required"},
    };
    for (const auto& [text, reason] : cases) {
        BeatRecord beat{};
        std::string error;
        EXPECT_FALSE(media::parse_beat_text(text, beat, error)) << text;
        EXPECT_EQ(error, reason) << text;
    }
}

TEST(BeatResource, AFileBecomesAStaticPatternAndABrokenOneIsReportedOnce)
{
    MediaSession& session = MediaSession::get();
    session.take_log();
    write_file("pattern.beat", kExample);
    bool isStatic = false;
    auto* beat = static_cast<BeatRecord*>(MediaSession::get().services.AcquireByName(
        kTypeBeat, "pattern.beat", nullptr, false, "test", "Beat", &isStatic));
    ASSERT_NE(beat, nullptr);
    EXPECT_TRUE(isStatic);
    EXPECT_EQ(beat->count, 4);
    EXPECT_NE(MediaSession::get().services.ReleaseByName(kTypeBeat, "pattern.beat", nullptr), 0);
    // Read once: the same record comes back on the next frame's evaluation.
    EXPECT_EQ(MediaSession::get().services.AcquireByName(kTypeBeat, "pattern.beat", nullptr, false, "test",
                                                         "Beat", &isStatic),
              beat);
    MediaSession::get().services.ReleaseByName(kTypeBeat, "pattern.beat", nullptr);

    write_file("long.beat", with_beats(40));
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(MediaSession::get().services.AcquireByName(kTypeBeat, "long.beat", nullptr, false, "test",
                                                             "Beat", &isStatic),
                  nullptr);
    int mediaLines = 0;
    for (const std::string& line : session.take_log())
        mediaLines += line == "Media: beat file 'long.beat': line 36: more than 32 beats\n";
    EXPECT_EQ(mediaLines, 1);

    EXPECT_EQ(MediaSession::get().services.AcquireByName(kTypeBeat, "no-such.beat", nullptr, false, "test",
                                                         "Beat", &isStatic),
              nullptr);
    EXPECT_TRUE(session.logged("Media: cannot open beat file 'no-such.beat'"));
    EXPECT_EQ(MediaSession::get().services.ReleaseByName(kTypeBeat, "unknown.beat", nullptr), 0);
}

} // namespace
