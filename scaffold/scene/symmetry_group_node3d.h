// SymmetryGroupNode3D: draws each child twice, rotated by +angle and by -angle about one axis (the
// rotation acts on the child's matrix and position alike). Every child has its own transform back after
// the traversal.
#pragma once

#include "scene/group_node3d.h"

#include <cstdint>

class SymmetryGroupNode3D : public GroupNode3D
{
public:
    SymmetryGroupNode3D();

    int GetType() const override; // kNodeTypeGroup
    void Accept(Visitor3D& visitor) override;

    float angle;  // radians, default pi/2
    int32_t axis; // 1 = y, 2 = z, any other value = x (default 0)
};
