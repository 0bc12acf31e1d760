#include "recording_visitor.h"

#include "scene/kaleido_group_node3d.h"
#include "scene/light3d.h"
#include "scene/math3d.h"
#include "scene/symmetry_group_node3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

namespace
{

const float kPi = 3.14159265f;

void expect_vec(const float* actual, std::initializer_list<float> expected)
{
    int i = 0;
    for (float e : expected) {
        EXPECT_NEAR(actual[i], e, 1e-5f) << "element " << i;
        ++i;
    }
}

void expect_z_turn(const float* m, float angle)
{
    float expected[9];
    make_rotz_mat(expected, angle);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-5f) << "element " << i;
}

class KaleidoGroup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Step: turn a quarter about z, then move 1 along x.
        make_rotz_mat(kaleido.stepMatrix, kPi / 2);
        kaleido.stepPosition[0] = 1;
        kaleido.AddChild(&light);
    }
    void TearDown() override { kaleido.RemoveAllChildren(); }

    KaleidoGroupNode3D kaleido;
    Light3D light;
};

TEST_F(KaleidoGroup, DefaultsDrawLikeAPlainGroup)
{
    KaleidoGroupNode3D plain;
    Light3D child;
    child.position[2] = 3;
    plain.AddChild(&child);
    RecordingVisitor visitor;
    plain.Accept(visitor);
    EXPECT_EQ(visitor.sequence(), "group enter light leave");
    expect_vec(visitor.leaves()[0].position, {0, 0, 3});
    plain.RemoveAllChildren();
}

TEST_F(KaleidoGroup, EachCopyGetsOneMoreStep)
{
    kaleido.copies = 3;
    kaleido.stepOffset = 1;
    RecordingVisitor visitor;
    kaleido.Accept(visitor);

    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 3u);
    // One step: (1, 0, 0); two: turn (1, 0, 0) to (0, 1, 0) and move; three: turn (1, 1, 0) and move.
    expect_vec(leaves[0].position, {1, 0, 0});
    expect_z_turn(leaves[0].matrix, kPi / 2);
    expect_vec(leaves[1].position, {1, 1, 0});
    expect_z_turn(leaves[1].matrix, kPi);
    expect_vec(leaves[2].position, {0, 1, 0});
    expect_z_turn(leaves[2].matrix, 3 * kPi / 2);
    EXPECT_EQ(visitor.sequence(), "group enter light light light leave");
}

TEST_F(KaleidoGroup, ChildTransformIsRestored)
{
    light.position[0] = 0.25f;
    light.position[1] = -2;
    make_rotx_mat(light.matrix, 0.3f);
    float matrix[9], position[3];
    copy_mat(light.matrix, matrix);
    copy_vec(light.position, position);

    kaleido.copies = 4;
    kaleido.stepOffset = 2;
    RecordingVisitor visitor;
    kaleido.Accept(visitor);
    EXPECT_EQ(visitor.count("light"), 4);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(light.matrix[i], matrix[i]);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(light.position[i], position[i]);
}

TEST_F(KaleidoGroup, NegativeOffsetAndNoCopies)
{
    kaleido.copies = 3;
    kaleido.stepOffset = -1; // steps applied: none, none, one
    RecordingVisitor visitor;
    kaleido.Accept(visitor);
    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 3u);
    expect_vec(leaves[0].position, {0, 0, 0});
    expect_vec(leaves[1].position, {0, 0, 0});
    expect_vec(leaves[2].position, {1, 0, 0});

    kaleido.copies = 0;
    RecordingVisitor none;
    kaleido.Accept(none);
    EXPECT_EQ(none.sequence(), "group enter leave");
}

TEST_F(KaleidoGroup, HugeOffsetIsReachedWithoutStepping)
{
    // A plain move along x: 2^31 - 1 steps put the child near x = 2.147e9 (without stalling the frame).
    make_normal_mat(kaleido.stepMatrix);
    kaleido.stepOffset = INT32_MAX;
    kaleido.copies = 2;
    RecordingVisitor visitor;
    kaleido.Accept(visitor);
    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 2u);
    EXPECT_NEAR(leaves[0].position[0], 2147483647.0, 2147483647.0 * 1e-6);
    EXPECT_NEAR(leaves[1].position[0], 2147483648.0, 2147483648.0 * 1e-6);
    EXPECT_EQ(light.position[0], 0.0f);
}

// Draws a child at `start` through a symmetry group and returns the two positions it was drawn at.
std::vector<Visit> mirror(int32_t axis, float angle, std::initializer_list<float> start)
{
    SymmetryGroupNode3D symmetry;
    symmetry.axis = axis;
    symmetry.angle = angle;
    Light3D light;
    std::copy(start.begin(), start.end(), light.position);
    symmetry.AddChild(&light);
    RecordingVisitor visitor;
    symmetry.Accept(visitor);
    symmetry.RemoveAllChildren();
    EXPECT_EQ(visitor.sequence(), "group enter light light leave");
    EXPECT_EQ(light.position[0], *start.begin());
    return visitor.leaves();
}

TEST(SymmetryGroup, DefaultsAreAQuarterTurnAboutX)
{
    SymmetryGroupNode3D symmetry;
    EXPECT_FLOAT_EQ(symmetry.angle, 1.5707964f);
    EXPECT_EQ(symmetry.axis, 0);
}

TEST(SymmetryGroup, DrawsTheChildAtPlusAndMinusTheAngle)
{
    std::vector<Visit> z = mirror(2, kPi / 2, {1, 0, 0});
    expect_vec(z[0].position, {0, 1, 0});
    expect_vec(z[1].position, {0, -1, 0});
    expect_z_turn(z[0].matrix, kPi / 2);
    expect_z_turn(z[1].matrix, -kPi / 2);

    // About y in the engine's sense: x turns towards +z first.
    std::vector<Visit> y = mirror(1, kPi / 2, {1, 0, 0});
    expect_vec(y[0].position, {0, 0, 1});
    expect_vec(y[1].position, {0, 0, -1});

    for (int32_t xAxis : {0, 3, -1}) {
        std::vector<Visit> x = mirror(xAxis, kPi / 2, {0, 1, 0});
        expect_vec(x[0].position, {0, 0, 1});
        expect_vec(x[1].position, {0, 0, -1});
    }
}

TEST(SymmetryGroup, ChildTransformIsRestoredAndComposed)
{
    SymmetryGroupNode3D symmetry;
    symmetry.axis = 2;
    symmetry.angle = kPi / 4;
    Light3D light;
    make_rotz_mat(light.matrix, kPi / 4);
    light.position[0] = 2;
    symmetry.AddChild(&light);
    RecordingVisitor visitor;
    symmetry.Accept(visitor);
    symmetry.RemoveAllChildren();

    const std::vector<Visit> leaves = visitor.leaves();
    expect_z_turn(leaves[0].matrix, kPi / 2); // the turn applies on top of the child's own
    expect_z_turn(leaves[1].matrix, 0);
    expect_z_turn(light.matrix, kPi / 4);
    expect_vec(light.position, {2, 0, 0});
}

} // namespace
