#include "scene/kaleido_group_node3d.h"

#include "scene/math3d.h"
#include "scene/math3d_internal.h"

KaleidoGroupNode3D::KaleidoGroupNode3D() : copies(1), stepOffset(0)
{
    make_normal_vec(stepPosition);
    make_normal_mat(stepMatrix);
}

int KaleidoGroupNode3D::GetType() const
{
    return kNodeTypeKaleido;
}

// (matrix, position) <- the step applied n times, by squaring: a demo may ask for a huge offset, and
// applying the step one time after another would then stall the frame.
static void step_power(const float* stepMatrix, const float* stepPosition, int64_t n, float* matrix,
                       float* position)
{
    make_normal_mat(matrix);
    make_normal_vec(position);
    float baseMatrix[9], basePosition[3];
    copy_mat(stepMatrix, baseMatrix);
    copy_vec(stepPosition, basePosition);
    for (; n > 0; n >>= 1) {
        if (n & 1)
            compose_transform_self(baseMatrix, basePosition, matrix, position);
        compose_transform_self(baseMatrix, basePosition, baseMatrix, basePosition);
    }
}

// Copy j sees the step applied stepOffset + j times: the offset's power once, then one more step for
// each further copy.
void KaleidoGroupNode3D::Accept(Visitor3D& visitor)
{
    visitAsGroup(visitor, [&] {
        if (copies < 1)
            return;
        float offsetMatrix[9], offsetPosition[3];
        step_power(stepMatrix, stepPosition, stepOffset, offsetMatrix, offsetPosition);
        for (int32_t i = 0; i < childCount; ++i) {
            Node3D* child = children[i];
            float savedMatrix[9], savedPosition[3];
            copy_mat(child->matrix, savedMatrix);
            copy_vec(child->position, savedPosition);

            compose_transform_self(offsetMatrix, offsetPosition, child->matrix, child->position);
            for (int32_t j = 0; j < copies; ++j) {
                if (j > 0 && int64_t(stepOffset) + j > 0)
                    compose_transform_self(stepMatrix, stepPosition, child->matrix, child->position);
                child->Accept(visitor);
            }

            copy_mat(savedMatrix, child->matrix);
            copy_vec(savedPosition, child->position);
        }
    });
}
