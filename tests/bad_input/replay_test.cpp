// Replays, under the test build's sanitizers, every input the fuzz targets start from (fuzz/corpus), every
// input that once made one of them fail (tests/fixtures/bad/crashes/<target>) and every hand-written bad
// document and data file (tests/fixtures/bad). Passing means: no sanitizer report, no trap, no hang.
#include <cstring>
#include <limits>

#include "fuzz_inputs.h"
#include "replay.h"

using namespace replay_support;

namespace
{

TEST(FuzzReplay, DemoLoaderSurvivesSeedsCrashesAndBadDocuments)
{
    EXPECT_GT(replay(demo_loader_input,
                     {kCorpus / "demo_loader_fuzz", kBad / "crashes" / "demo_loader_fuzz", kBad}),
              size_t(0));
}

TEST(FuzzReplay, ParameterEvaluationSurvivesSeedsAndCrashes)
{
    EXPECT_GT(replay(param_eval_input, {kCorpus / "param_eval_fuzz", kBad / "crashes" / "param_eval_fuzz"}),
              size_t(0));
}

TEST(FuzzReplay, ParameterEvaluationOfBadDocumentsWithAPathologicalBeat)
{
    // count 40 beats (more than a pattern holds), a NaN bar, time 0xFFFFFFF0.
    std::vector<uint8_t> head(64, 0);
    head[8] = 40;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(&head[16], &nan, sizeof nan);
    head[24] = 0xF0, head[25] = head[26] = head[27] = 0xFF;
    head[28] = 1;
    EXPECT_GT(replay(param_eval_input, {kBad}, head), size_t(0));
}

TEST(FuzzReplay, DataFileReaderSurvivesSeedsCrashesAndBadFiles)
{
    EXPECT_GT(
        replay(data_file_input, {kCorpus / "data_file_fuzz", kBad / "crashes" / "data_file_fuzz", kBad}),
        size_t(0));
}

} // namespace
