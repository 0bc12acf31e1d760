// What Scaffold publishes through the registry: groups, off-screen textures and materials.
#include <gtest/gtest.h>

#include "common/resource_cache.h"
#include "effect_host.h"
#include "effects/group_effects.h"
#include "effects/scaffold_state.h"
#include "effects/screen_effects.h"
#include "scene/material_record.h"
#include "scene/root_node3d.h"

namespace
{

constexpr int32_t kOne = 100000;

class Resources : public ::testing::Test
{
protected:
    void SetUp() override { host.take_log(); }
    EffectHost& host = EffectHost::get();
};

TEST_F(Resources, TheWorldAndNamedGroupsAreFoundByExactName)
{
    bool flag = false;
    EXPECT_EQ(host.acquire(kType3DGroup, "theWorld", &flag), gScaffold.sceneRoot);
    EXPECT_TRUE(flag);

    flag = false;
    EXPECT_EQ(host.acquire(kType3DGroup, "TheWorld", &flag), nullptr);
    EXPECT_FALSE(flag) << "a miss leaves the flag untouched";
    EXPECT_FALSE(host.release(kType3DGroup, "TheWorld"));

    Event event;
    const int32_t name = host.text("TheWorld");
    ASSERT_TRUE(Make3DGroup(event.at(0), &event.data, name, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
    void* group = host.acquire(kType3DGroup, "TheWorld", &flag);
    EXPECT_NE(group, nullptr);
    EXPECT_NE(group, gScaffold.sceneRoot);
    EXPECT_TRUE(flag);
    EXPECT_TRUE(host.release(kType3DGroup, "TheWorld"));
    EXPECT_TRUE(host.release(kType3DGroup, "theWorld"));
    ASSERT_TRUE(Make3DGroup(event.at(-1), &event.data, name, 0, 0, 0, 0, 0, 0, kOne, kOne, 0, 0));
    EXPECT_EQ(host.acquire(kType3DGroup, "TheWorld", &flag), nullptr);
}

TEST_F(Resources, OnlyTheTwoOffScreenBuffersAreTextures)
{
    bool flag = true;
    EXPECT_EQ(host.acquire(kTypeTexture, "Render3", &flag), nullptr);
    EXPECT_FALSE(flag) << "the flag is cleared even for a miss";
    flag = true;
    // No GL in this program, so no off-screen target: the buffers are not available either.
    EXPECT_EQ(host.acquire(kTypeTexture, "Render1", &flag), nullptr);
    EXPECT_FALSE(flag);
    EXPECT_TRUE(host.release(kTypeTexture, "Render2"));
    EXPECT_FALSE(host.release(kTypeTexture, "render2"));
}

class Materials : public Resources
{
protected:
    bool make(Event& event, int32_t phase, int32_t name, int32_t red = 255)
    {
        return MakeMaterial(event.at(phase), &event.data, name, red, 0, 0, 0, 51, 0, 0, 0, 102, 255, 2500);
    }
};

TEST_F(Materials, AMaterialLivesFromTheFirstCallToTheLast)
{
    const int32_t name = host.text("Brass");
    Event event;
    event.state.paramsConstant = true;
    ASSERT_TRUE(make(event, 0, name));
    EXPECT_EQ(event.state.status, 2);
    ASSERT_TRUE(gScaffold.materialCache->contains("Brass"));

    ASSERT_TRUE(make(event, 1, name));
    bool flag = false;
    auto* material = static_cast<MaterialRecord*>(host.acquire(kTypeMaterial, "Brass", &flag));
    ASSERT_NE(material, nullptr);
    EXPECT_TRUE(flag) << "constant parameters make a static material";
    EXPECT_FLOAT_EQ(material->ambient[0], 1.0f);
    EXPECT_FLOAT_EQ(material->ambient[3], 1.0f);
    EXPECT_FLOAT_EQ(material->diffuse[1], 0.2f);
    EXPECT_FLOAT_EQ(material->specular[2], 0.4f);
    EXPECT_FLOAT_EQ(material->opacity, 1.0f);
    EXPECT_FLOAT_EQ(material->shininess, 25.0f);
    EXPECT_EQ(material->illuminationModel, 2);
    EXPECT_EQ(material->textureName, 0u);
    EXPECT_TRUE(host.release(kTypeMaterial, "Brass"));

    ASSERT_TRUE(make(event, -1, name));
    EXPECT_FALSE(gScaffold.materialCache->contains("Brass")) << "freed with its last reference";
    EXPECT_TRUE(host.take_log().empty());
}

TEST_F(Materials, AMaterialStaysWhileAnotherPlugInHoldsIt)
{
    const int32_t name = host.text("Held");
    Event event;
    ASSERT_TRUE(make(event, 0, name));
    bool flag = true;
    ASSERT_NE(host.acquire(kTypeMaterial, "Held", &flag), nullptr);
    EXPECT_FALSE(flag);
    ASSERT_TRUE(make(event, -1, name));
    EXPECT_TRUE(gScaffold.materialCache->contains("Held"));
    EXPECT_TRUE(host.release(kTypeMaterial, "Held"));
    EXPECT_FALSE(gScaffold.materialCache->contains("Held"));
}

TEST_F(Materials, ANameInUseOrMissingIsRefusedAndTheOwnerKeepsItsMaterial)
{
    Event event;
    EXPECT_FALSE(make(event, 0, 4242));
    EXPECT_EQ(event.state.status, -1);
    EXPECT_FALSE(make(event, 1, 4242));
    EXPECT_EQ(host.take_log(),
              std::vector<std::string>(2, "MakeMaterial: Couldn't get the name for the material nr 4242\n"));

    const int32_t name = host.text("Shared");
    Event owner, other;
    ASSERT_TRUE(make(owner, 0, name, 255));
    EXPECT_FALSE(make(other, 0, name, 0));
    EXPECT_EQ(other.state.status, -1);
    EXPECT_EQ(host.take_log(), std::vector<std::string>{"MakeMaterial: material Shared already exists\n"});
    ASSERT_TRUE(make(owner, 1, name, 255));
    ASSERT_TRUE(make(other, 1, name, 0));
    ASSERT_TRUE(make(other, -1, name, 0));
    bool flag = false;
    auto* material = static_cast<MaterialRecord*>(host.acquire(kTypeMaterial, "Shared", &flag));
    ASSERT_NE(material, nullptr) << "the refused event's last call does not free the owner's material";
    EXPECT_FLOAT_EQ(material->ambient[0], 1.0f);
    host.release(kTypeMaterial, "Shared");
    ASSERT_TRUE(make(owner, -1, name));
    EXPECT_FALSE(gScaffold.materialCache->contains("Shared"));
}

} // namespace
