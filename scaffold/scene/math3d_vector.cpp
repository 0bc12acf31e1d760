#include "scene/math3d.h"
#include "scene/math3d_internal.h"

#include <cmath>

void make_normal_vec(float* v)
{
    v[0] = v[1] = v[2] = 0.0f;
}

void copy_vec(const float* src, float* dst)
{
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
}

void add_vectors_self(const float* a, float* b)
{
    b[0] += a[0];
    b[1] += a[1];
    b[2] += a[2];
}

void sub_vectors(const float* a, const float* b, float* out)
{
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
}

void sub_vectors_self(const float* a, float* b)
{
    b[0] -= a[0];
    b[1] -= a[1];
    b[2] -= a[2];
}

void scale_vector_self(float s, float* v)
{
    v[0] *= s;
    v[1] *= s;
    v[2] *= s;
}

void scale_vector(float s, const float* v, float* out)
{
    out[0] = s * v[0];
    out[1] = s * v[1];
    out[2] = s * v[2];
}

float dot_product(const float* a, const float* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void cross_product(const float* a, const float* b, float* out)
{
    const float x = a[1] * b[2] - a[2] * b[1];
    const float y = a[2] * b[0] - a[0] * b[2];
    const float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

float vector_length(const float* v)
{
    return std::sqrt(dot_product(v, v));
}

void unit_vector_self(float* v)
{
    const float length = vector_length(v);
    if (length != 0.0f)
        scale_vector_self(1.0f / length, v);
}

void cart_to_polar(float x, float y, float& r, float& angle)
{
    r = std::sqrt(x * x + y * y);
    angle = std::atan2(y, x);
}
