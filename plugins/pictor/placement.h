// What every Pictor effect does with its nodes: the axis marker beside them, their placement from the
// effect's argument words, and hanging them into a 3D group taken from the registry.
#pragma once

#include <cstdint>

class AxisMarker3D;
class Node3D;

namespace pictor
{

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
