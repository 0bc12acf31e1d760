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

// Copy j sees the step applied stepOffset + j times. Copy j's transform is copy j-1's with one more
// step, so each copy costs one composition instead of starting over from the saved transform; the
// sequence of float operations, and so the result, is the same.
void KaleidoGroupNode3D::Accept(Visitor3D& visitor)
{
    visitAsGroup(visitor, [&] {
        for (int32_t i = 0; i < childCount; ++i) {
            Node3D* child = children[i];
            float savedMatrix[9], savedPosition[3];
            copy_mat(child->matrix, savedMatrix);
            copy_vec(child->position, savedPosition);

            for (int64_t step = 0; step < int64_t(stepOffset); ++step)
                compose_transform_self(stepMatrix, stepPosition, child->matrix, child->position);
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
