#include "expect_floats.h"

#include "scene/math3d.h"

#include <cmath>
#include <vector>

namespace
{

TEST(BezierSampling, LinesAndParabolas)
{
    const float line[2] = {0, 10};
    float out[5];
    Get_Bezier(line, 2, 5, out);
    expect_floats(out, {0, 2.5f, 5, 7.5f, 10});

    const float arch[3] = {0, 10, 0};
    Get_Bezier(arch, 3, 3, out);
    expect_floats(out, {0, 5, 0});

    // Evenly spaced control values reproduce a straight line, which exercises every binomial weight.
    const float cubic[4] = {0, 1, 2, 3};
    Get_Bezier(cubic, 4, 4, out);
    expect_floats(out, {0, 1, 2, 3});
}

TEST(BezierSampling, NineControlPointsAreTheLimit)
{
    float ramp[9], ones[9];
    for (int j = 0; j < 9; ++j) {
        ramp[j] = float(j);
        ones[j] = 1;
    }
    float out[5];
    Get_Bezier(ramp, 9, 5, out);
    expect_floats(out, {0, 2, 4, 6, 8}, 1e-4f);
    Get_Bezier(ones, 9, 5, out); // the weights sum to 1 at every t
    expect_floats(out, {1, 1, 1, 1, 1}, 1e-5f);
}

TEST(BezierSampling, OutsideTheLimitsNothingIsWritten)
{
    float ctrl[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    float out[4] = {-1, -1, -1, -1};
    Get_Bezier(ctrl, 2, 2, out);
    Get_Bezier(ctrl, 10, 4, out);
    expect_floats(out, {-1, -1, -1, -1}, 0);

    float out3[12];
    for (float& e : out3)
        e = -1;
    Get_Bezier3D(ctrl, 3, 2, 2, out3, 3);
    Get_Bezier3D(ctrl, 1, 10, 4, out3, 3);
    for (float e : out3)
        EXPECT_EQ(e, -1);
}

TEST(BezierSampling, ThreeDimensionalStrides)
{
    // Control points padded to 4 floats, output points to 5: the padding stays untouched.
    const float ctrl[12] = {0, 0, 0, 99, 10, 20, 0, 99, 20, 0, 30, 99};
    float out[15];
    for (float& e : out)
        e = -7;
    Get_Bezier3D(ctrl, 4, 3, 3, out, 5);
    expect_floats(out, {0, 0, 0, -7, -7, 10, 10, 7.5f, -7, -7, 20, 0, 30, -7, -7});
}

// Distance between output points i and i+1 (stride 3).
float gap(const std::vector<float>& points, int i)
{
    const float* a = &points[3 * i];
    const float* b = a + 3;
    return std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                     (b[2] - a[2]) * (b[2] - a[2]));
}

TEST(ArcLengthSampling, StraightLineSpacing)
{
    const float ctrl[6] = {0, 0, 0, 10, 0, 0};
    std::vector<float> out(15);

    // Longer limit than the line: step is the line length over samples, so the end is not reached.
    GetMaxLengthLineairBezier3D(ctrl, 3, 2, 5, 100, out.data(), 3);
    for (int i = 0; i < 5; ++i)
        expect_floats(&out[3 * i], {2.0f * i, 0, 0}, 1e-4f);

    GetMaxLengthLineairBezier3D(ctrl, 3, 2, 5, 4, out.data(), 3);
    for (int i = 0; i < 5; ++i)
        expect_floats(&out[3 * i], {0.8f * i, 0, 0}, 1e-4f);
}

TEST(ArcLengthSampling, CurvedPathIsEvenlySpaced)
{
    const float ctrl[12] = {0, 0, 0, 5, 20, 0, 15, -20, 0, 20, 0, 0};
    const int samples = 200;
    std::vector<float> out(3 * samples);
    GetMaxLengthLineairBezier3D(ctrl, 3, 4, samples, 1000, out.data(), 3);

    // Total length of the sampled polyline, measured the same way.
    std::vector<float> polyline(3 * samples);
    Get_Bezier3D(ctrl, 3, 4, samples, polyline.data(), 3);
    float total = 0;
    for (int i = 0; i + 1 < samples; ++i)
        total += gap(polyline, i);
    const float step = total / samples;

    expect_floats(out.data(), {0, 0, 0}, 0);
    for (int i = 0; i + 1 < samples; ++i)
        EXPECT_NEAR(gap(out, i), step, step * 0.01f) << "gap " << i;
    // The plain parameter spacing is far from even on this curve; the arc-length one is not.
    float shortest = 1e9f, longest = 0;
    for (int i = 0; i + 1 < samples; ++i) {
        shortest = std::fmin(shortest, gap(polyline, i));
        longest = std::fmax(longest, gap(polyline, i));
    }
    EXPECT_GT(longest, shortest * 1.5f);
}

TEST(ArcLengthSampling, DegenerateLimitsAndCounts)
{
    const float ctrl[9] = {1, 2, 3, 4, 6, 8, 10, 2, 3};
    std::vector<float> out(30, -1);

    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 10, 0, out.data(), 3);
    for (int i = 0; i < 10; ++i)
        expect_floats(&out[3 * i], {1, 2, 3}, 0);

    std::fill(out.begin(), out.end(), -1);
    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 10, -5, out.data(), 3); // negative counts as 0
    for (int i = 0; i < 10; ++i)
        expect_floats(&out[3 * i], {1, 2, 3}, 0);

    std::fill(out.begin(), out.end(), -1);
    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 1, 50, out.data(), 3);
    expect_floats(out.data(), {1, 2, 3, -1}, 0);
    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 2, 50, out.data(), 3);
    expect_floats(out.data(), {1, 2, 3, 10, 2, 3, -1}, 0);

    // Nothing to sample from: the output stays as it was.
    std::fill(out.begin(), out.end(), -1);
    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 0, 50, out.data(), 3);
    GetMaxLengthLineairBezier3D(ctrl, 3, 0, 2, 50, out.data(), 3);
    std::vector<float> ten(30, 0);
    GetMaxLengthLineairBezier3D(ten.data(), 3, 10, 5, 50, out.data(), 3);
    for (float e : out)
        EXPECT_EQ(e, -1);
}

TEST(ArcLengthSampling, CurveOfZeroLengthRepeatsItsPoint)
{
    const float ctrl[9] = {1, 2, 3, 1, 2, 3, 1, 2, 3};
    std::vector<float> out(15, -1);
    GetMaxLengthLineairBezier3D(ctrl, 3, 3, 5, 10, out.data(), 3);
    for (int i = 0; i < 5; ++i)
        expect_floats(&out[3 * i], {1, 2, 3}, 0);
}

} // namespace
