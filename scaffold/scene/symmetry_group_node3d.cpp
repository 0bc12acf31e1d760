#include "scene/symmetry_group_node3d.h"

#include "scene/math3d.h"

SymmetryGroupNode3D::SymmetryGroupNode3D() : angle(1.5707964f), axis(0) {}

int SymmetryGroupNode3D::GetType() const
{
    return kNodeTypeGroup;
}

static void make_axis_rotation(int32_t axis, float angle, float* m)
{
    if (axis == 1)
        make_roty_mat(m, angle);
    else if (axis == 2)
        make_rotz_mat(m, angle);
    else
        make_rotx_mat(m, angle);
}

void SymmetryGroupNode3D::Accept(Visitor3D& visitor)
{
    visitAsGroup(visitor, [&] {
        float turns[2][9];
        make_axis_rotation(axis, angle, turns[0]);
        make_axis_rotation(axis, -angle, turns[1]);
        for (int32_t i = 0; i < childCount; ++i) {
            Node3D* child = children[i];
            float savedMatrix[9], savedPosition[3];
            copy_mat(child->matrix, savedMatrix);
            copy_vec(child->position, savedPosition);
            for (const float* turn : turns) {
                mul_mat_mat_self(turn, child->matrix);
                mul_mat_vec_self(turn, child->position);
                child->Accept(visitor);
                copy_mat(savedMatrix, child->matrix);
                copy_vec(savedPosition, child->position);
            }
        }
    });
}
