#include "recording_visitor.h"

#include "scene/group_node3d.h"
#include "scene/light3d.h"
#include "scene/root_node3d.h"

#include <vortel/plugin.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace
{

TEST(GroupChildren, CapacityGrowsInTheFixedSequence)
{
    GroupNode3D group;
    std::vector<Light3D> lights(82);
    std::vector<int> capacities;
    for (Light3D& light : lights) {
        group.AddChild(&light);
        if (capacities.empty() || capacities.back() != group.capacity)
            capacities.push_back(group.capacity);
    }
    // ((capacity * 3 + 3) >> 1) + 5
    EXPECT_EQ(capacities, (std::vector<int>{6, 15, 29, 50, 81, 128}));
    ASSERT_EQ(group.GetChildCount(), 82);
    for (int i = 0; i < 82; ++i)
        EXPECT_EQ(group.GetChild(i), &lights[i]) << i;
    group.RemoveAllChildren();
}

TEST(GroupChildren, AddingAGroupToItselfIsRefused)
{
    GroupNode3D group;
    Light3D light;
    group.AddChild(&light);
    try {
        group.AddChild(&group);
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Trying to make recursive hierarchy in GroupNode3D::AddChild!\n");
    }
    EXPECT_EQ(group.GetChildCount(), 1);
    EXPECT_EQ(group.GetChild(0), &light);
    EXPECT_EQ(group.parent, nullptr);
    group.RemoveAllChildren();
}

TEST(GroupChildren, ListThatCannotGrowLeavesTheGroupUsable)
{
    // A list already at the largest capacity an int32 can describe cannot grow any further.
    GroupNode3D group;
    Light3D light;
    group.AddChild(&light);
    Node3D** array = group.children;
    const int32_t realCapacity = group.capacity;
    group.capacity = INT32_MAX;
    group.childCount = group.capacity;
    try {
        group.AddChild(&light);
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Out of memory in GroupNode3D::AddChild!\n");
    }
    EXPECT_EQ(group.capacity, INT32_MAX);
    EXPECT_EQ(group.children, array);
    group.capacity = realCapacity;
    group.childCount = 1;
    group.RemoveAllChildren();
}

TEST(GroupChildren, RemovalByNodeAndByIndex)
{
    GroupNode3D group;
    Light3D a, b, c, stranger;
    group.AddChild(&a);
    group.AddChild(&b);
    group.AddChild(&c);
    group.AddChild(&b);

    EXPECT_EQ(group.RemoveChild(&stranger), nullptr);
    EXPECT_EQ(group.RemoveChildAt(-1), nullptr);
    EXPECT_EQ(group.RemoveChildAt(4), nullptr);
    EXPECT_EQ(group.GetChildCount(), 4);

    // Only the first entry of b goes; later entries move down.
    EXPECT_EQ(group.RemoveChild(&b), &b);
    ASSERT_EQ(group.GetChildCount(), 3);
    EXPECT_EQ(group.GetChild(0), &a);
    EXPECT_EQ(group.GetChild(1), &c);
    EXPECT_EQ(group.GetChild(2), &b);

    EXPECT_EQ(group.RemoveChildAt(0), &a);
    EXPECT_EQ(group.GetChild(0), &c);
    EXPECT_EQ(group.GetChild(1), &b);
    EXPECT_EQ(group.GetChild(2), nullptr);
    EXPECT_EQ(group.GetChild(-1), nullptr);
    EXPECT_EQ(a.parent, &group); // removal does not reset the link
    group.RemoveAllChildren();
}

TEST(GroupChildren, RemoveAllKeepsTheChildrenAndTheirLinks)
{
    GroupNode3D group;
    Light3D a, b;
    group.AddChild(&a);
    group.AddChild(&b);
    const int32_t capacity = group.capacity;
    group.RemoveAllChildren();
    EXPECT_EQ(group.GetChildCount(), 0);
    EXPECT_EQ(group.GetChild(0), nullptr);
    EXPECT_EQ(group.capacity, capacity);
    EXPECT_EQ(a.parent, &group);
    EXPECT_EQ(b.parent, &group);
}

TEST(GroupChildren, ParentIsTheLastGroupThatAdded)
{
    GroupNode3D first, second;
    Light3D light;
    first.AddChild(&light);
    second.AddChild(&light);
    EXPECT_EQ(light.parent, &second);
    EXPECT_EQ(first.GetChildCount(), 1);
    first.RemoveAllChildren();
    second.RemoveAllChildren();
}

TEST(GroupChildren, DeletingAGroupNeverDeletesItsChildren)
{
    Light3D light; // on the stack: a delete of it would be caught by the address sanitizer
    auto* group = new GroupNode3D;
    group->AddChild(&light);
    delete group;
    EXPECT_EQ(light.GetAmbient(), 0xff101010u);
}

TEST(GroupQueries, ChildPlacementAndOutOfRangeAnswers)
{
    GroupNode3D group;
    Light3D light;
    light.position[0] = 4;
    group.AddChild(&light);
    EXPECT_EQ(group.GetChildPosition(0), light.position);
    EXPECT_EQ(group.GetChildMatrix(0), light.matrix);

    for (int index : {-1, 1, 1000}) {
        const float* zero = group.GetChildPosition(index);
        EXPECT_EQ(zero[0], 0);
        EXPECT_EQ(zero[1], 0);
        EXPECT_EQ(zero[2], 0);
        const float* identity = group.GetChildMatrix(index);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(identity[i], i % 4 == 0 ? 1.0f : 0.0f);
    }

    // A caller that writes through the shared answer does not change the next one.
    group.GetChildPosition(-1)[1] = 9;
    group.GetChildMatrix(-1)[0] = 9;
    EXPECT_EQ(group.GetChildPosition(-1)[1], 0);
    EXPECT_EQ(group.GetChildMatrix(-1)[0], 1);
    group.RemoveAllChildren();
}

TEST(GroupTraversal, ChildrenAreVisitedInOrderBetweenEnterAndLeave)
{
    RootNode3D root(nullptr);
    GroupNode3D group;
    Light3D a, b, c;
    group.AddChild(&a);
    group.AddChild(&b);
    root.AddChild(&group);
    root.AddChild(&c);

    RecordingVisitor visitor;
    root.Accept(visitor);
    EXPECT_EQ(visitor.sequence(), "group enter group enter light light leave light leave");
    EXPECT_EQ(visitor.visits[0].node, &root);
    EXPECT_EQ(visitor.visits[2].node, &group);
    EXPECT_EQ(visitor.visits[4].node, &a);
    EXPECT_EQ(visitor.visits[5].node, &b);
    EXPECT_EQ(visitor.visits[7].node, &c);
    root.RemoveAllChildren();
    group.RemoveAllChildren();
}

TEST(GroupTraversal, CycleOfGroupsStopsAtTheDepthLimit)
{
    GroupNode3D a, b;
    a.AddChild(&b);
    b.AddChild(&a);
    RecordingVisitor visitor;
    a.Accept(visitor);
    EXPECT_EQ(visitor.count("group"), kMaxGroupDepth);
    EXPECT_EQ(visitor.count("enter"), kMaxGroupDepth);
    EXPECT_EQ(visitor.count("leave"), kMaxGroupDepth);

    // The limit counts from where each traversal starts: a second one goes just as deep.
    RecordingVisitor again;
    b.Accept(again);
    EXPECT_EQ(again.count("group"), kMaxGroupDepth);
    a.RemoveAllChildren();
    b.RemoveAllChildren();
}

TEST(GroupTraversal, DeepButFiniteTreesAreVisitedWhole)
{
    std::vector<GroupNode3D> chain(kMaxGroupDepth);
    for (int i = 0; i + 1 < kMaxGroupDepth; ++i)
        chain[i].AddChild(&chain[i + 1]);
    Light3D light;
    chain.back().AddChild(&light);
    RecordingVisitor visitor;
    chain[0].Accept(visitor);
    EXPECT_EQ(visitor.count("group"), kMaxGroupDepth);
    EXPECT_EQ(visitor.count("light"), 1);
    for (GroupNode3D& group : chain)
        group.RemoveAllChildren();
}

} // namespace
