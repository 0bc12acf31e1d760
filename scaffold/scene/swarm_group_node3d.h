// SwarmGroupNode3D: draws its children once per point of a swarm.
//
// For point i (firstPoint <= i < firstPoint + pointCount, 0 <= i < the swarm's count) each child is
// drawn with its matrix <- E * O * matrix and its position <- position + P + e, where O is the point's
// orientation (when the swarm has orientations), P its position (not rotated) and E / e the extra matrix
// / offset (when set), and bracketed by SetOverrideColor(true / false, colour of the point): the point's
// own colour bytes when the swarm has per-point colours, else the swarm's uniform colour.
// Every child has its own transform back after the traversal.
//
// Limits: at most kMaxSwarmGroupChildren children; a group with more, or without a swarm, draws nothing.
#pragma once

#include "scene/group_node3d.h"

#include <vortel/records.h>

#include <cstdint>

constexpr int kMaxSwarmGroupChildren = 256;

class SwarmGroupNode3D : public GroupNode3D
{
public:
    SwarmGroupNode3D();
    ~SwarmGroupNode3D() override; // frees the extra transforms

    int GetType() const override; // kNodeTypeSwarm
    void Accept(Visitor3D& visitor) override;

    // Where child 0 is drawn for swarm point `index` (composed as in Accept). Valid for a point that is
    // drawn, when the group has at least one child; otherwise the shared zero vector / identity matrix.
    // The answer lives in a shared buffer that the next call of the same query overwrites.
    float* GetChildPosition(int index) override;
    float* GetChildMatrix(int index) override;

    // Takes ownership of both arrays (allocated with new[]; either may be null) and frees those held
    // before. Each holds one entry (9 floats / 3 floats) per drawn point, for the current pointCount:
    // entry j belongs to point firstPoint + j. Points past the entries get no extra transform.
    void SetExtraTransforms(float* matrices, float* offsets);
    const float* GetExtraMatrices() const { return extraMatrices_; }
    const float* GetExtraOffsets() const { return extraOffsets_; }

    SwarmRecord* swarm; // the swarm followed, not owned; default null
    int32_t pointCount; // number of points to draw, default 1
    int32_t firstPoint; // index of the first point drawn, default 0

private:
    bool pointIsDrawn(int64_t index) const;
    // (matrixOut, positionOut) <- the transform (matrix, position) moved to swarm point `index`.
    void placeAtPoint(int64_t index, const float* matrix, const float* position, float* matrixOut,
                      float* positionOut) const;
    uint32_t pointColor(int64_t index) const;

    float* extraMatrices_;
    float* extraOffsets_;
    int32_t extraCount_; // entries in each extra array
};
