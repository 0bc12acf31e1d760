// Replaying fuzz inputs in the test build: every file of some folders through one target's input
// function, under the sanitizers of the test build.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace replay_support
{

namespace fs = std::filesystem;

inline std::vector<uint8_t> read_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Regular files directly in `folder` (none when it does not exist), sorted so failures are reproducible.
inline std::vector<fs::path> files_in(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline const fs::path kCorpus = fs::path(VORTEL_SOURCE_DIR) / "fuzz" / "corpus";
inline const fs::path kBad = fs::path(VORTEL_FIXTURES) / "bad";

// Runs every file of the folders through `input`; returns how many there were.
inline size_t replay(int (*input)(const uint8_t*, size_t), const std::vector<fs::path>& folders,
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

} // namespace replay_support
