#include "scene/swarm_group_node3d.h"

#include "scene/math3d.h"

SwarmGroupNode3D::SwarmGroupNode3D()
    : swarm(nullptr), pointCount(1), firstPoint(0), extraMatrices_(nullptr), extraOffsets_(nullptr),
      extraCount_(0)
{
}

SwarmGroupNode3D::~SwarmGroupNode3D()
{
    delete[] extraMatrices_;
    delete[] extraOffsets_;
}

int SwarmGroupNode3D::GetType() const
{
    return kNodeTypeSwarm;
}

void SwarmGroupNode3D::SetExtraTransforms(float* matrices, float* offsets)
{
    if (matrices != extraMatrices_)
        delete[] extraMatrices_;
    if (offsets != extraOffsets_)
        delete[] extraOffsets_;
    extraMatrices_ = matrices;
    extraOffsets_ = offsets;
    extraCount_ = pointCount > 0 ? pointCount : 0;
}

// 64-bit indices: firstPoint + pointCount may pass the int32 range.
bool SwarmGroupNode3D::pointIsDrawn(int64_t index) const
{
    return swarm && swarm->positions && index >= 0 && index >= firstPoint &&
           index < int64_t(firstPoint) + pointCount && index < swarm->count;
}

void SwarmGroupNode3D::placeAtPoint(int64_t index, const float* matrix, const float* position,
                                    float* matrixOut, float* positionOut) const
{
    copy_mat(matrix, matrixOut);
    copy_vec(position, positionOut);
    if (swarm->orientations)
        mul_mat_mat_self(swarm->orientations + 9 * index, matrixOut);
    add_vectors_self(swarm->positions + 3 * index, positionOut);

    // Extra entry j belongs to the j-th drawn point, firstPoint + j.
    const int64_t extra = index - firstPoint;
    if (extra >= extraCount_)
        return;
    if (extraMatrices_)
        mul_mat_mat_self(extraMatrices_ + 9 * extra, matrixOut);
    if (extraOffsets_)
        add_vectors_self(extraOffsets_ + 3 * extra, positionOut);
}

uint32_t SwarmGroupNode3D::pointColor(int64_t index) const
{
    uint8_t alpha = swarm->alpha, red = swarm->red, green = swarm->green, blue = swarm->blue;
    if (swarm->colors) {
        const uint8_t* bytes = swarm->colors + 4 * index;
        alpha = bytes[0];
        red = bytes[1];
        green = bytes[2];
        blue = bytes[3];
    }
    return (uint32_t(alpha) << 24) | (uint32_t(red) << 16) | (uint32_t(green) << 8) | uint32_t(blue);
}

void SwarmGroupNode3D::Accept(Visitor3D& visitor)
{
    // The saved transforms live in a fixed table: a group past the limit, or without a swarm, is not drawn.
    if (!swarm || childCount > kMaxSwarmGroupChildren)
        return;
    visitAsGroup(visitor, [&] {
        float savedMatrices[kMaxSwarmGroupChildren][9];
        float savedPositions[kMaxSwarmGroupChildren][3];
        for (int32_t c = 0; c < childCount; ++c) {
            copy_mat(children[c]->matrix, savedMatrices[c]);
            copy_vec(children[c]->position, savedPositions[c]);
        }

        const int64_t first = firstPoint > 0 ? firstPoint : 0;
        for (int64_t i = first; pointIsDrawn(i); ++i) {
            const uint32_t color = pointColor(i);
            for (int32_t c = 0; c < childCount; ++c) {
                Node3D* child = children[c];
                placeAtPoint(i, savedMatrices[c], savedPositions[c], child->matrix, child->position);
                visitor.SetOverrideColor(true, color);
                child->Accept(visitor);
                visitor.SetOverrideColor(false, color);
            }
        }

        for (int32_t c = 0; c < childCount; ++c) {
            copy_mat(savedMatrices[c], children[c]->matrix);
            copy_vec(savedPositions[c], children[c]->position);
        }
    });
}

float* SwarmGroupNode3D::GetChildPosition(int index)
{
    static float answer[3];
    if (childCount < 1 || !pointIsDrawn(index))
        return zeroVector();
    float matrix[9];
    placeAtPoint(index, children[0]->matrix, children[0]->position, matrix, answer);
    return answer;
}

float* SwarmGroupNode3D::GetChildMatrix(int index)
{
    static float answer[9];
    if (childCount < 1 || !pointIsDrawn(index))
        return identityMatrix();
    float position[3];
    placeAtPoint(index, children[0]->matrix, children[0]->position, answer, position);
    return answer;
}
