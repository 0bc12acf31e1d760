// Pictor's effects through their calls: what they acquire and release, which nodes they hang into the
// group and where, and how they rebuild when a resource changes.
#include "grid_node.h"
#include "image3d.h"
#include "image_swarm_node.h"
#include "pictor_effects.h"
#include "pictor_host.h"

#include "scene/axis_marker3d.h"
#include "scene/texture.h"

#include <vortel/records.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{

class PictorEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ok());
        texture = host.serve(kTypeTexture, "logo.png", logo.get());
    }
    // Pictor3D's words with a 90 degree turn about z, position (1, 2, -3), scale 2.
    bool pictor3d(EffectCall& call, int32_t phase, int32_t tex, int32_t marker = 0, bool alphaOnly = false)
    {
        auto fn = alphaOnly ? Pictor3DAlpha : Pictor3D;
        return call.call(phase, fn, tex, 1000, 2000, -3000, 0, 0, 7071, 7071, 128, GL_SRC_ALPHA,
                         GL_ONE_MINUS_SRC_ALPHA, 1, 200000, host.groupIndex, marker);
    }

    PictorHost host;
    std::unique_ptr<Texture> logo = solid_texture(16, 0xFF00FF00);
    int32_t texture = 0;
};

TEST_F(PictorEffects, Pictor3DHoldsItsTextureFromFirstToLastCallAndHangsAPlacedQuad)
{
    EffectCall event;
    EXPECT_TRUE(pictor3d(event, 0, texture, 1));
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(host.acquisitions.back(), "Pictor3D image logo.png");
    EXPECT_EQ(host.group.GetChildCount(), 0); // the first call only builds

    EXPECT_TRUE(pictor3d(event, 1, texture, 1));
    EXPECT_EQ(event.state.status, 1);
    ASSERT_EQ(host.group.GetChildCount(), 2);
    auto* node = dynamic_cast<Image3D*>(host.group.GetChild(0));
    ASSERT_NE(node, nullptr);
    auto* marker = dynamic_cast<AxisMarker3D*>(host.group.GetChild(1));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->colorX, 0xFF8080FFu);
    EXPECT_EQ(node->width, 16);
    EXPECT_EQ(node->GetTextureId(), logo->id);
    EXPECT_FLOAT_EQ(node->position[0], 1);
    EXPECT_FLOAT_EQ(node->position[1], 2);
    EXPECT_FLOAT_EQ(node->position[2], -3);
    // A quarter turn about z, scaled by 2: x goes to y.
    EXPECT_NEAR(node->matrix[0], 0, 1e-4);
    EXPECT_NEAR(node->matrix[3], 2, 1e-4);
    EXPECT_NEAR(node->matrix[8], 2, 1e-4);
    EXPECT_EQ(node->GetColor(), 0x80FFFFFFu);
    EXPECT_EQ(node->GetBlendSrc(), uint32_t(GL_SRC_ALPHA));
    EXPECT_EQ(node->forceOpaque, 1);
    EXPECT_EQ(node->colorMask, 15);
    EXPECT_EQ(marker->position[1], node->position[1]);

    EXPECT_TRUE(pictor3d(event, -1, texture, 1));
    EXPECT_EQ(event.slot, nullptr);
    EXPECT_EQ(host.counted(kTypeTexture, "logo.png").acquires, 1);
    EXPECT_EQ(host.counted(kTypeTexture, "logo.png").releases, 1);
}

TEST_F(PictorEffects, Pictor3DAlphaWritesOnlyTheAlphaChannel)
{
    EffectCall event;
    pictor3d(event, 0, texture, 0, true);
    pictor3d(event, 1, texture, 0, true);
    ASSERT_EQ(host.group.GetChildCount(), 1); // no marker asked for
    EXPECT_EQ(static_cast<Image3D*>(host.group.GetChild(0))->GetColorMask(), 8u);
    pictor3d(event, -1, texture, 0, true);
}

TEST_F(PictorEffects, WithoutServicesInitRefusesAndTheEffectsDoNothing)
{
    EXPECT_FALSE(Vortel_Init(nullptr, nullptr, nullptr));
    EffectCall event;
    EXPECT_TRUE(pictor3d(event, 0, texture));
    EXPECT_TRUE(pictor3d(event, 1, texture));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    EXPECT_TRUE(pictor3d(event, -1, texture));
    EXPECT_EQ(event.slot, nullptr);
    EXPECT_TRUE(host.acquisitions.empty());
}

TEST_F(PictorEffects, AMissingTextureLeavesTheEventWithoutANodeAndReleasesNothing)
{
    const int32_t missing = host.text("missing.png");
    EffectCall event;
    EXPECT_TRUE(pictor3d(event, 0, missing));
    EXPECT_TRUE(pictor3d(event, 1, missing));
    EXPECT_EQ(event.state.status, 1);
    EXPECT_EQ(host.group.GetChildCount(), 0);
    EXPECT_TRUE(pictor3d(event, -1, missing));
    EXPECT_EQ(host.counted(kTypeTexture, "missing.png").releases, 0);
}

TEST_F(PictorEffects, ANonStaticTextureIsLookedUpEveryCallAndTheQuadFollowsIt)
{
    auto bigger = solid_texture(32, 0xFFFF0000);
    const int32_t live = host.serve(kTypeTexture, "live", logo.get(), false);
    EffectCall event;
    pictor3d(event, 0, live);
    pictor3d(event, 1, live);
    ASSERT_EQ(host.group.GetChildCount(), 1);
    auto* quad = static_cast<Image3D*>(host.group.GetChild(0));
    host.group.RemoveAllChildren();
    host.served[{kTypeTexture, "live"}].record = bigger.get();
    pictor3d(event, 1, live);
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(host.acquisitions.back().rfind("Pictor3D 3D group", 0), 0u);
    EXPECT_NE(std::find(host.acquisitions.begin(), host.acquisitions.end(), "Image image live"),
              host.acquisitions.end());
    ASSERT_EQ(host.group.GetChildCount(), 1);
    // The same quad, showing the new texture at its size, placed and blended as before.
    EXPECT_EQ(host.group.GetChild(0), quad);
    EXPECT_EQ(quad->GetTextureId(), bigger->id);
    EXPECT_EQ(quad->width, 32);
    EXPECT_FLOAT_EQ(static_cast<const float*>(quad->GetVertices())[0], -16);
    EXPECT_FLOAT_EQ(static_cast<const float*>(quad->GetVertices())[7], -16);
    EXPECT_EQ(quad->GetColor(), 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(quad->position[2], -3);
    // Each look-up is released at once: the event still holds just its first reference.
    const auto counts = host.counted(kTypeTexture, "live");
    EXPECT_EQ(counts.acquires - counts.releases, 1);
    // The producer losing it: the frame is skipped and nothing is left hanging or held at the end.
    host.group.RemoveAllChildren();
    host.served[{kTypeTexture, "live"}].record = nullptr;
    EXPECT_TRUE(pictor3d(event, 1, live));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    pictor3d(event, -1, live);
    const auto after = host.counted(kTypeTexture, "live");
    EXPECT_EQ(after.acquires, after.releases);
}

TEST_F(PictorEffects, AMissingGroupLeavesTheNodeOutForThatFrame)
{
    EffectCall event;
    const int32_t nowhere = host.text("nowhere");
    const auto call = [&](int32_t phase) {
        return event.call(phase, Pictor3D, texture, 0, 0, 0, 0, 0, 0, 10000, 255, 1, 0, 0, 100000, nowhere,
                          1);
    };
    call(0);
    EXPECT_TRUE(call(1));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    call(-1);
}

class ImageSwarmEffect : public PictorEffects
{
protected:
    void SetUp() override
    {
        PictorEffects::SetUp();
        for (int i = 0; i < 10; ++i) {
            positions.insert(positions.end(), {float(i), float(2 * i), 0});
            colors.insert(colors.end(), {uint8_t(255), uint8_t(i), uint8_t(0), uint8_t(0)});
        }
        swarm.count = 10;
        swarm.positions = positions.data();
        swarm.alpha = 255;
        swarmIndex = host.serve(kTypeSwarm, "points", &swarm);
    }
    bool call(EffectCall& event, int32_t phase, int32_t count, int32_t first, int32_t sprites = 0)
    {
        return event.call(phase, ImageSwarm3D, texture, count, first, swarmIndex, sprites, 0, 0, 0, 0, 0, 0,
                          10000, 200, GL_SRC_ALPHA, GL_ONE, 100000, 0, host.groupIndex, 0);
    }
    ImageSwarmNode* hung()
    {
        return host.group.GetChildCount() ? dynamic_cast<ImageSwarmNode*>(host.group.GetChild(0)) : nullptr;
    }

    std::vector<float> positions;
    std::vector<uint8_t> colors;
    SwarmRecord swarm{};
    int32_t swarmIndex = 0;
};

TEST_F(ImageSwarmEffect, CountIsCutAtTheEndOfTheSwarm)
{
    EffectCall event;
    call(event, 0, 5, 8);
    call(event, 1, 5, 8);
    ImageSwarmNode* node = hung();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->count, 2);
    EXPECT_EQ(node->GetBatchCounts()[0], 8);
    // The first quad is centred on point 8 (8, 16, 0): a 16 x 16 texture gives corners 8 units away.
    const float* v = static_cast<const float*>(node->GetVertices());
    EXPECT_FLOAT_EQ(v[0], 0);
    EXPECT_FLOAT_EQ(v[1], 24);
    EXPECT_EQ(node->GetColor() >> 24, 200u);
    call(event, -1, 5, 8);
    EXPECT_EQ(host.counted(kTypeSwarm, "points").releases, 1);
    EXPECT_EQ(host.counted(kTypeTexture, "logo.png").releases, 1);
}

TEST_F(ImageSwarmEffect, NoPointsToShowBuildsNothing)
{
    for (auto [count, first] : {std::pair{0, 0}, std::pair{5, 10}, std::pair{5, 40}, std::pair{3, -1}}) {
        EffectCall event;
        call(event, 0, count, first);
        EXPECT_TRUE(call(event, 1, count, first));
        EXPECT_EQ(host.group.GetChildCount(), 0) << count << " from " << first;
        call(event, -1, count, first);
    }
}

TEST_F(ImageSwarmEffect, ChangedShapeRebuildsAndColoursFollowTheSwarm)
{
    EffectCall event;
    call(event, 0, 4, 0);
    call(event, 1, 4, 0);
    EXPECT_EQ(event.state.status, 1);
    EXPECT_FALSE(hung()->HasColors());
    host.group.RemoveAllChildren();

    swarm.colors = colors.data(); // the swarm was coloured since: refreshed without a rebuild
    call(event, 1, 4, 0);
    EXPECT_EQ(event.state.status, 1);
    ASSERT_TRUE(hung()->HasColors());
    EXPECT_EQ(static_cast<const uint8_t*>(hung()->GetColors())[4 * 4], 1); // point 1's red on its quad
    EXPECT_EQ(static_cast<const uint8_t*>(hung()->GetColors())[3], 200);   // alpha from the opacity
    host.group.RemoveAllChildren();

    call(event, 1, 4, 0, 1); // sprites now
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(hung()->GetPrimitiveType(), uint32_t(GL_POINTS));
    call(event, -1, 4, 0, 1);
}

class GridEffects : public PictorEffects
{
protected:
    void SetUp() override
    {
        PictorEffects::SetUp();
        backIndex = host.serve(kTypeTexture, "back.png", back.get());
        positions.assign(3 * 2 * 3, 0.0f);
        grid = TextureGridRecord{3, 2, 0, 0, positions.data(), nullptr};
        gridIndex = host.serve(kTypeGrid, "sheet", &grid);
    }
    bool dual(EffectCall& event, int32_t phase)
    {
        return event.call(phase, DualImageGrid3D, texture, backIndex, gridIndex, 150, -50, 10, 20, 30, 0, 0,
                          -5000, 0, 0, 0, 10000, 99, GL_SRC_ALPHA, GL_ONE, 100000, host.groupIndex, 1);
    }

    std::unique_ptr<Texture> back = solid_texture(8, 0xFFFF00FF);
    std::vector<float> positions;
    TextureGridRecord grid{};
    int32_t backIndex = 0, gridIndex = 0;
};

TEST_F(GridEffects, ImageGrid3DTintsAndShiftsItsSheet)
{
    EffectCall event;
    const auto call = [&](int32_t phase) {
        return event.call(phase, ImageGrid3D, texture, gridIndex, 150, -50, 10, 20, 30, 0, 0, -5000, 0, 0, 0,
                          10000, 99, GL_SRC_ALPHA, GL_ONE, 100000, host.groupIndex, 0);
    };
    call(0);
    EXPECT_EQ(host.acquisitions[host.acquisitions.size() - 1], "ImageGrid3D texture grid sheet");
    call(1);
    ASSERT_EQ(host.group.GetChildCount(), 1);
    auto* node = dynamic_cast<GridNode*>(host.group.GetChild(0));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetColor(), 0x630A141Eu);
    EXPECT_FLOAT_EQ(node->offS, 1.5f);
    EXPECT_FLOAT_EQ(node->offT, -0.5f);
    EXPECT_FALSE(node->IsCulled());
    EXPECT_FLOAT_EQ(node->position[2], -5);
    call(-1);
    EXPECT_EQ(host.counted(kTypeGrid, "sheet").releases, 1);
}

TEST_F(GridEffects, DualImageGrid3DShowsOneTextureOnEachSide)
{
    EffectCall event;
    dual(event, 0);
    dual(event, 1);
    ASSERT_EQ(host.group.GetChildCount(), 3);
    auto* front = dynamic_cast<GridNode*>(host.group.GetChild(0));
    auto* back_ = dynamic_cast<GridNode*>(host.group.GetChild(1));
    ASSERT_TRUE(front && back_);
    EXPECT_NE(dynamic_cast<AxisMarker3D*>(host.group.GetChild(2)), nullptr);
    EXPECT_EQ(front->GetTextureId(), logo->id);
    EXPECT_EQ(back_->GetTextureId(), back->id);
    EXPECT_TRUE(front->IsCulled());
    EXPECT_TRUE(back_->IsCulled());
    EXPECT_EQ(front->GetCullMode(), uint32_t(GL_BACK));
    EXPECT_EQ(back_->GetCullMode(), uint32_t(GL_FRONT));
    EXPECT_EQ(back_->GetColor(), front->GetColor());
    EXPECT_FLOAT_EQ(back_->position[2], front->position[2]);
    dual(event, -1);
    for (const char* name : {"logo.png", "back.png"})
        EXPECT_EQ(host.counted(kTypeTexture, name).releases, 1) << name;
}

TEST_F(GridEffects, AMovingGridIsCopiedAgainEveryFrame)
{
    host.served[{kTypeGrid, "sheet"}].isStatic = false;
    EffectCall event;
    dual(event, 0);
    positions[2] = 7;
    dual(event, 1);
    EXPECT_EQ(event.state.status, 2);
    auto* front = dynamic_cast<GridNode*>(host.group.GetChild(0));
    ASSERT_NE(front, nullptr);
    EXPECT_FLOAT_EQ(static_cast<const float*>(front->GetVertices())[2], 7);
    const auto counts = host.counted(kTypeGrid, "sheet");
    EXPECT_EQ(counts.acquires - counts.releases, 1);
    dual(event, -1);
}

TEST_F(GridEffects, ASheetThatCannotBeDrawnBuildsNothing)
{
    grid.rows = 1; // one row: no strip, and texture coordinates would divide by zero
    EffectCall event;
    dual(event, 0);
    EXPECT_TRUE(dual(event, 1));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    dual(event, -1);
    EXPECT_EQ(host.counted(kTypeGrid, "sheet").releases, 1);
}

} // namespace
