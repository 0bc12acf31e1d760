// Replays, under the test build's sanitizers, every input the fuzz targets start from (fuzz/corpus), every
// input that once made one of them fail (tests/fixtures/bad/crashes/<target>) and every hand-written bad
// document and data file (tests/fixtures/bad). Passing means: no sanitizer report, no trap, no hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "fuzz_inputs.h"

namespace fs = std::filesystem;

namespace
{

std::vector<uint8_t> read_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Regular files directly in `folder` (none when it does not exist), sorted so failures are reproducible.
std::vector<fs::path> files_in(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

const fs::path kCorpus = fs::path(VORTEL_SOURCE_DIR) / "fuzz" / "corpus";
const fs::path kBad = fs::path(VORTEL_FIXTURES) / "bad";

// Runs every file of the folders through `input`; returns how many there were.
size_t replay(int (*input)(const uint8_t*, size_t), const std::vector<fs::path>& folders,
              const std::vector<uint8_t>& head = {})
{
    size_t count = 0;
    for (const fs::path& folder : folders)
        for (const fs::path& file : files_in(folder)) {
            SCOPED_TRACE(file.string());
            std::vector<uint8_t> bytes = head;
            std::vector<uint8_t> body = read_bytes(file);
            bytes.insert(bytes.end(), body.begin(), body.end());
            EXPECT_EQ(input(bytes.data(), bytes.size()), 0);
            ++count;
        }
    return count;
}

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
