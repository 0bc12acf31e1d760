// make_group: the part the four group-making effects share (table entry, marker, re-hanging each frame).
#pragma once

#include <vortel/plugin.h>

class GroupNode3D;

enum class GroupKind { Plain, Kaleido, Swarm, Symmetry };

struct GroupPlacement {
    int32_t x, y, z;        // x 0.001
    int32_t qa, qb, qc, qd; // x 0.00001, normalised
    int32_t scale;          // x 0.00001
};

// Runs one call of a group-making event (status, messages and result as the effects describe).
// *group <- the group this event made, while it lives (first and running calls); null on the last call,
// after a refused first call, or when the call failed.
bool make_group(StateStruct* state, void** privateData, int32_t name, const GroupPlacement& placement,
                int32_t parent, int32_t showMarker, GroupKind kind, GroupNode3D** group);
