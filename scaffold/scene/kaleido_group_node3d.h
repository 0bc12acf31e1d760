// KaleidoGroupNode3D: draws each child `copies` times; copy j (0 .. copies - 1) sees the step transform
// (stepMatrix, stepPosition) applied stepOffset + j times on top of the child's own transform
// (child <- step o child each time; a non-positive number of times leaves the child as it is).
// Every child has its own transform back after the traversal. With the defaults (1 copy, offset 0) it
// behaves as a plain group.
#pragma once

#include "scene/group_node3d.h"

#include <cstdint>

class KaleidoGroupNode3D : public GroupNode3D
{
public:
    KaleidoGroupNode3D();

    int GetType() const override; // kNodeTypeKaleido
    void Accept(Visitor3D& visitor) override;

    int32_t copies;        // default 1
    int32_t stepOffset;    // default 0
    float stepPosition[3]; // default (0, 0, 0)
    float stepMatrix[9];   // default identity
};
