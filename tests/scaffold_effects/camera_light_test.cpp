// Camera and light effects and the shared-scene effects that need no GL.
#include <gtest/gtest.h>

#include "effect_host.h"
#include "effects/camera_light_effects.h"
#include "effects/group_effects.h"
#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "effects/screen_effects.h"
#include "scene/axis_marker3d.h"
#include "scene/camera3d.h"
#include "scene/light3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"
#include "scene/swarm_group_node3d.h"

#include <cmath>

namespace
{

constexpr int32_t kOne = 100000;

class SceneEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.take_log();
        gScaffold.sceneRoot->RemoveAllChildren();
        make_normal_vec(gScaffold.sceneCamera->position);
        make_normal_mat(gScaffold.sceneCamera->matrix);
    }
    void TearDown() override { gScaffold.sceneRoot->RemoveAllChildren(); }

    bool focus(int32_t group, int32_t child, int32_t point, int32_t mode, int32_t d, int32_t e, int32_t f)
    {
        return FocusCamera3D(camera.at(1), &camera.data, group, child, point, mode, d, e, f, 20000, 5, 500);
    }
    int camera_entries() const
    {
        int n = 0;
        for (int i = 0; i < gScaffold.sceneRoot->GetChildCount(); ++i)
            n += gScaffold.sceneRoot->GetChild(i) == gScaffold.sceneCamera;
        return n;
    }
    // The camera looks down its own -z axis: that axis in root space, normalised.
    void expect_looking_along(float x, float y, float z)
    {
        float forward[3] = {0, 0, -1};
        mul_mat_vec_self(gScaffold.sceneCamera->matrix, forward);
        const float length = std::sqrt(x * x + y * y + z * z);
        EXPECT_NEAR(forward[0], x / length, 1e-4);
        EXPECT_NEAR(forward[1], y / length, 1e-4);
        EXPECT_NEAR(forward[2], z / length, 1e-4);
    }
    void expect_eye(float x, float y, float z)
    {
        EXPECT_NEAR(gScaffold.sceneCamera->position[0], x, 1e-4);
        EXPECT_NEAR(gScaffold.sceneCamera->position[1], y, 1e-4);
        EXPECT_NEAR(gScaffold.sceneCamera->position[2], z, 1e-4);
    }

    EffectHost& host = EffectHost::get();
    Event camera;
};

TEST_F(SceneEffects, Clear3DEmptiesTheRootOnlyOnRunningCalls)
{
    GroupNode3D node;
    gScaffold.sceneRoot->AddChild(&node);
    Event clear;
    clear.data = &clear;
    EXPECT_TRUE(Clear3D(clear.at(0), &clear.data));
    EXPECT_EQ(clear.data, nullptr);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 1) << "the first call leaves the scene alone";
    EXPECT_TRUE(Clear3D(clear.at(1), &clear.data));
    EXPECT_EQ(clear.state.status, 1);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0);
}

TEST_F(SceneEffects, Show3DRefusesABadDestinationOnEveryCall)
{
    Event show;
    for (int32_t phase : {0, 1, -1}) {
        EXPECT_FALSE(Show3D(show.at(phase), &show.data, 3, 100, 100, 1, 0, 0, 0)) << phase;
        EXPECT_EQ(show.state.status, -1);
    }
    EXPECT_FALSE(Show3D(show.at(0), &show.data, -1, 100, 100, 1, 0, 0, 0));
    EXPECT_EQ(host.take_log(), std::vector<std::string>(4, "Show3D: Wrong RenderTo value!\n"));
    EXPECT_TRUE(Show3D(show.at(0), &show.data, 2, 100, 100, 1, 0, 0, 0)) << "first calls draw nothing";
}

TEST_F(SceneEffects, SetCamera3DPlacesTheCameraAndAddsItEveryCall)
{
    // A quarter turn about y: (x, y, z, w) = (0, sin 45, 0, cos 45), given unnormalised.
    ASSERT_TRUE(SetCamera3D(camera.at(0), &camera.data, 1000, 2000, -3000, 0, kOne, 0, kOne, 15000, 10, 900));
    EXPECT_EQ(camera.state.status, 1);
    expect_eye(1, 2, -3);
    float expected[9];
    const float q[4] = {0, std::sqrt(0.5f), 0, std::sqrt(0.5f)};
    quat_to_mat3(q, expected);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(gScaffold.sceneCamera->matrix[i], expected[i], 1e-5);
    float l, r, b, t, n, f;
    gScaffold.sceneCamera->GetFrustrumData(l, r, b, t, n, f);
    EXPECT_FLOAT_EQ(l, -1.0f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    EXPECT_FLOAT_EQ(b, -1.0f / 1.5f);
    EXPECT_FLOAT_EQ(t, 1.0f / 1.5f);
    EXPECT_FLOAT_EQ(n, 10.0f);
    EXPECT_FLOAT_EQ(f, 900.0f);
    ASSERT_TRUE(SetCamera3D(camera.at(1), &camera.data, 0, 0, 0, 0, 0, 0, kOne, 15000, 10, 900));
    EXPECT_EQ(camera_entries(), 2) << "added again without checking";
}

TEST_F(SceneEffects, FocusOrbitModePutsTheEyeBehindTheTargetAtTheDistance)
{
    ASSERT_TRUE(focus(0, -1, -1, 2, 1000, 0, 0));
    expect_eye(0, 0, -1);
    expect_looking_along(0, 0, 1);
    EXPECT_EQ(camera_entries(), 1);

    // A quarter-turn yaw moves the eye round the target; it still looks at it from distance 2.
    ASSERT_TRUE(focus(0, -1, -1, 2, 2000, 1571, 0));
    EXPECT_NEAR(std::hypot(gScaffold.sceneCamera->position[0], gScaffold.sceneCamera->position[2]), 2.0f,
                1e-4);
    expect_looking_along(-gScaffold.sceneCamera->position[0], -gScaffold.sceneCamera->position[1],
                         -gScaffold.sceneCamera->position[2]);
    EXPECT_EQ(camera_entries(), 1) << "not added twice while it is in the scene";
}

TEST_F(SceneEffects, FocusOffsetModeAimsAtTheOriginWithoutAGroup)
{
    ASSERT_TRUE(focus(0, 0, 0, 1, 3000, 4000, 0));
    expect_eye(3, 4, 0);
    expect_looking_along(-3, -4, 0);
    ASSERT_TRUE(focus(0, 0, 0, 1, 0, 5000, 5000));
    expect_looking_along(0, -1, -1);
}

TEST_F(SceneEffects, FocusKeepModeStartsFromWhereSetCamera3DPutTheCamera)
{
    ASSERT_TRUE(SetCamera3D(camera.at(1), &camera.data, 0, 0, -7000, 0, 0, 0, kOne, 13333, 5, 10000));
    ASSERT_TRUE(focus(0, 0, 0, 0, 0, 0, 0));
    expect_eye(0, 0, -7);
    expect_looking_along(0, 0, 1);
    EXPECT_EQ(camera_entries(), 1);

    gScaffold.sceneRoot->RemoveAllChildren();
    gScaffold.sceneCamera->position[0] = 50;
    ASSERT_TRUE(focus(0, 0, 0, 7, 0, 0, 0));
    expect_eye(0, 0, 0); // not in the scene: it starts from the origin
}

TEST_F(SceneEffects, FocusTargetsAChildOrASwarmPointThroughTheGroupsAboveIt)
{
    const int32_t outerName = host.text("FocusOuter"), innerName = host.text("FocusInner");
    Event outer, inner;
    auto make = [&](Event& event, int32_t phase, int32_t name, int32_t parent, int32_t x) {
        return MakeSwarmGroup(event.at(phase), &event.data, name, host.text("focusDots"), x, 0, 0, 0, 0, 0,
                              kOne, 2 * kOne, parent, 0, 2, 0, 0);
    };
    float points[6] = {0, 0, 0, 0, 0, 10};
    SwarmRecord swarm{};
    swarm.count = 2;
    swarm.positions = points;
    host.add_swarm("focusDots", &swarm);
    ASSERT_TRUE(Make3DGroup(outer.at(0), &outer.data, outerName, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
    ASSERT_TRUE(make(inner, 0, innerName, outerName, 0));
    ASSERT_TRUE(Make3DGroup(outer.at(1), &outer.data, outerName, 0, 5000, 0, 0, 0, 0, kOne, kOne, 0, 0));
    ASSERT_TRUE(make(inner, 1, innerName, outerName, 1000));
    GroupNode3D* swarmGroup = gScaffold.groups[gScaffold.find_group("FocusInner")];
    GroupNode3D child;
    child.position[0] = 3;
    swarmGroup->AddChild(&child);

    ASSERT_TRUE(focus(outerName, 9, -1, 1, 0, 0, -1000)); // child 9 does not exist: the group itself
    expect_eye(0, 5, -1);
    ASSERT_TRUE(focus(outerName, 0, -1, 1, 0, 0, -1000)); // the swarm group, placed in Outer
    expect_eye(1, 5, -1);
    ASSERT_TRUE(focus(innerName, 0, -1, 1, 0, 0, -1000)); // the child, through both groups (scale 2)
    expect_eye(1 + 6, 5, -1);
    ASSERT_TRUE(focus(innerName, 0, 1, 1, 0, 0, -1000)); // swarm point 1 carries the child to z = 10
    expect_eye(7, 5, 20 - 1);
    ASSERT_TRUE(focus(host.text("NoSuchGroup"), 0, 0, 1, 0, 0, -1000));
    expect_eye(0, 0, -1);

    ASSERT_TRUE(make(inner, -1, innerName, outerName, 0));
    ASSERT_TRUE(Make3DGroup(outer.at(-1), &outer.data, outerName, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
    host.remove_swarm("focusDots");
}

TEST_F(SceneEffects, FocusEndsOnGroupsHungIntoEachOther)
{
    GroupNode3D a, b;
    a.AddChild(&b);
    b.AddChild(&a);
    Event group;
    const int32_t name = host.text("Looped");
    ASSERT_TRUE(Make3DGroup(group.at(0), &group.data, name, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
    GroupNode3D* looped = gScaffold.groups[gScaffold.find_group("Looped")];
    looped->AddChild(&a);
    a.AddChild(looped);
    ASSERT_TRUE(focus(name, 0, -1, 1, 0, 0, -1000));
    ASSERT_TRUE(Make3DGroup(group.at(-1), &group.data, name, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
}

TEST_F(SceneEffects, SetLight3DOwnsALightAndHangsItIntoItsGroupEachFrame)
{
    Event light;
    const int32_t world = host.text("theWorld");
    auto call = [&](int32_t phase, int32_t group, int32_t marker) {
        return SetLight3D(light.at(phase), &light.data, 1000, 2000, 3000, 300, 0, 0, 10, 20, 30, 255, 256, -1,
                          10000, 5000, 1, group, marker);
    };
    ASSERT_TRUE(call(0, world, 1));
    EXPECT_EQ(light.state.status, 2);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0) << "nothing is added on the first call";

    ASSERT_TRUE(call(1, world, 0x100)); // only the low byte of showMarker counts
    EXPECT_EQ(light.state.status, 1);
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 1);
    auto* node = dynamic_cast<Light3D*>(gScaffold.sceneRoot->GetChild(0));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetAmbient(), 0xFF2C0000u) << "red 300 keeps its low byte, 44";
    EXPECT_EQ(node->GetDiffuse(), 0xFF0A141Eu);
    EXPECT_EQ(node->GetSpecular(), 0xFFFF00FFu);
    EXPECT_FLOAT_EQ(node->constantAttenuation, 1.0f);
    EXPECT_FLOAT_EQ(node->linearAttenuation, 0.5f);
    EXPECT_FLOAT_EQ(node->quadraticAttenuation, 0.0001f);
    EXPECT_FLOAT_EQ(node->position[2], 3.0f);

    gScaffold.sceneRoot->RemoveAllChildren();
    ASSERT_TRUE(call(1, world, 1));
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 2);
    auto* marker = dynamic_cast<AxisMarker3D*>(gScaffold.sceneRoot->GetChild(1));
    ASSERT_NE(marker, nullptr);
    EXPECT_FLOAT_EQ(marker->position[1], 2.0f);

    gScaffold.sceneRoot->RemoveAllChildren();
    ASSERT_TRUE(call(1, host.text("NotAGroup"), 1));
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0)
        << "an unknown group is not an error: nothing is added";
    EXPECT_EQ(light.state.status, 1);
    ASSERT_TRUE(call(-1, world, 1));
    EXPECT_EQ(light.data, nullptr);
}

TEST_F(SceneEffects, SetMusicVolumeClampsTheLevel)
{
    Event volume;
    EXPECT_TRUE(SetMusicVolume(volume.at(0), &volume.data, 100));
    EXPECT_EQ(host.musicLevel, -1) << "first calls do nothing";
    EXPECT_TRUE(SetMusicVolume(volume.at(1), &volume.data, -5));
    EXPECT_EQ(host.musicLevel, 0);
    EXPECT_TRUE(SetMusicVolume(volume.at(1), &volume.data, 300));
    EXPECT_EQ(host.musicLevel, 255);
    EXPECT_TRUE(SetMusicVolume(volume.at(1), &volume.data, 77));
    EXPECT_EQ(host.musicLevel, 77);
}

} // namespace
