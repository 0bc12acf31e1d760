// Texture coordinates are stored as int16 in units of 1/texCoordScale.
#pragma once

#include <cmath>
#include <cstdint>

// v truncated towards zero and kept to its low 16 bits, as a 16-bit store of the integer would;
// values that are not finite, or too large for any integer, give 0 instead of undefined behaviour.
inline int16_t tex_coord(double v)
{
    if (!std::isfinite(v) || std::fabs(v) >= 9.0e18)
        return 0;
    return int16_t(uint16_t(uint64_t(int64_t(v))));
}
