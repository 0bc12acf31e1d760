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

// Reads the named file whole into bytes; false when it cannot be opened, is larger than kMaxFileBytes
// (msg::kFileTooLarge in the log) or there is no memory for it (msg::kFileNoMemory).
bool read_whole_file(const char* name, std::vector<uint8_t>& bytes);

} // namespace media
