// The effect functions Pictor exports. Every argument word is an int32; texture, swarm, grid and group
// words are indices into the demo's Texts; positions x 0.001 scene units; quaternions are normalised
// (their scale does not matter); uniform scales x 0.00001; opacities 0..255; blend factors GL enums;
// showMarker's low byte hangs an axis marker beside the node.
//
// Each effect owns its private record, nodes and marker from its first call to its last and holds one
// reference on each resource for the same time; a resource whose static flag is clear is looked up again
// (and its nodes rebuilt, status 2) on every running call. They set status 1 on entry and return true;
// status -1 after a message (the nodes' arrays did not fit in memory).
#pragma once

#include <vortel/plugin.h>

// Draws the texture on a 40 x 40 quad centred on (x, y) at depth -1 of the current transform, directly in
// GL; leaves the texture bound. The picture's top row lies at y - 20: upright where y runs downwards, as in
// the screen effects' pixel projection (0, W, H, 0).
VORTEL_EXPORT bool Image(StateStruct* state, void** privateData, int32_t texture, int32_t x, int32_t y);

// A textured quad node (Image3D) in a 3D group; opaque != 0 sets forceOpaque.
VORTEL_EXPORT bool Pictor3D(StateStruct* state, void** privateData, int32_t texture, int32_t x, int32_t y,
                            int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t opacity,
                            int32_t blendSrc, int32_t blendDst, int32_t opaque, int32_t scale, int32_t group,
                            int32_t showMarker);
// Pictor3D writing only the alpha channel of the frame buffer.
VORTEL_EXPORT bool Pictor3DAlpha(StateStruct* state, void** privateData, int32_t texture, int32_t x,
                                 int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd,
                                 int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t opaque,
                                 int32_t scale, int32_t group, int32_t showMarker);

// One picture (sprites != 0: one point sprite) of the texture at each of `count` swarm points from `first`;
// quad j grows by the factor 1 + (j + 1) * growth x 0.001.
VORTEL_EXPORT bool ImageSwarm3D(StateStruct* state, void** privateData, int32_t texture, int32_t count,
                                int32_t first, int32_t swarm, int32_t sprites, int32_t x, int32_t y,
                                int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t opacity,
                                int32_t blendSrc, int32_t blendDst, int32_t scale, int32_t growth,
                                int32_t group, int32_t showMarker);

// The texture stretched over a 'GRID' sheet, its top row along the grid's row 0 (records.h); colour
// channels 0..255 tint it; offS and offT x 0.01 shift the texture coordinates (units of 1/2048).
VORTEL_EXPORT bool ImageGrid3D(StateStruct* state, void** privateData, int32_t texture, int32_t grid,
                               int32_t offS, int32_t offT, int32_t red, int32_t green, int32_t blue,
                               int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                               int32_t qd, int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t scale,
                               int32_t group, int32_t showMarker);
// ImageGrid3D with a second texture on the back of the sheet.
VORTEL_EXPORT bool DualImageGrid3D(StateStruct* state, void** privateData, int32_t front, int32_t back,
                                   int32_t grid, int32_t offS, int32_t offT, int32_t red, int32_t green,
                                   int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb,
                                   int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                                   int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker);

// Three additive copies of the texture jittered and spread by draws from `seed` (see movie_jitter.h);
// level 0..255 sets the brightness, scale x 0.00001.
VORTEL_EXPORT bool MovieJitter(StateStruct* state, void** privateData, int32_t texture, int32_t seed,
                               int32_t amount, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb,
                               int32_t qc, int32_t qd, int32_t level, int32_t scale, int32_t group,
                               int32_t showMarker);
