#include "expect_floats.h"

#include "scene/math3d.h"
#include "scene/math3d_internal.h"

namespace
{

const float kPi = 3.14159265f;

// p -> m * p + t
void apply(const float* m, const float* t, const float* p, float* out)
{
    mul_mat_vec(p, m, out);
    add_vectors_self(t, out);
}

TEST(Transforms, ComposeAppliesTheSecondAfterTheFirst)
{
    float ma[9], mb[9];
    make_rotz_mat(ma, kPi / 2);
    const float ta[3] = {1, 0, 0};
    make_scale_mat(mb, 2, 2, 2);
    const float tb[3] = {0, 0, 5};

    float m[9], t[3];
    compose_transform(ma, ta, mb, tb, m, t);
    expect_floats(t, {2, 0, 5});

    const float p[3] = {1, 0, 0};
    float step[3], twice[3], direct[3];
    apply(ma, ta, p, step);
    apply(mb, tb, step, twice);
    apply(m, t, p, direct);
    expect_floats(twice, {2, 2, 5});
    expect_floats(direct, {2, 2, 5});

    float inPlaceM[9], inPlaceT[3] = {1, 0, 0};
    make_rotz_mat(inPlaceM, kPi / 2);
    compose_transform_self(mb, tb, inPlaceM, inPlaceT);
    expect_floats(inPlaceT, {2, 0, 5});
    expect_floats(inPlaceM, {0, -2, 0, 2, 0, 0, 0, 0, 2});
}

TEST(Transforms, InverseUndoesTheTransform)
{
    float m[9];
    make_rotx_mat(m, 0.7f);
    const float t[3] = {3, -2, 1};
    float im[9], it[3];
    inverse_transform(m, t, im, it);

    const float p[3] = {0.5f, 4, -1};
    float there[3], back[3];
    apply(m, t, p, there);
    apply(im, it, there, back);
    expect_floats(back, {0.5f, 4, -1});

    // A singular matrix inverts to the identity, so only the translation is undone.
    const float flat[9] = {1, 0, 0, 0, 1, 0, 0, 0, 0};
    inverse_transform(flat, t, im, it);
    expect_floats(im, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);
    expect_floats(it, {-3, 2, -1}, 0);
}

TEST(Transforms, GlMatrixIsColumnMajor)
{
    const float m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const float t[3] = {10, 11, 12};
    float gl[16];
    make_gl_matrix(m, t, gl);
    expect_floats(gl, {1, 4, 7, 0, 2, 5, 8, 0, 3, 6, 9, 0, 10, 11, 12, 1}, 0);
}

} // namespace
