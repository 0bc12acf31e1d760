// Point generation for the flame mesh, apart from any GL: the random table, the block layout and the
// walk that fills per-point positions, colour coordinates, brightness and size batches.
#pragma once

#include "flame_description.h"

#include <cstdint>

namespace emberfold
{

constexpr int32_t kRandomTableSize = 1 << 18;

// The plug-in's own legacy rand sequence; the random table below is its only user.
extern LegacyRand gRand;

// 2^18 legacy rand values (0 .. LegacyRand::kMax), filled from gRand on the first call. Indices are taken
// AND (kRandomTableSize - 1).
const int32_t* random_table();

// Points made from the walk before the first pass: N mod 256, plus 256 when N >= 256.
inline int32_t first_block_size(int32_t n)
{
    return n % 256 + (n >= 256 ? 256 : 0);
}
// Passes of 256 points after the first block, each made from the 256 points before it.
inline int32_t pass_count(int32_t n)
{
    return n >= 512 ? n / 256 - 1 : 0;
}

// Each transform's share of a pass of 256 points: in proportion to its select-table interval, at least
// 1, the remainder going to the first transform with the largest share. The shares add up to 256 unless
// many transforms were raised to 1 and the largest would drop below 1: then it stays at 1 and a pass
// stops when it has 256 points.
void pass_shares(const FlameDescription& description, int32_t* shares);

// Caller-owned arrays of at least n entries, written in generation order.
struct FlamePoints {
    float* points;     // 4 floats per point: x, y, z and the colour coordinate
    float* brightness; // in [0.2, 1]
    uint8_t* batch;    // truncate(brightness * (batchCount - 1))
};

// colourMode 1 averages a point's colour coordinate with the one before; batchCount 1..256. Allocates
// nothing: its working memory is static, so it is not reentrant (effects run on the main thread only).
void generate_flame_points(const FlameDescription& description, int32_t n, int32_t colourMode,
                           int32_t batchCount, const FlamePoints& out);

// Palette index 0..255 of a colour coordinate (anything outside 0..1, NaN included, is clamped).
inline int32_t palette_index(float colour)
{
    return colour > 0.0f ? (colour < 1.0f ? int32_t(colour * 255.0f) : 255) : 0;
}

} // namespace emberfold
