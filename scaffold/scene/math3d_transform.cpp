#include "scene/math3d.h"
#include "scene/math3d_internal.h"

void compose_transform(const float* ma, const float* ta, const float* mb, const float* tb, float* mOut,
                       float* tOut)
{
    float t[3];
    mul_mat_vec(ta, mb, t);
    add_vectors_self(tb, t);
    mul_mat_mat(ma, mb, mOut);
    copy_vec(t, tOut);
}

void compose_transform_self(const float* mb, const float* tb, float* ma, float* ta)
{
    compose_transform(ma, ta, mb, tb, ma, ta);
}

void inverse_transform(const float* m, const float* t, float* mOut, float* tOut)
{
    float inv[9], negated[3];
    inverse(m, inv);
    scale_vector(-1.0f, t, negated);
    mul_mat_vec(negated, inv, tOut);
    copy_mat(inv, mOut);
}

void make_gl_matrix(const float* m, const float* t, float* gl)
{
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            gl[4 * c + r] = m[3 * r + c];
        gl[4 * c + 3] = 0.0f;
    }
    gl[12] = t[0];
    gl[13] = t[1];
    gl[14] = t[2];
    gl[15] = 1.0f;
}
