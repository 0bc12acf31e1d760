#include "scene/math3d.h"
#include "scene/math3d_internal.h"

#include <cmath>

void make_normal_mat(float* m)
{
    for (int i = 0; i < 9; ++i)
        m[i] = (i % 4 == 0) ? 1.0f : 0.0f;
}

void make_normal_mat(double* m)
{
    for (int i = 0; i < 9; ++i)
        m[i] = (i % 4 == 0) ? 1.0 : 0.0;
}

void copy_mat(const float* src, float* dst)
{
    for (int i = 0; i < 9; ++i)
        dst[i] = src[i];
}

void copy_mat(const double* src, float* dst)
{
    for (int i = 0; i < 9; ++i)
        dst[i] = float(src[i]);
}

void mul_mat_vec(const float* v, const float* m, float* out)
{
    const float x = m[0] * v[0] + m[1] * v[1] + m[2] * v[2];
    const float y = m[3] * v[0] + m[4] * v[1] + m[5] * v[2];
    const float z = m[6] * v[0] + m[7] * v[1] + m[8] * v[2];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

void mul_mat_vec_self(const float* m, float* v)
{
    mul_mat_vec(v, m, v);
}

// out <- b * a. The product goes through a local so that out may be a or b.
void mul_mat_mat(const float* a, const float* b, float* out)
{
    float product[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            product[3 * r + c] = b[3 * r] * a[c] + b[3 * r + 1] * a[3 + c] + b[3 * r + 2] * a[6 + c];
    copy_mat(product, out);
}

void mul_mat_mat_self(const float* a, float* b)
{
    mul_mat_mat(b, a, b);
}

void mul_mat_self_mat(const float* a, float* b)
{
    mul_mat_mat(a, b, b);
}

void make_rotx_mat(float* m, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    make_normal_mat(m);
    m[4] = c;
    m[5] = -s;
    m[7] = s;
    m[8] = c;
}

void make_roty_mat(float* m, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    make_normal_mat(m);
    m[0] = c;
    m[2] = -s;
    m[6] = s;
    m[8] = c;
}

void make_rotz_mat(float* m, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    make_normal_mat(m);
    m[0] = c;
    m[1] = -s;
    m[3] = s;
    m[4] = c;
}

void make_scale_mat(float* m, float sx, float sy, float sz)
{
    for (int i = 0; i < 9; ++i)
        m[i] = 0.0f;
    m[0] = sx;
    m[4] = sy;
    m[8] = sz;
}

// Sets the two diagonal elements i, j to cos(angle / 2) and the symmetric pair (i, j), (j, i) to
// -sin(angle / 2).
static void make_skew_mat(float* m, float angle, int i, int j)
{
    const float h = angle / 2.0f;
    const float c = std::cos(h), s = std::sin(h);
    make_normal_mat(m);
    m[4 * i] = m[4 * j] = c;
    m[3 * i + j] = m[3 * j + i] = -s;
}

void make_skewx_mat(float* m, float angle)
{
    make_skew_mat(m, angle, 1, 2);
}

void make_skewy_mat(float* m, float angle)
{
    make_skew_mat(m, angle, 0, 2);
}

void make_skewz_mat(float* m, float angle)
{
    make_skew_mat(m, angle, 0, 1);
}

float mat_determinant(const float* m)
{
    return m[0] * (m[4] * m[8] - m[7] * m[5]) - m[1] * (m[8] * m[3] - m[5] * m[6]) +
           m[2] * (m[7] * m[3] - m[4] * m[6]);
}

void inverse(const float* src, float* dst)
{
    const float d = mat_determinant(src);
    if (d == 0.0f) {
        make_normal_mat(dst);
        return;
    }
    const float* m = src;
    float inv[9] = {
        (m[4] * m[8] - m[5] * m[7]) / d, (m[2] * m[7] - m[1] * m[8]) / d, (m[1] * m[5] - m[2] * m[4]) / d,
        (m[6] * m[5] - m[3] * m[8]) / d, (m[8] * m[0] - m[6] * m[2]) / d, (m[3] * m[2] - m[5] * m[0]) / d,
        (m[3] * m[7] - m[6] * m[4]) / d, (m[6] * m[1] - m[0] * m[7]) / d, (m[4] * m[0] - m[3] * m[1]) / d,
    };
    copy_mat(inv, dst);
}

void Gram_Schmid_orthonormalize(float* a, float* b, float* c)
{
    unit_vector_self(a);

    float bOut[3], part[3];
    scale_vector(dot_product(b, a), a, part);
    sub_vectors(b, part, bOut);
    unit_vector_self(bOut);

    // Both projections are measured on c as it was passed in.
    float cOut[3];
    scale_vector(dot_product(c, a), a, part);
    sub_vectors(c, part, cOut);
    scale_vector(dot_product(c, bOut), bOut, part);
    sub_vectors_self(part, cOut);
    unit_vector_self(cOut);

    copy_vec(bOut, b);
    copy_vec(cOut, c);
}
