// Effects that each own one drawable node and hang it, every running call, into a named 3D group ('3DWR'
// text index `group`) at a place, rotation and scale: flat rectangles, triangles and ovals, lit cubes, and
// ribbons through the points of a swarm. All return true on every call.
//
// Units (all int32): sizes, radii and widths in scene units; x, y, z x 0.001; the quaternion qa..qd
// x 0.00001 in the component order of quat_to_mat3, normalised before use; scale x 0.00001 (uniform);
// colour channels and opacity 0..255 (low 8 bits); blendSrc / blendDst are GL blend factors (GL_ONE /
// GL_ZERO draw opaque). showMarker (low byte) also hangs an axis marker at the node's place.
//
// Lifecycle: the first call builds the node (status 2) and hangs nothing; each running call rebuilds the
// node only when a size or the colour changed (status 2 for that call, else 1), then places and hangs
// it; the last call deletes the node. A group that is not found just leaves the node out for that frame.
#pragma once

#include <vortel/plugin.h>

// Rectangle3D and Triangle3D are drawn from both sides (never culled), whichever way the camera looks. Their
// sizes are whole scene units and the halved ones are halved by integer division: a rectangle's width or
// height, or a triangle's base, of 1 gives a shape with no area, which draws nothing whatever the scale.
// For small shapes give sizes of 2 or more and shrink them with scale.

// w x h rectangle in the x-y plane, centred (halves by integer division); colour R, G, B.
VORTEL_EXPORT bool Rectangle3D(StateStruct* state, void** privateData, int32_t w, int32_t h, int32_t red,
                               int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa,
                               int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                               int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker);

// Triangle with base b on the x axis (centred, halves by integer division) and apex at (0, h).
VORTEL_EXPORT bool Triangle3D(StateStruct* state, void** privateData, int32_t b, int32_t h, int32_t red,
                              int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa,
                              int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                              int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker);

// Oval with radii rx, ry; roundness x 0.01 bends the rim (55 is close to an ellipse). The alpha word is
// kept in the colour's alpha byte; it does not make the oval translucent (the node's opacity stays 255).
VORTEL_EXPORT bool Oval3D(StateStruct* state, void** privateData, int32_t rx, int32_t ry, int32_t roundness,
                          int32_t red, int32_t green, int32_t blue, int32_t x, int32_t y, int32_t z,
                          int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t alpha, int32_t blendSrc,
                          int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker);

// Lit cube of edge 2 * size, centred; alpha as for Oval3D.
VORTEL_EXPORT bool Cube3D(StateStruct* state, void** privateData, int32_t size, int32_t red, int32_t green,
                          int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                          int32_t qd, int32_t alpha, int32_t blendSrc, int32_t blendDst, int32_t scale,
                          int32_t group, int32_t showMarker);

// A ribbon (Ribbon3D) through the points of the 'SWRM' swarm `swarm`: a band `width` x 0.1 scene units
// high along y at each point, in strips of pointsPerStrip points (not joined to each other). The colours
// come from the swarm; opacity 0..255 sets their alpha. The quaternion is x 0.0001 here (it is normalised,
// so only its direction counts).
// The swarm named at the first call stays acquired until the last call; later changes of the swarm word
// are not followed. A static swarm (its producer's parameters never change) only has its colours copied
// again each running call; any other swarm rebuilds the ribbon every running call (status 2). A swarm
// that is missing at the first call, or has no points, draws nothing.
VORTEL_EXPORT bool ShowRibbons3D(StateStruct* state, void** privateData, int32_t swarm, int32_t width,
                                 int32_t pointsPerStrip, int32_t x, int32_t y, int32_t z, int32_t qa,
                                 int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                                 int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker);
