// Blending two flame descriptions: transform by transform (linear in scale, skew, translation, colour
// and variation weights; rotations through normalised quaternions) and palette stop by palette stop.
//
// The morph amount m is in thousandths: 0 gives the first description, 1000 the second; it is not
// clamped, so other values extrapolate the shapes (palette colours stop at either end).
#pragma once

#include "flame_description.h"

#include <cstdint>

namespace emberfold
{

constexpr int kPairingParameters = 7;
constexpr int kPairingIndices = 4 * kPairingParameters;

// Each byte of 0xAARRGGBB a and b blended by m/1000 in integers; m < 0 gives a, m > 1000 gives b.
uint32_t blend_colour(uint32_t a, uint32_t b, int32_t m);

// The pairing indices packed into the seven pairing parameters, most significant byte first.
void unpack_pairing(const int32_t* parameters, uint8_t* pairs);

// out <- the blend of d1 and d2 (both already animated) with max(N1, N2) transforms. The transforms of
// the larger description are paired, by index, with transform min(pairs[i], Nsmall - 1) of the smaller
// one (beyond the 28 indices, with the transform of the same index, clamped the same way). Weights and
// animation channels come from the second description's transform. Probabilities are computed.
void morph_descriptions(const FlameDescription& d1, const FlameDescription& d2, int32_t m,
                        const uint8_t* pairs, FlameDescription& out);

} // namespace emberfold
