// The part the primitive effects share in every running call: blending and opacity, then placing the node
// (and its axis marker) and hanging both into the named 3D group.
#pragma once

#include <cstdint>

class AxisMarker3D;
class Poly3D;

// How the node is blended. Opacity is only set for effects that have an opacity word (hasOpacity).
struct PrimitiveLook {
    int32_t blendSrc;
    int32_t blendDst;
    bool hasOpacity;
    int32_t opacity;
};

// Where the node goes: the effect's argument words, in their fixed-point units (see primitive_effects.h).
struct PrimitivePlacement {
    int32_t x, y, z;
    int32_t qa, qb, qc, qd;
    int32_t scale;
    int32_t group;      // text index of the '3DWR' group
    int32_t showMarker; // low byte
};

// Sets the blend factors (source first), then the opacity when the look has one; position <- (x, y, z)
// x 0.001; matrix <- the normalised quaternion times the uniform scale; copies both to the marker when
// showMarker is set; then acquires the group in `caller`'s name and adds the node, then the marker.
// marker may be null. A group that is not found adds nothing (the registry reports the name).
void hang_primitive(Poly3D& node, AxisMarker3D* marker, const PrimitiveLook& look,
                    const PrimitivePlacement& where, const char* caller);

// (alpha << 24) | (red << 16) | (green << 8) | blue from the low bytes of the four words.
uint32_t primitive_color(int32_t alpha, int32_t red, int32_t green, int32_t blue);
