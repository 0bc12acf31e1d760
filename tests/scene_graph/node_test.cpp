#include "recording_visitor.h"

#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/kaleido_group_node3d.h"
#include "scene/light3d.h"
#include "scene/root_node3d.h"
#include "scene/swarm_group_node3d.h"
#include "scene/symmetry_group_node3d.h"

#include <gtest/gtest.h>

namespace
{

TEST(NodeBasics, FreshNodesHaveNeutralTransforms)
{
    Light3D light;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(light.matrix[i], i % 4 == 0 ? 1.0f : 0.0f);
    for (float p : light.position)
        EXPECT_EQ(p, 0.0f);
    EXPECT_EQ(light.parent, nullptr);
}

TEST(NodeBasics, TypeCodes)
{
    Camera3D camera(1, 1, 100);
    Light3D light;
    GroupNode3D group;
    RootNode3D root(&camera);
    KaleidoGroupNode3D kaleido;
    SwarmGroupNode3D swarm;
    SymmetryGroupNode3D symmetry;
    EXPECT_EQ(camera.GetType(), 1);
    EXPECT_EQ(group.GetType(), 3);
    EXPECT_EQ(root.GetType(), 3);
    EXPECT_EQ(symmetry.GetType(), 3);
    EXPECT_EQ(kaleido.GetType(), 4);
    EXPECT_EQ(swarm.GetType(), 5);
    EXPECT_EQ(light.GetType(), 6);
}

TEST(NodeBasics, GetRootFollowsParentLinks)
{
    Camera3D camera(1, 1, 100);
    RootNode3D root(&camera);
    GroupNode3D outer, inner;
    Light3D light, loner;
    root.AddChild(&outer);
    outer.AddChild(&inner);
    inner.AddChild(&light);

    EXPECT_EQ(light.GetRoot(), &root);
    EXPECT_EQ(inner.GetRoot(), &root);
    EXPECT_EQ(root.GetRoot(), &root);
    EXPECT_EQ(root.GetCam(), &camera);
    EXPECT_EQ(loner.GetRoot(), nullptr);

    // A group that is not under any root.
    GroupNode3D detached;
    detached.AddChild(&loner);
    EXPECT_EQ(loner.GetRoot(), nullptr);

    root.RemoveAllChildren();
    outer.RemoveAllChildren();
    inner.RemoveAllChildren();
    detached.RemoveAllChildren();
}

TEST(NodeBasics, GetRootEndsOnALoopOfParents)
{
    GroupNode3D a, b, c;
    Light3D light;
    a.AddChild(&b);
    b.AddChild(&c);
    c.AddChild(&a);
    c.AddChild(&light);
    EXPECT_EQ(light.GetRoot(), nullptr);
    EXPECT_EQ(a.GetRoot(), nullptr);

    // A root inside the loop is still found.
    RootNode3D root(nullptr);
    b.AddChild(&root);
    root.AddChild(&c);
    EXPECT_EQ(light.GetRoot(), &root);
    for (GroupNode3D* g : {&a, &b, &c, static_cast<GroupNode3D*>(&root)})
        g->RemoveAllChildren();
}

TEST(CameraNode, FrustumFromAspect)
{
    Camera3D camera(1.3333334f, 5, 10000);
    float left, right, bottom, top, near, far;
    camera.GetFrustrumData(left, right, bottom, top, near, far);
    EXPECT_FLOAT_EQ(left, -1);
    EXPECT_FLOAT_EQ(right, 1);
    EXPECT_FLOAT_EQ(bottom, -0.75f);
    EXPECT_FLOAT_EQ(top, 0.75f);
    EXPECT_FLOAT_EQ(near, 5);
    EXPECT_FLOAT_EQ(far, 10000);

    camera.SetFrustrumData(-2, 3, -4, 5, 0.5f, 60);
    camera.GetFrustrumData(left, right, bottom, top, near, far);
    EXPECT_EQ(left, -2);
    EXPECT_EQ(right, 3);
    EXPECT_EQ(bottom, -4);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(near, 0.5f);
    EXPECT_EQ(far, 60);
}

TEST(LightNode, DefaultsAndColours)
{
    Light3D light;
    EXPECT_EQ(light.GetAmbient(), 0xff101010u);
    EXPECT_EQ(light.GetDiffuse(), 0xff808080u);
    EXPECT_EQ(light.GetSpecular(), 0xffffffffu);
    EXPECT_EQ(light.constantAttenuation, 1.0f);
    EXPECT_EQ(light.linearAttenuation, 0.0f);
    EXPECT_EQ(light.quadraticAttenuation, 0.0f);

    light.SetAmbient(0x01020304u);
    light.SetDiffuse(0x05060708u);
    light.SetSpecular(0x090a0b0cu);
    EXPECT_EQ(light.GetAmbient(), 0x01020304u);
    EXPECT_EQ(light.GetDiffuse(), 0x05060708u);
    EXPECT_EQ(light.GetSpecular(), 0x090a0b0cu);
}

TEST(LeafNodes, AcceptCallsTheMatchingVisit)
{
    Camera3D camera(1, 1, 100);
    Light3D light;
    RecordingVisitor visitor;
    camera.Accept(visitor);
    light.Accept(visitor);
    EXPECT_EQ(visitor.sequence(), "camera light");
    EXPECT_EQ(visitor.visits[0].node, &camera);
    EXPECT_EQ(visitor.visits[1].node, &light);
}

} // namespace
