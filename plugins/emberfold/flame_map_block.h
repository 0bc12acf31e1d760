// A flame map applied to a block of independent points at once (the passes of the point generator make
// up to 256 points with one transform). Each variation term runs as one loop over the block with
// polynomial sine, cosine and arctangent that the compiler turns into vector code; they agree with the
// C library to about 1e-7. Blocks holding coordinates beyond the polynomials' range after the affine step
// go through apply_map point by point instead.
#pragma once

#include "flame_map.h"

namespace emberfold
{

constexpr int kMaxBlock = 256;

// Structure-of-arrays points: x[i], y[i], z[i].
struct PointBlock {
    alignas(32) float x[kMaxBlock];
    alignas(32) float y[kMaxBlock];
    alignas(32) float z[kMaxBlock];
};

// out <- the map applied to the first count (<= kMaxBlock) points of in. out must not alias in.
void apply_map_block(const FlameMap& map, const PointBlock& in, int count, PointBlock& out);

} // namespace emberfold
