// The exported functions of Emberfold.so.
//
// ShowFlame words: description file (text index); position x, y, z (thousandths); rotation quaternion
// x, y, z, w (ten-thousandths, normalised); point count; points flag (0: textured squares); vertex-buffer
// flag; colour mode (1: averaged colour coordinates); animation time; alpha 0-255; scale
// (hundred-thousandths); largest and smallest size (thousandths); batch count (<= 0 counts as 1);
// target group (text index, '3DWR'); coordinate cross flag; texture (text index, 'TXTR'); blend equation
// (GL enum; 0 draws opaque).
//
// MorphFlame words: two description files (text indices); morph amount (thousandths, 0 = first,
// 1000 = second, not clamped); position (thousandths); quaternion (ten-thousandths, used as given);
// pairing words 0-2; one ignored word; pairing words 3-6; four ignored words; point count; points flag;
// vertex-buffer flag; colour mode; animation time; alpha; scale (hundred-thousandths); largest and
// smallest size (hundredths); batch count; target group; cross flag; texture; blend equation (0 adds).
//
// Both return false only after logging why (a missing name or description file), with status -1. Without
// memory for the points a call logs that once, sets status -1 and returns true; the next call tries again.
#pragma once

#include <cstdint>
#include <vortel/plugin.h>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                               ServicesStruct* services);
VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t frame);
VORTEL_EXPORT bool Vortel_Quit();

VORTEL_EXPORT bool ShowFlame(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                             int32_t z, int32_t qx, int32_t qy, int32_t qz, int32_t qw, int32_t pointCount,
                             int32_t pointsFlag, int32_t bufferFlag, int32_t colourMode, int32_t time,
                             int32_t alpha, int32_t scale, int32_t largestSize, int32_t smallestSize,
                             int32_t batchCount, int32_t group, int32_t crossFlag, int32_t texture,
                             int32_t blendEquation);

VORTEL_EXPORT bool MorphFlame(StateStruct* state, void** privateData, int32_t name1, int32_t name2,
                              int32_t amount, int32_t x, int32_t y, int32_t z, int32_t qx, int32_t qy,
                              int32_t qz, int32_t qw, int32_t pair0, int32_t pair1, int32_t pair2,
                              int32_t ignored0, int32_t pair3, int32_t pair4, int32_t pair5, int32_t pair6,
                              int32_t ignored1, int32_t ignored2, int32_t ignored3, int32_t ignored4,
                              int32_t pointCount, int32_t pointsFlag, int32_t bufferFlag, int32_t colourMode,
                              int32_t time, int32_t alpha, int32_t scale, int32_t largestSize,
                              int32_t smallestSize, int32_t batchCount, int32_t group, int32_t crossFlag,
                              int32_t texture, int32_t blendEquation);
