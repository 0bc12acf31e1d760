// The named-group table and the effects that make groups, run phase by phase without GL.
#include <gtest/gtest.h>

#include "effect_host.h"
#include "effects/group_effects.h"
#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "scene/kaleido_group_node3d.h"
#include "scene/root_node3d.h"
#include "scene/swarm_group_node3d.h"
#include "scene/symmetry_group_node3d.h"

#include <memory>

namespace
{

constexpr int32_t kOne = 100000; // quaternion component / scale 1.0

bool make_group(Event& event, int32_t phase, int32_t name, int32_t parent = 0, int32_t showMarker = 0,
                int32_t x = 0, int32_t y = 0, int32_t z = 0)
{
    return Make3DGroup(event.at(phase), &event.data, name, x, y, z, 0, 0, 0, kOne, kOne, parent, showMarker);
}

GroupNode3D* group_named(const char* name)
{
    const int32_t index = gScaffold.find_group(name);
    return index < 0 ? nullptr : gScaffold.groups[index];
}

bool in_root(const Node3D* node)
{
    for (int i = 0; i < gScaffold.sceneRoot->GetChildCount(); ++i)
        if (gScaffold.sceneRoot->GetChild(i) == node)
            return true;
    return false;
}

class GroupEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.take_log();
        gScaffold.sceneRoot->RemoveAllChildren();
    }
    void TearDown() override
    {
        EXPECT_EQ(gScaffold.groupCount, 0) << "a test left groups behind";
        gScaffold.sceneRoot->RemoveAllChildren();
    }
    EffectHost& host = EffectHost::get();
};

TEST(GroupTableSlots, RemovingAnEntryMovesTheLastOneIntoItsSlot)
{
    ScaffoldState table;
    GroupNode3D a, b, c;
    ASSERT_TRUE(table.append_group("a", &a));
    ASSERT_TRUE(table.append_group("b", &b));
    ASSERT_TRUE(table.append_group("c", &c));
    table.remove_group_at(0);
    EXPECT_EQ(table.groupCount, 2);
    EXPECT_STREQ(table.groupNames[0].PtrC(), "c");
    EXPECT_EQ(table.groups[0], &c);
    EXPECT_EQ(table.find_group("b"), 1);
    EXPECT_EQ(table.find_group("c"), 0);
    EXPECT_EQ(table.find_group("a"), -1);
    table.remove_group_at(1); // the last entry itself
    EXPECT_EQ(table.groupCount, 1);
    EXPECT_EQ(table.find_group("c"), 0);
    table.remove_group_at(-1);
    table.remove_group_at(5);
    EXPECT_EQ(table.groupCount, 1);
}

TEST(GroupTableSlots, NamesCompareExactlyAndLongNamesFit)
{
    ScaffoldState table;
    GroupNode3D a, b;
    const std::string longName(300, 'x');
    ASSERT_TRUE(table.append_group("Ring", &a));
    ASSERT_TRUE(table.append_group(longName.c_str(), &b));
    EXPECT_EQ(table.find_group("ring"), -1);
    EXPECT_EQ(table.find_group("Ring "), -1);
    EXPECT_EQ(table.find_group(longName.c_str()), 1);
    EXPECT_EQ(table.group_slot_of(&b), 1);
}

TEST(GroupTableSlots, HoldsAtMost256Groups)
{
    ScaffoldState table;
    GroupNode3D group;
    for (int i = 0; i < ScaffoldState::kMaxGroups; ++i)
        ASSERT_TRUE(table.append_group(std::to_string(i).c_str(), &group));
    EXPECT_FALSE(table.append_group("one too many", &group));
    EXPECT_EQ(table.groupCount, 256);
    EXPECT_EQ(table.find_group("one too many"), -1);
}

TEST_F(GroupEffects, AGroupLivesFromTheFirstCallToTheLastAndIsHungEveryRunningCall)
{
    const int32_t name = host.text("Spin");
    Event event;
    ASSERT_TRUE(make_group(event, 0, name, 0, 0, 1000, -2000, 500));
    GroupNode3D* group = group_named("Spin");
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(in_root(group)) << "not in the scene before the first running call";

    GroupNode3D child;
    group->AddChild(&child);
    ASSERT_TRUE(make_group(event, 1, name, 0, 0, 1000, -2000, 500));
    EXPECT_EQ(event.state.status, 1);
    EXPECT_TRUE(in_root(group));
    EXPECT_EQ(group->GetChildCount(), 0) << "each running call empties the group";
    EXPECT_FLOAT_EQ(group->position[0], 1.0f);
    EXPECT_FLOAT_EQ(group->position[1], -2.0f);
    EXPECT_FLOAT_EQ(group->position[2], 0.5f);

    ASSERT_TRUE(make_group(event, -1, name));
    EXPECT_EQ(group_named("Spin"), nullptr);
    EXPECT_EQ(event.data, nullptr);
    EXPECT_TRUE(host.take_log().empty());
}

TEST_F(GroupEffects, RotationAndScaleComeFromTheQuaternionAndTheScaleWord)
{
    const int32_t name = host.text("Turned");
    Event event;
    // A half turn about z (x, y, z, w = 0, 0, 1, 0) at scale 2; the quaternion is normalised first.
    auto call = [&](int32_t phase) {
        return Make3DGroup(event.at(phase), &event.data, name, 0, 0, 0, 0, 0, 3 * kOne, 0, 2 * kOne, 0, 0);
    };
    ASSERT_TRUE(call(0));
    ASSERT_TRUE(call(1));
    const float* m = group_named("Turned")->matrix;
    const float expected[9] = {-2, 0, 0, 0, -2, 0, 0, 0, 2};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-5) << i;
    ASSERT_TRUE(call(-1));
}

TEST_F(GroupEffects, RemovingTheFirstOfThreeGroupsKeepsTheOthersFindable)
{
    Event a, b, c;
    ASSERT_TRUE(make_group(a, 0, host.text("A")));
    ASSERT_TRUE(make_group(b, 0, host.text("B")));
    ASSERT_TRUE(make_group(c, 0, host.text("C")));
    GroupNode3D* groupB = group_named("B");
    GroupNode3D* groupC = group_named("C");
    ASSERT_TRUE(make_group(a, -1, host.text("A")));
    EXPECT_EQ(gScaffold.find_group("C"), 0) << "the last entry moved into the freed slot";
    bool flag = false;
    EXPECT_EQ(host.acquire(kType3DGroup, "B", &flag), groupB);
    EXPECT_EQ(host.acquire(kType3DGroup, "C", &flag), groupC);
    ASSERT_TRUE(make_group(b, -1, host.text("B")));
    ASSERT_TRUE(make_group(c, -1, host.text("C")));
}

TEST_F(GroupEffects, ASecondGroupOfTheSameNameIsRefusedAndLeavesTheFirstAlone)
{
    const int32_t name = host.text("Twice");
    Event first, second;
    ASSERT_TRUE(make_group(first, 0, name));
    GroupNode3D* group = group_named("Twice");
    EXPECT_FALSE(make_group(second, 0, name, 0, 0, 9000, 9000, 9000));
    EXPECT_EQ(second.state.status, -1);
    EXPECT_EQ(host.take_log(), std::vector<std::string>{"Make3DGroup: group Twice already exists\n"});

    ASSERT_TRUE(make_group(first, 1, name));
    ASSERT_TRUE(make_group(second, 1, name, 0, 0, 9000, 9000, 9000));
    EXPECT_FLOAT_EQ(group->position[0], 0.0f) << "the refused event does not move the other's group";
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 1);

    ASSERT_TRUE(make_group(second, -1, name));
    EXPECT_EQ(group_named("Twice"), group) << "the refused event's last call removes nothing";
    ASSERT_TRUE(make_group(first, -1, name));
    EXPECT_EQ(group_named("Twice"), nullptr);
}

TEST_F(GroupEffects, NameAndParentProblemsAreReportedInTheGroupStyle)
{
    Event event;
    EXPECT_FALSE(make_group(event, 0, 999));
    EXPECT_EQ(event.state.status, -1);
    EXPECT_EQ(event.data, nullptr);
    EXPECT_EQ(host.take_log(),
              std::vector<std::string>{"Make3DGroup: Couldn't get the name for the group nr 999\n"});

    const int32_t name = host.text("Child");
    ASSERT_TRUE(make_group(event, 0, name, host.text("Nowhere")));
    EXPECT_FALSE(make_group(event, 1, name, host.text("Nowhere")));
    EXPECT_EQ(event.state.status, -1);
    EXPECT_FALSE(make_group(event, 1, name, -3));
    EXPECT_EQ(host.take_log(),
              (std::vector<std::string>{"Make3DGroup: the Parent group Nowhere doesn't exist!\n",
                                        "Make3DGroup: Couldn't get the name for the group nr -3\n"}));
    ASSERT_TRUE(make_group(event, -1, name));
}

TEST_F(GroupEffects, AGroupIsHungIntoItsParentGroup)
{
    const int32_t outer = host.text("Outer"), inner = host.text("Inner");
    Event parentEvent, childEvent;
    ASSERT_TRUE(make_group(parentEvent, 0, outer));
    ASSERT_TRUE(make_group(childEvent, 0, inner, outer, 1));
    ASSERT_TRUE(make_group(parentEvent, 1, outer));
    ASSERT_TRUE(make_group(childEvent, 1, inner, outer, 1, 0, 3000, 0));
    GroupNode3D* parent = group_named("Outer");
    ASSERT_EQ(parent->GetChildCount(), 2) << "the group and its marker";
    EXPECT_EQ(parent->GetChild(0), group_named("Inner"));
    EXPECT_FLOAT_EQ(parent->GetChild(1)->position[1], 3.0f) << "the marker sits where the group is";
    EXPECT_FALSE(in_root(group_named("Inner")));
    ASSERT_TRUE(make_group(childEvent, -1, inner));
    ASSERT_TRUE(make_group(parentEvent, -1, outer));
}

TEST_F(GroupEffects, The257thGroupIsRefusedWithAMessage)
{
    std::vector<std::unique_ptr<Event>> events;
    for (int i = 0; i < ScaffoldState::kMaxGroups; ++i) {
        events.push_back(std::make_unique<Event>());
        ASSERT_TRUE(make_group(*events.back(), 0, host.text("g" + std::to_string(i))));
    }
    Event extra;
    EXPECT_FALSE(make_group(extra, 0, host.text("extra")));
    EXPECT_EQ(extra.state.status, -1);
    EXPECT_EQ(host.take_log(), std::vector<std::string>{
                                   "Make3DGroup: group extra can't be made, all 256 groups are in use\n"});
    EXPECT_TRUE(make_group(extra, 1, host.text("extra")));
    EXPECT_TRUE(make_group(extra, -1, host.text("extra")));
    for (int i = 0; i < ScaffoldState::kMaxGroups; ++i)
        ASSERT_TRUE(make_group(*events[size_t(i)], -1, host.text("g" + std::to_string(i))));
}

TEST_F(GroupEffects, KaleidoAndSymmetryGroupsTakeTheirParametersOnEveryCall)
{
    const int32_t k = host.text("Kal"), s = host.text("Sym");
    Event kal, sym;
    auto kaleido = [&](int32_t phase, int32_t copies) {
        return Make3DKaleido(kal.at(phase), &kal.data, k, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0, copies, 2, 1000,
                             0, 0, 0, 0, 0, kOne, kOne / 2);
    };
    auto symmetry = [&](int32_t phase, int32_t axis) {
        return MakeSymmetryGroup(sym.at(phase), &sym.data, s, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0, axis, 500);
    };
    ASSERT_TRUE(kaleido(0, 6));
    ASSERT_TRUE(symmetry(0, 2));
    auto* kg = dynamic_cast<KaleidoGroupNode3D*>(group_named("Kal"));
    auto* sg = dynamic_cast<SymmetryGroupNode3D*>(group_named("Sym"));
    ASSERT_NE(kg, nullptr);
    ASSERT_NE(sg, nullptr);
    EXPECT_EQ(kg->copies, 6) << "set on the first call already";
    EXPECT_EQ(kg->stepOffset, 2);
    EXPECT_FLOAT_EQ(kg->stepPosition[0], 1.0f);
    EXPECT_FLOAT_EQ(kg->stepMatrix[0], 0.5f);
    EXPECT_FLOAT_EQ(kg->stepMatrix[8], 0.5f);
    EXPECT_EQ(sg->axis, 2);
    EXPECT_FLOAT_EQ(sg->angle, 0.5f);
    ASSERT_TRUE(kaleido(1, 3));
    EXPECT_EQ(kg->copies, 3);
    ASSERT_TRUE(kaleido(-1, 3));
    ASSERT_TRUE(symmetry(-1, 2));
}

class SwarmGroups : public GroupEffects
{
protected:
    void SetUp() override
    {
        GroupEffects::SetUp();
        for (int i = 0; i < 4; ++i) {
            positions[3 * i] = float(i);
            positions[3 * i + 1] = positions[3 * i + 2] = 0.0f;
        }
        swarm.count = 4;
        swarm.positions = positions;
        host.add_swarm("dots", &swarm);
        host.paramRequests.clear();
        host.param = nullptr;
    }
    void TearDown() override
    {
        host.remove_swarm("dots");
        host.param = nullptr;
        GroupEffects::TearDown();
    }
    bool call(int32_t phase, int32_t count, int32_t first, int32_t timeStep, int32_t localTime = 0)
    {
        return MakeSwarmGroup(event.at(phase, localTime), &event.data, host.text("Swarmy"), host.text("dots"),
                              0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0, count, first, timeStep);
    }
    SwarmGroupNode3D* group() { return dynamic_cast<SwarmGroupNode3D*>(group_named("Swarmy")); }

    float positions[12];
    SwarmRecord swarm{};
    Event event{5000};
};

TEST_F(SwarmGroups, FollowsTheSwarmWithCountAndFirstPoint)
{
    ASSERT_TRUE(call(0, 3, 1, 0));
    ASSERT_NE(group(), nullptr);
    EXPECT_EQ(group()->swarm, &swarm);
    EXPECT_EQ(group()->pointCount, 3);
    EXPECT_EQ(group()->firstPoint, 1);
    EXPECT_EQ(group()->GetExtraMatrices(), nullptr);
    EXPECT_TRUE(host.paramRequests.empty()) << "timeStep 0 reads no per-point words";
    ASSERT_TRUE(call(-1, 3, 1, 0));
}

TEST_F(SwarmGroups, PerPointTransformsAreReadAtTheirOwnTimes)
{
    // Offset x = word 15 at time t is t; scale (word 22) 1.0; quaternion identity.
    host.param = [](int32_t time, int32_t word) {
        if (word == 15)
            return time;
        if (word == 21 || word == 22)
            return kOne;
        return 0;
    };
    ASSERT_TRUE(call(0, 2, 0, 0));
    ASSERT_TRUE(call(1, 2, 0, 100, 40));
    ASSERT_NE(group()->GetExtraOffsets(), nullptr);
    EXPECT_FLOAT_EQ(group()->GetExtraOffsets()[0], 5.040f); // startTime 5000 + local 40
    EXPECT_FLOAT_EQ(group()->GetExtraOffsets()[3], 5.140f); // + one time step
    EXPECT_FLOAT_EQ(group()->GetExtraMatrices()[9 + 4], 1.0f);
    EXPECT_EQ(group()->pointCount, 2);
    std::vector<std::pair<int32_t, int32_t>> scaleReads;
    for (auto request : host.paramRequests)
        if (request.second == 22)
            scaleReads.push_back(request);
    EXPECT_EQ(scaleReads, (std::vector<std::pair<int32_t, int32_t>>{{5000, 22}, {5100, 22}}))
        << "the scale word is read without the local time";

    const float* kept = group()->GetExtraOffsets();
    ASSERT_TRUE(call(1, 2, 0, 0, 80));
    EXPECT_EQ(group()->GetExtraOffsets(), kept) << "timeStep 0 keeps the transforms it had";
    ASSERT_TRUE(call(-1, 2, 0, 0));
}

TEST_F(SwarmGroups, TransformsAreOnlyMadeForPointsTheSwarmHas)
{
    host.param = [](int32_t, int32_t word) { return word == 21 || word == 22 ? kOne : 0; };
    ASSERT_TRUE(call(0, 2000000000, 1, 10));
    EXPECT_EQ(group()->pointCount, 2000000000);
    size_t reads = host.paramRequests.size();
    EXPECT_EQ(reads, 3u * 8u) << "points 1, 2 and 3 only";
    host.paramRequests.clear();
    ASSERT_TRUE(call(1, -5, 0, 10));
    EXPECT_TRUE(host.paramRequests.empty());
    EXPECT_EQ(group()->GetExtraOffsets(), nullptr);
    ASSERT_TRUE(call(-1, 0, 0, 0));
}

TEST_F(SwarmGroups, AMissingSwarmFailsTheCallAndStopsDrawingTheOldOne)
{
    ASSERT_TRUE(call(0, 4, 0, 0));
    host.remove_swarm("dots");
    host.take_log();
    EXPECT_FALSE(call(1, 4, 0, 0));
    EXPECT_EQ(event.state.status, -1);
    EXPECT_EQ(group()->swarm, nullptr);
    EXPECT_EQ(host.take_log().size(), 1u) << "the registry's own message";
    ASSERT_TRUE(call(-1, 4, 0, 0));
}

class CopyGroups : public GroupEffects
{
protected:
    bool copy(int32_t source, std::vector<int32_t> targets)
    {
        targets.resize(12, 0);
        return CopyGroupToGroups(event.at(1), &event.data, source, targets[0], targets[1], targets[2],
                                 targets[3], targets[4], targets[5], targets[6], targets[7], targets[8],
                                 targets[9], targets[10], targets[11]);
    }
    Event event;
};

TEST_F(CopyGroups, HangsTheSourceIntoEachTargetUpToTheFirstZero)
{
    Event s, a, b, c;
    ASSERT_TRUE(make_group(s, 0, host.text("S")));
    ASSERT_TRUE(make_group(a, 0, host.text("TA")));
    ASSERT_TRUE(make_group(b, 0, host.text("TB")));
    ASSERT_TRUE(make_group(c, 0, host.text("TC")));
    ASSERT_TRUE(copy(host.text("S"), {host.text("TA"), host.text("TB"), 0, host.text("TC")}));
    EXPECT_EQ(group_named("TA")->GetChild(0), group_named("S"));
    EXPECT_EQ(group_named("TB")->GetChild(0), group_named("S"));
    EXPECT_EQ(group_named("TC")->GetChildCount(), 0);
    EXPECT_EQ(group_named("S")->parent, group_named("TB")) << "the last group it was added to";

    ASSERT_TRUE(copy(host.text("S"), {}));
    EXPECT_EQ(group_named("TA")->GetChildCount(), 1) << "target0 = 0 adds nothing";

    EXPECT_TRUE(copy(host.text("S"), {555, host.text("TC")}));
    EXPECT_EQ(event.state.status, -1);
    EXPECT_EQ(group_named("TC")->GetChildCount(), 1) << "a target without text is skipped";
    EXPECT_FALSE(copy(host.text("S"), {host.text("Gone"), host.text("TA")}));
    EXPECT_EQ(group_named("TA")->GetChildCount(), 1) << "an unknown target stops the loop";
    EXPECT_FALSE(copy(host.text("Gone"), {host.text("TA")}));
    EXPECT_FALSE(copy(556, {host.text("TA")}));
    EXPECT_EQ(host.take_log(),
              (std::vector<std::string>{"CopyGroupToGroups: Couldn't get the name for the group nr 555\n",
                                        "CopyGroupToGroups: Unknown group Gone\n",
                                        "CopyGroupToGroups: Unknown group Gone\n",
                                        "Make3DGroup: Couldn't get the name for the group nr 556\n"}));
    ASSERT_TRUE(make_group(s, -1, host.text("S")));
    ASSERT_TRUE(make_group(a, -1, host.text("TA")));
    ASSERT_TRUE(make_group(b, -1, host.text("TB")));
    ASSERT_TRUE(make_group(c, -1, host.text("TC")));
}

TEST_F(CopyGroups, FirstAndLastCallsDoNothing)
{
    for (int32_t phase : {0, -1}) {
        StateStruct* state = event.at(phase);
        state->status = 7;
        EXPECT_TRUE(CopyGroupToGroups(state, &event.data, 999, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
        EXPECT_EQ(state->status, 7) << "status left alone";
    }
    EXPECT_TRUE(host.take_log().empty());
}

} // namespace
