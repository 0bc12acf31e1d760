#include "expect_floats.h"

#include "scene/math3d.h"

#include <cmath>

namespace
{

const float kPi = 3.14159265f;

// The unit quaternion that turns by `angle` about z.
void z_turn(float angle, float* q)
{
    q[0] = 0;
    q[1] = 0;
    q[2] = std::sin(angle / 2);
    q[3] = std::cos(angle / 2);
}

TEST(QuaternionConversion, MatrixFromQuaternion)
{
    float q[4], m[9], expected[9];
    z_turn(kPi / 2, q);
    quat_to_mat3(q, m);
    make_rotz_mat(expected, kPi / 2);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << i;

    // Not normalised first: a doubled quaternion gives a different (non-rotation) matrix.
    const float doubled[4] = {0, 0, 0, 2};
    quat_to_mat3(doubled, m);
    expect_floats(m, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    const float scaled[4] = {2, 0, 0, 0};
    quat_to_mat3(scaled, m);
    expect_floats(m, {1, 0, 0, 0, -7, 0, 0, 0, -7});
}

TEST(QuaternionConversion, QuaternionFromMatrix)
{
    float m[9], q[4];
    make_normal_mat(m);
    mat_to_quat3(m, q);
    expect_floats(q, {0, 0, 0, 1});

    // Half turns have trace -1 and go through the largest diagonal element.
    make_rotx_mat(m, kPi);
    mat_to_quat3(m, q);
    expect_floats(q, {1, 0, 0, 0});
    make_roty_mat(m, kPi);
    mat_to_quat3(m, q);
    expect_floats(q, {0, 1, 0, 0});
    make_rotz_mat(m, kPi);
    mat_to_quat3(m, q);
    expect_floats(q, {0, 0, 1, 0});
}

TEST(QuaternionConversion, RoundTripsKeepTheRotation)
{
    const float angles[] = {0.3f, 1.2f, 2.9f, -2.0f};
    for (float angle : angles) {
        float m[9], rot[9], q[4], back[9];
        make_rotx_mat(m, angle);
        make_roty_mat(rot, angle * 0.7f);
        mul_mat_mat_self(rot, m);
        make_rotz_mat(rot, -angle * 1.3f);
        mul_mat_mat_self(rot, m);

        mat_to_quat3(m, q);
        quat_to_mat3(q, back);
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(back[i], m[i], 1e-5f) << "angle " << angle << " element " << i;
    }

    // The engine's y rotation turns the other way than the right-handed quaternion about +y.
    float m[9], q[4];
    make_roty_mat(m, 0.8f);
    mat_to_quat3(m, q);
    expect_floats(q, {0, -std::sin(0.4f), 0, std::cos(0.4f)});
}

TEST(QuaternionNormalise, UnitLengthAndZero)
{
    float q[4] = {0, 3, 0, 4};
    unit_quat_self(q);
    expect_floats(q, {0, 0.6f, 0, 0.8f});

    float zero[4] = {0, 0, 0, 0};
    unit_quat_self(zero);
    for (float e : zero) {
        EXPECT_EQ(e, 0.0f);
        EXPECT_FALSE(std::isnan(e));
    }
}

TEST(Slerp, EndsAndMiddle)
{
    float q0[4], q1[4], out[4], expected[4];
    z_turn(0, q0);
    z_turn(kPi / 2, q1);

    slerp(q0, q1, 0, out);
    expect_floats(out, {q0[0], q0[1], q0[2], q0[3]});
    slerp(q0, q1, 1, out);
    expect_floats(out, {q1[0], q1[1], q1[2], q1[3]});
    slerp(q0, q1, 0.5f, out);
    z_turn(kPi / 4, expected);
    expect_floats(out, {expected[0], expected[1], expected[2], expected[3]});

    // The output may be one of the inputs.
    slerp(q0, q1, 0.5f, q0);
    expect_floats(q0, {expected[0], expected[1], expected[2], expected[3]});
}

TEST(Slerp, ParallelAndOppositeInputsGiveTheFirstExactly)
{
    // Unit quaternions made with sin/cos land on |q0 . q1| = 1 or just below it through rounding; either
    // way the answer is q0, never the zero quaternion that the mean of q and -q would be.
    const float angles[] = {0.0f, 0.01f, 0.14f, 0.32f, 2.1f}; // 0.01 and 0.32 give |c| just below 1
    for (float angle : angles) {
        float q[4], same[4], opposite[4], out[4];
        z_turn(angle, q);
        for (int i = 0; i < 4; ++i) {
            same[i] = q[i];
            opposite[i] = -q[i];
        }
        slerp(q, same, 0.3f, out);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(out[i], q[i]) << "angle " << angle;
        slerp(q, opposite, 0.3f, out);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(out[i], q[i]) << "angle " << angle;
    }

    const float big[4] = {0, 0, 0, 2}, unit[4] = {0, 0, 0, 1}, out[4] = {};
    slerp(big, unit, 0.5f, const_cast<float*>(out));
    expect_floats(out, {0, 0, 0, 2}, 0);
}

TEST(Slerp, NearlyParallelInputsGiveTheMean)
{
    // sin of the angle between them is about 0.0004, below the 0.001 limit.
    float q0[4], q1[4], out[4];
    z_turn(0.0f, q0);
    z_turn(0.0008f, q1);
    slerp(q0, q1, 0.9f, out);
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(out[i], (q0[i] + q1[i]) * 0.5f) << i;
}

TEST(Slerp, TakesTheLongArcWithoutSignFlip)
{
    // q0 . q1 = cos 120 deg < 0: halfway lies at a 120 deg turn, not at the short path's -60 deg.
    float q0[4], q1[4], out[4], expected[4];
    z_turn(0, q0);
    z_turn(4 * kPi / 3, q1);
    slerp(q0, q1, 0.5f, out);
    z_turn(2 * kPi / 3, expected);
    expect_floats(out, {expected[0], expected[1], expected[2], expected[3]});
}

} // namespace
