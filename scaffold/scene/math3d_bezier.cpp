#include "scene/math3d.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace
{

constexpr int kBinomialSize = kMaxBezierControlPoints + 1;

// B(i, j) for i, j < 10, built on the first Bezier call and never changed afterwards.
int32_t binomial[kBinomialSize][kBinomialSize];
bool binomialBuilt = false;

void build_binomial_table()
{
    if (binomialBuilt)
        return;
    for (int i = 0; i < kBinomialSize; ++i) {
        for (int j = 0; j < kBinomialSize; ++j) {
            // Falling product i (i-1) ... (i-j+1) over j!, exact in integers at this size.
            int32_t numerator = 1, denominator = 1;
            for (int k = 0; k < j; ++k) {
                numerator *= i - k;
                denominator *= k + 1;
            }
            binomial[i][j] = numerator / denominator;
        }
    }
    binomialBuilt = true;
}

float power(float x, int n)
{
    float result = 1.0f;
    for (int k = 0; k < n; ++k)
        result *= x;
    return result;
}

// Samples `dims` interleaved coordinates of the curve; the 1-D and 3-D samplers differ only in layout.
void sample_bezier(const float* ctrl, int ctrlStride, int count, int samples, float* out, int outStride,
                   int dims)
{
    build_binomial_table();
    if (samples < 3 || count > kMaxBezierControlPoints)
        return;
    for (int i = 0; i < samples; ++i) {
        const float t = float(i) / float(samples - 1);
        const float u = 1.0f - t;
        float* point = out + i * outStride;
        for (int d = 0; d < dims; ++d)
            point[d] = 0.0f;
        for (int j = 0; j < count; ++j) {
            const float weight = power(t, j) * power(u, count - 1 - j) * float(binomial[count - 1][j]);
            for (int d = 0; d < dims; ++d)
                point[d] += weight * ctrl[j * ctrlStride + d];
        }
    }
}

void copy_point(const float* src, float* dst)
{
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
}

float distance(const float* a, const float* b)
{
    const float dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

void Get_Bezier(const float* ctrl, int count, int samples, float* out)
{
    sample_bezier(ctrl, 1, count, samples, out, 1, 1);
}

void Get_Bezier3D(const float* ctrl, int ctrlStride, int count, int samples, float* out, int outStride)
{
    sample_bezier(ctrl, ctrlStride, count, samples, out, outStride, 3);
}

void GetMaxLengthLineairBezier3D(const float* ctrl, int ctrlStride, int count, int samples, float maxLength,
                                 float* out, int outStride)
{
    if (samples <= 0 || count < 1)
        return;
    if (samples <= 2) {
        copy_point(ctrl, out);
        if (samples == 2)
            copy_point(ctrl + (count - 1) * ctrlStride, out + outStride);
        return;
    }
    // The sampler would leave the scratch points unset.
    if (count > kMaxBezierControlPoints)
        return;

    std::unique_ptr<float[]> scratch(new (std::nothrow) float[size_t(samples) * 4]);
    if (!scratch)
        return;
    float* points = scratch.get();
    float* lengths = points + size_t(samples) * 3;
    Get_Bezier3D(ctrl, ctrlStride, count, samples, points, 3);

    const int segments = samples - 1;
    float total = 0.0f;
    for (int k = 0; k < segments; ++k) {
        lengths[k] = distance(points + 3 * k, points + 3 * (k + 1));
        total += lengths[k];
    }
    const float length = std::max(0.0f, std::min(maxLength, total));
    // The divisor is samples, not samples - 1: the last point stops one step short of `length`.
    const float step = length / float(samples);

    copy_point(points, out);
    // The walk stands in segment k with `left` of its length still ahead.
    int k = 0;
    while (k < segments && lengths[k] == 0.0f)
        ++k;
    float left = k < segments ? lengths[k] : 0.0f;
    for (int j = 1; j < samples; ++j) {
        float* target = out + j * outStride;
        float toGo = step;
        while (k < segments && toGo > left) {
            toGo -= left;
            do
                ++k;
            while (k < segments && lengths[k] == 0.0f);
            left = k < segments ? lengths[k] : 0.0f;
        }
        if (k >= segments) {
            copy_point(points + 3 * segments, target);
            continue;
        }
        left -= toGo;
        const float* from = points + 3 * k;
        const float* to = from + 3;
        const float f = (lengths[k] - left) / lengths[k];
        for (int d = 0; d < 3; ++d)
            target[d] = from[d] + (to[d] - from[d]) * f;
    }
}
