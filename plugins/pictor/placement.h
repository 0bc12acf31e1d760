// What Pictor keeps from the player: the service pointers handed to Vortel_Init, and the helpers every
// effect uses to reach textures, swarms, grids and groups through the registry.
#pragma once

#include <vortel/plugin.h>

class AxisMarker3D;
class Node3D;
class Texture;

namespace pictor
{

struct Services {
    void (*Log)(const char* text) = nullptr;
    const char* (*GetText)(int32_t index) = nullptr;
    void* (*AcquireByIndex)(uint32_t type, int32_t textIndex, void* userData, bool privateUse,
                            const char* caller, const char* typeName, bool* outFlag) = nullptr;
    int32_t (*ReleaseByIndex)(uint32_t type, int32_t textIndex, void* resource) = nullptr;
};

extern Services gServices;

// One resource an effect holds from its first call to its last, named by a text index.
//   take    first call: acquire once in caller's name (this is the reference released by drop)
//   refresh running call: when the static flag is clear, look it up again in caller's name and release
//           that look-up at once; true when it did (the effect then rebuilds what it made from it)
//   drop    last call: release the reference taken by take, if any
// `record` may become null in refresh (the producer lost it); the reference is still released by drop.
struct HeldResource {
    uint32_t type = 0;
    int32_t index = -1;
    const char* typeName = "";
    bool held = false;
    bool isStatic = false;
    void* record = nullptr;

    void take(uint32_t type, int32_t index, const char* caller, const char* typeName);
    bool refresh(const char* caller);
    void drop();
};

// The new marker every Pictor effect hangs beside its node (colours of the x, y and z axes).
AxisMarker3D* make_marker();

// Where a node goes, from the effect's argument words: position x 0.001, quaternion (normalised, so its
// scale does not matter) and uniform scale x 0.00001; group is a text index; showMarker its low byte.
struct Placement {
    int32_t x, y, z;
    int32_t qa, qb, qc, qd;
    int32_t scale;
    int32_t group;
    int32_t showMarker;
};

// Writes position and matrix of `node`, copies both to the marker when it is shown.
void place_node(Node3D& node, AxisMarker3D* marker, const Placement& where);
// Acquires the group in caller's name and adds the nodes (null entries skipped), then the marker when it is
// shown. A missing group adds nothing for this frame (the registry reports it).
void hang_nodes(Node3D* const* nodes, int count, AxisMarker3D* marker, const Placement& where,
                const char* caller);

} // namespace pictor
