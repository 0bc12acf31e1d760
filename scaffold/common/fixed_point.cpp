#include "common/fixed_point.h"

#include "scene/math3d.h"

void fixed_position(int32_t x, int32_t y, int32_t z, float* out)
{
    out[0] = float(x) * kPositionUnit;
    out[1] = float(y) * kPositionUnit;
    out[2] = float(z) * kPositionUnit;
}

void fixed_rotation(int32_t qa, int32_t qb, int32_t qc, int32_t qd, float* matrix)
{
    float q[4] = {float(qa) * kQuaternionUnit, float(qb) * kQuaternionUnit, float(qc) * kQuaternionUnit,
                  float(qd) * kQuaternionUnit};
    unit_quat_self(q);
    quat_to_mat3(q, matrix);
}

void fixed_rotation_scale(int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale, float* matrix)
{
    fixed_rotation(qa, qb, qc, qd, matrix);
    const float s = float(scale) * kScaleUnit;
    float scaling[9];
    make_scale_mat(scaling, s, s, s);
    mul_mat_mat_self(matrix, scaling);
    copy_mat(scaling, matrix);
}

uint32_t opaque_color(int32_t red, int32_t green, int32_t blue)
{
    return 0xFF000000u | (uint32_t(red & 0xFF) << 16) | (uint32_t(green & 0xFF) << 8) | uint32_t(blue & 0xFF);
}
