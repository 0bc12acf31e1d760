// A file in the temporary folder that a fuzz target rewrites with every input, for the readers that take
// a path rather than bytes. One per process, so parallel fuzzing jobs do not share it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string scratch_path(const char* suffix)
{
    return std::string("/tmp/vortel-fuzz-") + std::to_string(getpid()) + suffix;
}

// Writes the bytes to the scratch file; false when it cannot be written (the input is then skipped).
inline bool write_scratch(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}
