// The effect functions and entry points exported by Swarms.so (plain C names).
//
// Every effect is called by the player as fn(state, privateData, words...) with 32-bit words, and
// returns false only after logging a missing output name (status -1); otherwise true. Status: 1 on
// entry, 2 when the effect rebuilt its output, -1 after an error message.
// Name and source parameters are text indices: output names go through GetText, sources are acquired
// as 'SWRM' resources and released in the same call.
// Fixed-point units are given per parameter; "units" are scene units.
#pragma once

#include <cstdint>
#include <vortel/plugin.h>

struct SDL_Surface;

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                               ServicesStruct* services);
VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t frame);
VORTEL_EXPORT bool Vortel_Quit();

// 'SWRM' handlers. ProduceSwarm: the named swarm with one more reference, its static flag through
// outFlag; null (outFlag untouched) when unknown. ReleaseSwarm: drops one reference; false when unknown.
VORTEL_EXPORT void* ProduceSwarm(const char* name, void* userData, bool* outFlag);
bool ReleaseSwarm(const char* name, void* resource);

// [SECTION] Generators: each owns the swarm named by its first word from its first call to its last,
// rebuilds only when a parameter changes, and every rebuild resets the colour to opaque white without
// per-point colours. Sizes that cannot be built (negative counts, more than 2^24 points, fewer than 3
// Bezier points) give an empty swarm and one log line.

// n points per edge (below 1 -> 1), spacing in units; solid != 0: all n^3 lattice points, else the surface.
VORTEL_EXPORT bool MakeCubeSwarm(StateStruct* state, void** privateData, int32_t name, int32_t n,
                                 int32_t spacing, int32_t solid);
// radius in units; pointsPerRing x rings latitude rings plus the two poles.
VORTEL_EXPORT bool MakeSphereSwarm(StateStruct* state, void** privateData, int32_t name, int32_t radius,
                                   int32_t pointsPerRing, int32_t rings);
// count pseudo-random integer points in [-h, h-1]^3 (h 0 -> 1); reserved only takes part in the change test.
VORTEL_EXPORT bool MakeStarfieldSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                      int32_t halfExtent, int32_t reserved);
// Point i at t = (i * step + offset) * 0.01: each axis A * sin(2 pi F t / A + 0.002 pi phase), A 0 -> 1.
VORTEL_EXPORT bool MakeSineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                 int32_t step, int32_t ampX, int32_t freqX, int32_t phaseX, int32_t ampY,
                                 int32_t freqY, int32_t phaseY, int32_t ampZ, int32_t freqZ, int32_t phaseZ,
                                 int32_t offset);
// A sine wound around a torus: ring radius R, tube radius r (units), steps and offset in milliradians.
VORTEL_EXPORT bool MakeTorusSineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                      int32_t ringRadius, int32_t ringStep, int32_t tubeRadius,
                                      int32_t tubeStep, int32_t tubeOffset);
// A spirograph curve: radii b, c in hundredths of a unit, pen distance d, angle step e in hundredths of a
// degree per point, tilt amplitude f, frequency g, phase h.
VORTEL_EXPORT bool MakeSpiroSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                  int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g,
                                  int32_t h);
// count samples of the cubic Bezier P0..P3 (coordinates x 0.001 units); controlPoints != 0 replaces the
// first four samples by P0..P3.
VORTEL_EXPORT bool MakeBezierSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                   int32_t p0x, int32_t p0y, int32_t p0z, int32_t p1x, int32_t p1y,
                                   int32_t p1z, int32_t p2x, int32_t p2y, int32_t p2z, int32_t p3x,
                                   int32_t p3y, int32_t p3z, int32_t controlPoints);
// count points with rand() mod range - range / 2 per axis (ranges below 1 -> 1), after srand(seed).
VORTEL_EXPORT bool MakeRandSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                 int32_t rangeX, int32_t rangeY, int32_t rangeZ, int32_t seed);
// Two points, the given ends in units; the two reserved words only take part in the change test.
VORTEL_EXPORT bool DrawLineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t reserved1,
                                 int32_t reserved2, int32_t x1, int32_t y1, int32_t z1, int32_t x2,
                                 int32_t y2, int32_t z2);

// [SECTION] Operations with an output swarm (owned like a generator's)

// Output = first's points, then second's.
VORTEL_EXPORT bool AddSwarms(StateStruct* state, void** privateData, int32_t output, int32_t first,
                             int32_t second);
// Output point = s * R(q) * p + t: t x 0.001 units, q x 0.0001 (normalised), scale x 0.00001.
VORTEL_EXPORT bool MoveSwarm(StateStruct* state, void** privateData, int32_t output, int32_t source,
                             int32_t ignored, int32_t tx, int32_t ty, int32_t tz, int32_t qx, int32_t qy,
                             int32_t qz, int32_t qw, int32_t scale);
// First output: the source's first k points (k clamped to 0 .. count); second output: the rest.
VORTEL_EXPORT bool SplitSwarm(StateStruct* state, void** privateData, int32_t firstOutput,
                              int32_t secondOutput, int32_t source, int32_t k);
// Point i = first + t (second - first), t = clamp((position + i * spread) * 0.001, 0, 1).
VORTEL_EXPORT bool MorphSwarms(StateStruct* state, void** privateData, int32_t output, int32_t first,
                               int32_t second, int32_t position, int32_t spread);

// [SECTION] In-place operations: they change a swarm another event owns, until its producer rebuilds.
// Their first call changes nothing (the running call of the same frame does), except OrientSwarmOnGroup's.

// Uniform colour (low bytes of red, green, blue); drops per-point colours.
VORTEL_EXPORT bool ColorSwarm(StateStruct* state, void** privateData, int32_t swarm, int32_t red,
                              int32_t green, int32_t blue);
// Per-point colours between colour 1 and colour 2: by point order (seed 0) or by rand() (seed != 0).
VORTEL_EXPORT bool ColorSwarmBetween(StateStruct* state, void** privateData, int32_t swarm, int32_t red1,
                                     int32_t green1, int32_t blue1, int32_t red2, int32_t green2,
                                     int32_t blue2, int32_t seed);
// Words: swarm, colour count n (1..16), 16 x (red, green, blue), seed: each point gets colour rand() mod n.
VORTEL_EXPORT bool ColorRandomSetSwarm(StateStruct* state, void** privateData, ...);
// A random rotation per point (three axis turns of 0..32.767 radians).
VORTEL_EXPORT bool OrientSwarmRandom(StateStruct* state, void** privateData, int32_t swarm, int32_t seed);
// A random uniform scale per point in minimum .. maximum (x 0.00001): replaces the matrix (absolute != 0)
// or multiplies it from the right.
VORTEL_EXPORT bool ResizeSwarmRandom(StateStruct* state, void** privateData, int32_t swarm, int32_t minimum,
                                     int32_t maximum, int32_t absolute, int32_t seed);
// Turns every point towards the position of the '3DWR' group named by `group`.
VORTEL_EXPORT bool OrientSwarmOnGroup(StateStruct* state, void** privateData, int32_t swarm, int32_t group);
