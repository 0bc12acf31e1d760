#include "expect_floats.h"

#include "scene/math3d.h"
#include "scene/math3d_internal.h"

#include <cmath>

namespace
{

const float kPi = 3.14159265f;

TEST(VectorFunctions, ArithmeticKeepsTheArgumentRoles)
{
    const float a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
    float out[3];

    sub_vectors(b, a, out);
    expect_floats(out, {3, 3, 3});

    float target[3] = {4, 5, 6};
    sub_vectors_self(a, target); // the second argument loses the first
    expect_floats(target, {3, 3, 3});
    add_vectors_self(a, target); // the second argument gains the first
    expect_floats(target, {4, 5, 6});

    scale_vector(2, a, out);
    expect_floats(out, {2, 4, 6});
    scale_vector_self(-1, out);
    expect_floats(out, {-2, -4, -6});

    copy_vec(a, out);
    expect_floats(out, {1, 2, 3});
    make_normal_vec(out);
    expect_floats(out, {0, 0, 0});
}

TEST(VectorFunctions, ProductsAndLengths)
{
    const float a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
    EXPECT_FLOAT_EQ(dot_product(a, b), 32);

    float out[3];
    cross_product(a, b, out);
    expect_floats(out, {-3, 6, -3});
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    cross_product(x, y, out);
    expect_floats(out, {0, 0, 1});

    // The result may overwrite an input.
    float aliased[3] = {1, 2, 3};
    cross_product(aliased, b, aliased);
    expect_floats(aliased, {-3, 6, -3});

    const float v[3] = {3, 4, 12};
    EXPECT_FLOAT_EQ(vector_length(v), 13);
}

TEST(VectorFunctions, UnitVectorLeavesZeroAlone)
{
    float v[3] = {0, 3, 4};
    unit_vector_self(v);
    expect_floats(v, {0, 0.6f, 0.8f});

    float zero[3] = {0, 0, 0};
    unit_vector_self(zero);
    EXPECT_EQ(zero[0], 0.0f);
    EXPECT_EQ(zero[1], 0.0f);
    EXPECT_EQ(zero[2], 0.0f);
    EXPECT_FALSE(std::isnan(zero[0]));
}

TEST(VectorFunctions, CartesianToPolar)
{
    float r = 0, angle = 0;
    cart_to_polar(0, -2, r, angle);
    EXPECT_FLOAT_EQ(r, 2);
    EXPECT_NEAR(angle, -kPi / 2, 1e-6f);
    cart_to_polar(-1, 0, r, angle);
    EXPECT_NEAR(angle, kPi, 1e-6f);
    cart_to_polar(3, 4, r, angle);
    EXPECT_FLOAT_EQ(r, 5);
    EXPECT_NEAR(angle, std::atan2(4.0f, 3.0f), 1e-6f);
}

TEST(MatrixFunctions, IdentityAndCopies)
{
    float m[9];
    for (float& e : m)
        e = 7;
    make_normal_mat(m);
    expect_floats(m, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);

    double d[9];
    make_normal_mat(d);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(d[i], i % 4 == 0 ? 1.0 : 0.0);

    const double source[9] = {0.5, 1, 2, 3, 4, 5, 6, 7, 1e-10};
    copy_mat(source, m);
    expect_floats(m, {0.5f, 1, 2, 3, 4, 5, 6, 7, 1e-10f}, 0);

    float copy[9];
    copy_mat(m, copy);
    expect_floats(copy, {0.5f, 1, 2, 3, 4, 5, 6, 7, 1e-10f}, 0);
}

TEST(MatrixFunctions, VectorProductFormsAgree)
{
    const float m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
    const float v[3] = {1, 0, -1};
    float out[3];
    mul_mat_vec(v, m, out); // vector first
    expect_floats(out, {-2, -2, -3});

    float inPlace[3] = {1, 0, -1};
    mul_mat_vec_self(m, inPlace); // matrix first
    expect_floats(inPlace, {-2, -2, -3});
}

TEST(MatrixFunctions, ProductsMultiplyOnTheDocumentedSide)
{
    const float shear[9] = {1, 2, 0, 0, 1, 0, 0, 0, 1};
    const float turn[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    // shear * turn = [2 -1 0; 1 0 0; 0 0 1], turn * shear = [0 -1 0; 1 2 0; 0 0 1]

    float b[9];
    copy_mat(turn, b);
    mul_mat_mat_self(shear, b);
    expect_floats(b, {2, -1, 0, 1, 0, 0, 0, 0, 1});

    copy_mat(turn, b);
    mul_mat_self_mat(shear, b);
    expect_floats(b, {0, -1, 0, 1, 2, 0, 0, 0, 1});

    float out[9];
    mul_mat_mat(shear, turn, out); // out <- second * first
    expect_floats(out, {0, -1, 0, 1, 2, 0, 0, 0, 1});
}

TEST(MatrixFunctions, RotationSenses)
{
    float m[9], v[3];
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};

    make_rotz_mat(m, kPi / 2);
    mul_mat_vec(x, m, v);
    expect_floats(v, {0, 1, 0});

    make_rotx_mat(m, kPi / 2);
    mul_mat_vec(y, m, v);
    expect_floats(v, {0, 0, 1});

    // The y rotation turns x towards +z, the opposite of the right-handed sense.
    make_roty_mat(m, kPi / 2);
    mul_mat_vec(x, m, v);
    expect_floats(v, {0, 0, 1});
    mul_mat_vec(z, m, v);
    expect_floats(v, {-1, 0, 0});
    make_roty_mat(m, 0.3f);
    EXPECT_FLOAT_EQ(m[2], -std::sin(0.3f));
    EXPECT_FLOAT_EQ(m[6], std::sin(0.3f));
}

TEST(MatrixFunctions, ScaleAndSkews)
{
    float m[9];
    for (float& e : m)
        e = 7;
    make_scale_mat(m, 2, 3, 4);
    expect_floats(m, {2, 0, 0, 0, 3, 0, 0, 0, 4}, 0);

    const float c = std::cos(kPi / 4), s = std::sin(kPi / 4);
    make_skewx_mat(m, kPi / 2);
    expect_floats(m, {1, 0, 0, 0, c, -s, 0, -s, c});
    make_skewy_mat(m, kPi / 2);
    expect_floats(m, {c, 0, -s, 0, 1, 0, -s, 0, c});
    make_skewz_mat(m, kPi / 2);
    expect_floats(m, {c, -s, 0, -s, c, 0, 0, 0, 1});
}

TEST(MatrixFunctions, DeterminantAndInverse)
{
    const float m[9] = {1, 2, 3, 0, 1, 4, 5, 6, 0};
    EXPECT_FLOAT_EQ(mat_determinant(m), 1);
    const float swapped[9] = {0, 1, 4, 1, 2, 3, 5, 6, 0};
    EXPECT_FLOAT_EQ(mat_determinant(swapped), -1);

    float inv[9];
    inverse(m, inv);
    expect_floats(inv, {-24, 18, 5, 20, -15, -4, -5, 4, 1}, 1e-4f);

    const float general[9] = {2, -1, 0.5f, 1, 3, -2, 0, 1, 4};
    float product[9];
    inverse(general, inv);
    mul_mat_mat(inv, general, product);
    expect_floats(product, {1, 0, 0, 0, 1, 0, 0, 0, 1});

    // In place works too.
    float again[9];
    copy_mat(m, again);
    inverse(again, again);
    expect_floats(again, {-24, 18, 5, 20, -15, -4, -5, 4, 1}, 1e-4f);
}

TEST(MatrixFunctions, SingularMatrixInvertsToIdentity)
{
    const float singular[9] = {1, 2, 3, 2, 4, 6, 0, 1, 1};
    float inv[9] = {9, 9, 9, 9, 9, 9, 9, 9, 9};
    inverse(singular, inv);
    expect_floats(inv, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);

    const float zero[9] = {};
    inverse(zero, inv);
    expect_floats(inv, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);
}

TEST(MatrixFunctions, GramSchmidtBuildsAnOrthonormalSet)
{
    float a[3] = {2, 0, 0}, b[3] = {1, 1, 0}, c[3] = {1, 2, 3};
    Gram_Schmid_orthonormalize(a, b, c);
    expect_floats(a, {1, 0, 0});
    expect_floats(b, {0, 1, 0});
    expect_floats(c, {0, 0, 1});

    float p[3] = {1, 1, 0}, q[3] = {0, 1, 1}, r[3] = {1, 0, 1};
    Gram_Schmid_orthonormalize(p, q, r);
    EXPECT_NEAR(dot_product(p, q), 0, 1e-6f);
    EXPECT_NEAR(dot_product(p, r), 0, 1e-6f);
    EXPECT_NEAR(dot_product(q, r), 0, 1e-6f);
    EXPECT_NEAR(vector_length(p), 1, 1e-6f);
    EXPECT_NEAR(vector_length(q), 1, 1e-6f);
    EXPECT_NEAR(vector_length(r), 1, 1e-6f);
    // Orientation follows the inputs: r keeps a positive part along (1, 0, 1).
    EXPECT_GT(r[0] + r[2], 0);
}

TEST(MatrixFunctions, GramSchmidtLeavesDegenerateVectorsZero)
{
    float a[3] = {1, 0, 0}, b[3] = {3, 0, 0}, c[3] = {0, 0, 2};
    Gram_Schmid_orthonormalize(a, b, c);
    expect_floats(b, {0, 0, 0}, 0);
    expect_floats(c, {0, 0, 1});
}

} // namespace
