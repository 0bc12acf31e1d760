#include "scene/math3d.h"

#include <cmath>

void mat_to_quat3(const float* m, float* q)
{
    float x, y, z, w;
    const float trace = m[0] + m[4] + m[8] + 1.0f;
    if (trace > 0.00001f) {
        const float s = 2.0f * std::sqrt(trace);
        x = (m[7] - m[5]) / s;
        y = (m[2] - m[6]) / s;
        z = (m[3] - m[1]) / s;
        w = s / 4.0f;
    } else if (m[0] > m[4] && m[0] > m[8]) {
        // Near a half turn the trace gives no precision: build from the largest diagonal element.
        const float s = 2.0f * std::sqrt(1.0f + m[0] - m[4] - m[8]);
        x = s / 4.0f;
        y = (m[3] + m[1]) / s;
        z = (m[6] + m[2]) / s;
        w = (m[7] - m[5]) / s;
    } else if (m[4] > m[8]) {
        const float s = 2.0f * std::sqrt(1.0f + m[4] - m[0] - m[8]);
        x = (m[3] + m[1]) / s;
        y = s / 4.0f;
        z = (m[7] + m[5]) / s;
        w = (m[2] - m[6]) / s;
    } else {
        const float s = 2.0f * std::sqrt(1.0f + m[8] - m[0] - m[4]);
        x = (m[6] + m[2]) / s;
        y = (m[7] + m[5]) / s;
        z = s / 4.0f;
        w = (m[3] - m[1]) / s;
    }
    q[0] = x;
    q[1] = y;
    q[2] = z;
    q[3] = w;
}

void quat_to_mat3(const float* q, float* m)
{
    const float x = q[0], y = q[1], z = q[2], w = q[3];
    m[0] = 1.0f - 2.0f * (y * y + z * z);
    m[1] = 2.0f * (x * y - z * w);
    m[2] = 2.0f * (x * z + y * w);
    m[3] = 2.0f * (x * y + z * w);
    m[4] = 1.0f - 2.0f * (x * x + z * z);
    m[5] = 2.0f * (y * z - x * w);
    m[6] = 2.0f * (x * z - y * w);
    m[7] = 2.0f * (y * z + x * w);
    m[8] = 1.0f - 2.0f * (x * x + y * y);
}

void unit_quat_self(float* q)
{
    const float length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (length == 0.0f)
        return;
    for (int i = 0; i < 4; ++i)
        q[i] /= length;
}

void slerp(const float* q0, const float* q1, float t, float* out)
{
    const float c = q0[0] * q1[0] + q0[1] * q1[1] + q0[2] * q1[2] + q0[3] * q1[3];
    // Weights of q0 and q1; parallel or opposite inputs (|c| >= 1) give q0.
    float a = 1.0f, b = 0.0f;
    if (std::fabs(c) < 1.0f) {
        const float theta = std::acos(c);
        const float s = std::sqrt(1.0f - c * c);
        if (std::fabs(s) >= 0.001f) {
            a = std::sin((1.0f - t) * theta) / s;
            b = std::sin(t * theta) / s;
        } else if (c > 0.0f) {
            // sin(theta) is too small to divide by: the two are as good as equal.
            a = b = 0.5f;
        }
        // Otherwise opposite up to rounding: their mean would be the zero quaternion, so keep q0 as for
        // exact opposites.
    }
    float result[4];
    for (int i = 0; i < 4; ++i)
        result[i] = a * q0[i] + b * q1[i];
    for (int i = 0; i < 4; ++i)
        out[i] = result[i];
}
