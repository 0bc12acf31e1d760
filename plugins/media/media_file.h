// Whole files read through the player's OpenFile, so the packed data file serves them before the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media
{

// Files larger than this are not read (pictures and beat files are small; this guards against a device
// or a huge stray file named by mistake).
constexpr size_t kMaxFileBytes = size_t(256) << 20;

// Reads the named file whole into bytes; false when it cannot be opened or is larger than kMaxFileBytes
// (that one with msg::kFileTooLarge in the log).
bool read_whole_file(const char* name, std::vector<uint8_t>& bytes);

} // namespace media
