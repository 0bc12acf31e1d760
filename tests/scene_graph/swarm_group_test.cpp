#include "recording_visitor.h"

#include "scene/light3d.h"
#include "scene/math3d.h"
#include "scene/swarm_group_node3d.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

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

// A swarm of `count` points at (i, 0, 0) with uniform colour 0x11223344.
struct TestSwarm {
    explicit TestSwarm(int count) : positions(3 * count, 0.0f)
    {
        for (int i = 0; i < count; ++i)
            positions[3 * i] = float(i);
        record.count = count;
        record.positions = positions.data();
        record.colors = nullptr;
        record.alpha = 0x11;
        record.red = 0x22;
        record.green = 0x33;
        record.blue = 0x44;
        record.orientations = nullptr;
    }
    std::vector<float> positions;
    std::vector<uint8_t> colors;
    std::vector<float> orientations;
    SwarmRecord record;
};

class SwarmGroup : public ::testing::Test
{
protected:
    SwarmGroup() : swarm(10) {}
    void SetUp() override
    {
        group.swarm = &swarm.record;
        group.pointCount = 10;
        group.AddChild(&light);
    }
    void TearDown() override { group.RemoveAllChildren(); }

    std::vector<float> drawnX(const RecordingVisitor& visitor) const
    {
        std::vector<float> xs;
        for (const Visit& v : visitor.leaves())
            xs.push_back(v.position[0]);
        return xs;
    }

    TestSwarm swarm;
    SwarmGroupNode3D group;
    Light3D light;
};

TEST_F(SwarmGroup, DefaultsFollowNoSwarmAndOnePoint)
{
    SwarmGroupNode3D fresh;
    EXPECT_EQ(fresh.swarm, nullptr);
    EXPECT_EQ(fresh.pointCount, 1);
    EXPECT_EQ(fresh.firstPoint, 0);
    EXPECT_EQ(fresh.GetExtraMatrices(), nullptr);
    EXPECT_EQ(fresh.GetExtraOffsets(), nullptr);
}

TEST_F(SwarmGroup, DrawsEachChildOncePerPointInRange)
{
    Light3D second;
    second.position[1] = 5;
    group.AddChild(&second);
    group.firstPoint = 8;
    group.pointCount = 5; // runs past the swarm's 10 points: only 8 and 9 are drawn
    RecordingVisitor visitor;
    group.Accept(visitor);

    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 4u);
    EXPECT_EQ(leaves[0].node, &light);
    expect_vec(leaves[0].position, {8, 0, 0});
    EXPECT_EQ(leaves[1].node, &second);
    expect_vec(leaves[1].position, {8, 5, 0});
    expect_vec(leaves[2].position, {9, 0, 0});
    expect_vec(leaves[3].position, {9, 5, 0});
    EXPECT_EQ(visitor.sequence(), "group enter override on light override off override on light override off "
                                  "override on light override off override on light override off leave");
}

TEST_F(SwarmGroup, ColoursComeFromThePointsOrTheSwarm)
{
    group.pointCount = 2;
    RecordingVisitor uniform;
    group.Accept(uniform);
    for (const Visit& v : uniform.leaves()) {
        EXPECT_TRUE(v.overridden);
        EXPECT_EQ(v.color, 0x11223344u);
    }

    // Per-point bytes are alpha, red, green, blue in memory order.
    swarm.colors = {0xff, 0x10, 0x20, 0x30, 0x80, 0xa0, 0xb0, 0xc0};
    swarm.colors.resize(40, 0);
    swarm.record.colors = swarm.colors.data();
    RecordingVisitor perPoint;
    group.Accept(perPoint);
    const std::vector<Visit> leaves = perPoint.leaves();
    ASSERT_EQ(leaves.size(), 2u);
    EXPECT_EQ(leaves[0].color, 0xff102030u);
    EXPECT_EQ(leaves[1].color, 0x80a0b0c0u);
    // The override is switched off with the same colour after each child.
    EXPECT_EQ(perPoint.visits[4].what, "override off");
    EXPECT_EQ(perPoint.visits[4].color, 0xff102030u);
}

TEST_F(SwarmGroup, OrientationsTurnTheChildButNotThePointPosition)
{
    swarm.orientations.resize(90);
    for (int i = 0; i < 10; ++i)
        make_rotz_mat(&swarm.orientations[9 * i], kPi / 2);
    swarm.record.orientations = swarm.orientations.data();
    light.position[0] = 1; // the child's own offset is not turned either
    group.firstPoint = 3;
    group.pointCount = 1;

    RecordingVisitor visitor;
    group.Accept(visitor);
    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 1u);
    expect_vec(leaves[0].position, {4, 0, 0});
    float expected[9];
    make_rotz_mat(expected, kPi / 2);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(leaves[0].matrix[i], expected[i], 1e-6f);
    expect_vec(light.position, {1, 0, 0});
    expect_vec(light.matrix, {1, 0, 0, 0, 1, 0, 0, 0, 1});
}

TEST_F(SwarmGroup, ExtraTransformsBelongToTheDrawnPoints)
{
    group.firstPoint = 2;
    group.pointCount = 3;
    float* matrices = new float[27];
    float* offsets = new float[9];
    for (int j = 0; j < 3; ++j) {
        make_scale_mat(matrices + 9 * j, float(j + 1), 1, 1);
        offsets[3 * j] = 0;
        offsets[3 * j + 1] = float(10 * (j + 1));
        offsets[3 * j + 2] = 0;
    }
    group.SetExtraTransforms(matrices, offsets);

    RecordingVisitor visitor;
    group.Accept(visitor);
    const std::vector<Visit> leaves = visitor.leaves();
    ASSERT_EQ(leaves.size(), 3u);
    for (int j = 0; j < 3; ++j) {
        expect_vec(leaves[j].position, {float(2 + j), float(10 * (j + 1)), 0});
        EXPECT_FLOAT_EQ(leaves[j].matrix[0], float(j + 1));
    }

    // Points past the entries (the group now draws more points than it had extras for) get none.
    group.pointCount = 5;
    RecordingVisitor more;
    group.Accept(more);
    const std::vector<Visit> all = more.leaves();
    ASSERT_EQ(all.size(), 5u);
    expect_vec(all[3].position, {5, 0, 0});
    expect_vec(all[4].position, {6, 0, 0});
    EXPECT_EQ(all[4].matrix[0], 1.0f);

    // Replacing frees the old arrays (checked by the address sanitizer) and takes the new ones.
    group.SetExtraTransforms(nullptr, new float[15]());
    EXPECT_EQ(group.GetExtraMatrices(), nullptr);
    EXPECT_NE(group.GetExtraOffsets(), nullptr);
}

TEST_F(SwarmGroup, PlacementQueriesAnswerForAPoint)
{
    swarm.orientations.resize(90);
    for (int i = 0; i < 10; ++i)
        make_rotz_mat(&swarm.orientations[9 * i], kPi / 2);
    swarm.record.orientations = swarm.orientations.data();
    group.firstPoint = 4;
    group.pointCount = 2;
    float* matrices = new float[18];
    make_scale_mat(matrices, 2, 2, 2);
    make_scale_mat(matrices + 9, 3, 3, 3);
    float* offsets = new float[6]{0, 0, 1, 0, 0, 2};
    group.SetExtraTransforms(matrices, offsets);
    light.position[1] = 7;
    make_rotx_mat(light.matrix, kPi / 2);

    expect_vec(group.GetChildPosition(5), {5, 7, 2});
    // extra * orientation * child: scale 3, turn about z, turn about x.
    float expected[9], turn[9];
    make_rotx_mat(expected, kPi / 2);
    make_rotz_mat(turn, kPi / 2);
    mul_mat_mat_self(turn, expected);
    make_scale_mat(turn, 3, 3, 3);
    mul_mat_mat_self(turn, expected);
    const float* matrix = group.GetChildMatrix(5);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(matrix[i], expected[i], 1e-5f) << i;

    // Points that are not drawn get the neutral answers.
    for (int index : {3, 6, -1, 10, 100}) {
        expect_vec(group.GetChildPosition(index), {0, 0, 0});
        expect_vec(group.GetChildMatrix(index), {1, 0, 0, 0, 1, 0, 0, 0, 1});
    }
    group.RemoveAllChildren();
    expect_vec(group.GetChildPosition(4), {0, 0, 0});
}

TEST_F(SwarmGroup, NegativeFirstPointStartsAtTheSwarmsStart)
{
    group.firstPoint = -3;
    group.pointCount = 5; // points -3 .. 1: only 0 and 1 exist
    RecordingVisitor visitor;
    group.Accept(visitor);
    EXPECT_EQ(drawnX(visitor), (std::vector<float>{0, 1}));
}

TEST_F(SwarmGroup, HugeRangeDoesNotOverflow)
{
    group.firstPoint = INT32_MAX - 1;
    group.pointCount = INT32_MAX;
    RecordingVisitor visitor;
    group.Accept(visitor);
    EXPECT_EQ(visitor.count("light"), 0);
    expect_vec(group.GetChildPosition(INT32_MAX), {0, 0, 0});
}

TEST_F(SwarmGroup, NothingIsDrawnWithoutASwarmOrWithTooManyChildren)
{
    group.swarm = nullptr;
    RecordingVisitor noSwarm;
    group.Accept(noSwarm);
    EXPECT_TRUE(noSwarm.visits.empty());
    expect_vec(group.GetChildPosition(0), {0, 0, 0});

    group.swarm = &swarm.record;
    std::vector<Light3D> crowd(kMaxSwarmGroupChildren - 1);
    for (Light3D& l : crowd)
        group.AddChild(&l);
    RecordingVisitor full;
    group.Accept(full);
    EXPECT_EQ(full.count("light"), 10 * kMaxSwarmGroupChildren);

    Light3D oneTooMany;
    group.AddChild(&oneTooMany);
    RecordingVisitor over;
    group.Accept(over);
    EXPECT_TRUE(over.visits.empty());
}

TEST_F(SwarmGroup, ChildTransformsAreRestored)
{
    light.position[2] = -4;
    make_roty_mat(light.matrix, 0.4f);
    float matrix[9];
    copy_mat(light.matrix, matrix);
    swarm.orientations.assign(90, 2.0f);
    swarm.record.orientations = swarm.orientations.data();
    RecordingVisitor visitor;
    group.Accept(visitor);
    EXPECT_EQ(visitor.count("light"), 10);
    expect_vec(light.position, {0, 0, -4});
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(light.matrix[i], matrix[i]);
}

} // namespace
