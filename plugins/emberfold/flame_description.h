// Flame descriptions: an iterated function system of up to 50 maps, each an affine map followed by a
// weighted sum of non-linear variation terms, with a colour gradient and per-map animation channels.
//
// Contracts
//  - Angles are radians; channel periods and animation times share one unit (the effect's time
//    parameter); colour coordinates run over 0..1 of the palette, a negative one keeps the point's colour.
//  - transformCount is 1..kMaxTransforms for every description these functions produce; the fixed arrays
//    are never indexed past it.
//  - `matrix` and the select table are derived: call compute_probabilities after changing a transform.
#pragma once

#include "scene/virt_palette.h"

#include <cstdint>
#include <vortel/legacy_rand.h>

namespace emberfold
{

constexpr int kMaxTransforms = 50;
constexpr int kVariationSlots = 50; // read and stored; only the first kUsedVariations are computed
constexpr int kUsedVariations = 36;
constexpr int kChannels = 12;
constexpr int32_t kSelectMax = LegacyRand::kMax; // draws are in 0 .. kSelectMax

// Animation channels, by index.
enum FlameChannel : int {
    kChannelScale = 0,       // 0-2: scale x, y, z
    kChannelRotation = 3,    // 3-5: rotation about x, y, z (radians)
    kChannelSkew = 6,        // 6-8: skew x, y, z
    kChannelTranslation = 9, // 9-11: translation x, y, z
};

struct FlameTransform {
    float scale[3];
    float skew[3];
    float rotation[9]; // row-major
    float translation[3];
    float colour;
    float matrix[9]; // rotation * Kz * Ky * Kx * S, derived
    float weight;
    float variations[kVariationSlots]; // slot 0 linear; slots 0..35 computed
    int32_t channelWave[kChannels];    // non-zero: sine wave, 0: triangle wave
    int32_t channelPeriod[kChannels];  // 0: channel off
    double channelLow[kChannels];      // value at phase 0
    double channelHigh[kChannels];     // value at half period
    double baseRotation[9];            // the animated rotation starts from here
};

struct FlameDescription {
    int32_t selectTable[kMaxTransforms]; // cumulative thresholds; the last used one is kSelectMax
    FlameTransform transforms[kMaxTransforms];
    int32_t transformCount;
    VirtPalette palette;
    float brightnessStep[kMaxTransforms];
    int32_t symmetry; // the last symmetry_count() transforms are symmetry transforms
};

// Scale 0.5, no skew, identity rotation, zero translation, colour 0, weight 1, linear variation 1, every
// channel a sine of period 10000 from 0 to 0, identity base rotation.
void init_transform(FlameTransform& transform);

// The three-map default (a Sierpinski-like triangle coloured blue, red, green), probabilities computed.
void make_default_description(FlameDescription& description);

// Channels that hold the transform's current values, so animate() leaves it as it is.
void make_static_channels(FlameTransform& transform);

// How many of the last transforms are symmetry transforms: -symmetry below 0, 0 for 0 and 1, symmetry - 1
// from 2, never more than transformCount - 1 (at least one ordinary transform carries the volume).
int32_t symmetry_count(const FlameDescription& description);

// Recomputes `matrix` of every transform, the select table and the brightness steps.
void compute_probabilities(FlameDescription& description);
void compute_matrix(FlameTransform& transform);

// The first transform whose threshold is at least r (r in 0 .. kSelectMax).
inline int32_t select_transform(const FlameDescription& description, int32_t r)
{
    int32_t j = 0;
    while (j < description.transformCount - 1 && description.selectTable[j] < r)
        ++j;
    return j;
}

// Sets scale, skew, translation and rotation from the channels at time t.
void animate_transform(FlameTransform& transform, int32_t t);
// True when any channel's low value differs from its high value.
bool is_animated(const FlameTransform& transform);
bool any_animated(const FlameDescription& description);

} // namespace emberfold
