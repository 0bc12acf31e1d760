// Rectangle3D, Triangle3D, Oval3D and Cube3D against the stand-in host: when the node is rebuilt, where it
// is hung, and what a call does when its group is missing.
#include <gtest/gtest.h>

#include "common/marker_colors.h"
#include "effect_host.h"
#include "effects/primitive_effects.h"
#include "effects/scaffold_state.h"
#include "scene/axis_marker3d.h"
#include "scene/flat_cube3d.h"
#include "scene/flat_oval3d.h"
#include "scene/flat_rect3d.h"
#include "scene/flat_triangle3d.h"
#include "scene/root_node3d.h"

#include <GL/gl.h>
#include <cmath>

namespace
{

constexpr int32_t kOne = 100000;

class ShapeEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.take_log();
        gScaffold.sceneRoot->RemoveAllChildren();
        world = host.text("theWorld");
    }
    void TearDown() override { gScaffold.sceneRoot->RemoveAllChildren(); }

    // Cube3D with everything but colour, x and group fixed.
    bool cube(int32_t phase, int32_t red, int32_t x = 0, int32_t group = -1, int32_t alpha = 255)
    {
        if (phase > 0)
            gScaffold.sceneRoot->RemoveAllChildren();
        return Cube3D(event.at(phase), &event.data, 2, red, 20, 30, x, 0, 0, 0, 0, 0, kOne, alpha, GL_ONE,
                      GL_ZERO, kOne, group < 0 ? world : group, 0);
    }
    template <typename T> T* hung(int i = 0)
    {
        return i < gScaffold.sceneRoot->GetChildCount() ? dynamic_cast<T*>(gScaffold.sceneRoot->GetChild(i))
                                                        : nullptr;
    }

    EffectHost& host = EffectHost::get();
    Event event;
    int32_t world = 0;
};

TEST_F(ShapeEffects, CubeIsRebuiltWhenItsColourChangesButNotWhenItMoves)
{
    EXPECT_TRUE(cube(0, 10));
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0) << "the first call hangs nothing";

    EXPECT_TRUE(cube(1, 10));
    EXPECT_EQ(event.state.status, 1);
    FlatCube3D* first = hung<FlatCube3D>();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->color, 0xFF0A141Eu);

    EXPECT_TRUE(cube(1, 10, 4000));
    EXPECT_EQ(event.state.status, 1) << "moving is no reason to rebuild";
    EXPECT_EQ(hung<FlatCube3D>(), first);
    EXPECT_FLOAT_EQ(first->position[0], 4.0f);

    EXPECT_TRUE(cube(1, 11, 4000));
    EXPECT_EQ(event.state.status, 2);
    ASSERT_TRUE(hung<FlatCube3D>());
    EXPECT_EQ(hung<FlatCube3D>()->color, 0xFF0B141Eu);

    // Only the low byte of a channel counts: 256 + 11 packs to the same colour.
    EXPECT_TRUE(cube(1, 267, 4000));
    EXPECT_EQ(event.state.status, 1);
    // The alpha word is part of the colour.
    EXPECT_TRUE(cube(1, 11, 4000, -1, 128));
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(hung<FlatCube3D>()->color, 0x800B141Eu);
    EXPECT_EQ(hung<FlatCube3D>()->opacity, 255) << "the cube has no opacity word";

    EXPECT_TRUE(cube(-1, 11));
    EXPECT_EQ(event.data, nullptr);
}

TEST_F(ShapeEffects, EachShapeIsBuiltFromItsOwnWords)
{
    Event rect, tri, oval;
    Rectangle3D(rect.at(0), &rect.data, 3, 5, 1, 2, 3, 0, 0, 0, 0, 0, 0, kOne, 300, GL_SRC_ALPHA,
                GL_ONE_MINUS_SRC_ALPHA, kOne, world, 0);
    Triangle3D(tri.at(0), &tri.data, 8, 6, 4, 5, 6, 0, 0, 0, 0, 0, 0, kOne, 77, GL_ONE, GL_ZERO, kOne, world,
               0);
    Oval3D(oval.at(0), &oval.data, 30, 20, 55, 7, 8, 9, 0, 0, 0, 0, 0, 0, kOne, 0x12, GL_ONE, GL_ZERO, kOne,
           world, 0);
    Rectangle3D(rect.at(1), &rect.data, 3, 5, 1, 2, 3, 0, 0, 0, 0, 0, 0, kOne, 300, GL_SRC_ALPHA,
                GL_ONE_MINUS_SRC_ALPHA, kOne, world, 0);
    Triangle3D(tri.at(1), &tri.data, 8, 6, 4, 5, 6, 0, 0, 0, 0, 0, 0, kOne, 77, GL_ONE, GL_ZERO, kOne, world,
               0);
    Oval3D(oval.at(1), &oval.data, 30, 20, 55, 7, 8, 9, 0, 0, 0, 0, 0, 0, kOne, 0x12, GL_ONE, GL_ZERO, kOne,
           world, 0);
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 3);

    auto* r = hung<FlatRect3D>(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->width, 3);
    EXPECT_EQ(r->height, 5);
    EXPECT_EQ(r->GetColor(), 0xFF010203u) << "opacity 300 is clamped to 255";
    EXPECT_TRUE(r->IsTransparant());

    auto* t = hung<FlatTriangle3D>(1);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->base, 8);
    EXPECT_EQ(t->height, 6);
    EXPECT_EQ(t->GetColor(), 0x4D040506u);

    auto* o = hung<FlatOval3D>(2);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->rx, 30);
    EXPECT_EQ(o->ry, 20);
    EXPECT_EQ(o->segments, 10);
    EXPECT_FLOAT_EQ(o->roundness, 0.55f);
    EXPECT_EQ(o->color, 0x12070809u);
    EXPECT_FALSE(o->IsTransparant());

    // A rectangle whose opacity changes is not rebuilt; one whose size changes is.
    Rectangle3D(rect.at(1), &rect.data, 3, 5, 1, 2, 3, 0, 0, 0, 0, 0, 0, kOne, 10, GL_SRC_ALPHA,
                GL_ONE_MINUS_SRC_ALPHA, kOne, world, 0);
    EXPECT_EQ(rect.state.status, 1);
    Rectangle3D(rect.at(1), &rect.data, 4, 5, 1, 2, 3, 0, 0, 0, 0, 0, 0, kOne, 10, GL_SRC_ALPHA,
                GL_ONE_MINUS_SRC_ALPHA, kOne, world, 0);
    EXPECT_EQ(rect.state.status, 2);

    for (Event* e : {&rect, &tri, &oval})
        e->state.phase = -1;
    Rectangle3D(&rect.state, &rect.data, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    Triangle3D(&tri.state, &tri.data, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    Oval3D(&oval.state, &oval.data, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(rect.data, nullptr);
    EXPECT_EQ(tri.data, nullptr);
    EXPECT_EQ(oval.data, nullptr);
}

TEST_F(ShapeEffects, PlacementRotatesAndScalesTheNodeAndItsMarker)
{
    Event rect;
    // A quarter turn about z (x, y, z, w = 0, 0, sin 45, cos 45), scaled by 2, at (1, 2, 3).
    const int32_t s = 70711;
    Rectangle3D(rect.at(0), &rect.data, 2, 2, 9, 9, 9, 1000, 2000, 3000, 0, 0, s, s, 255, GL_ONE, GL_ZERO,
                2 * kOne, world, 1);
    Rectangle3D(rect.at(1), &rect.data, 2, 2, 9, 9, 9, 1000, 2000, 3000, 0, 0, s, s, 255, GL_ONE, GL_ZERO,
                2 * kOne, world, 1);
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 2);
    auto* r = hung<FlatRect3D>(0);
    auto* marker = hung<AxisMarker3D>(1);
    ASSERT_TRUE(r && marker);
    EXPECT_FLOAT_EQ(r->position[0], 1.0f);
    EXPECT_FLOAT_EQ(r->position[2], 3.0f);
    // The x axis turns into the y axis, twice as long.
    EXPECT_NEAR(r->matrix[0], 0.0f, 1e-4);
    EXPECT_NEAR(std::abs(r->matrix[3]), 2.0f, 1e-4);
    EXPECT_NEAR(r->matrix[8], 2.0f, 1e-4);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(marker->matrix[i], r->matrix[i]) << i;
    EXPECT_FLOAT_EQ(marker->position[1], 2.0f);
    EXPECT_EQ(marker->colorX, kMarkerColorX);

    // Only the low byte of showMarker counts.
    gScaffold.sceneRoot->RemoveAllChildren();
    Rectangle3D(rect.at(1), &rect.data, 2, 2, 9, 9, 9, 1000, 2000, 3000, 0, 0, s, s, 255, GL_ONE, GL_ZERO,
                2 * kOne, world, 0x100);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 1);
    rect.at(-1);
    Rectangle3D(&rect.state, &rect.data, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

TEST_F(ShapeEffects, MissingGroupLeavesTheNodeOutWithoutAMessageOfItsOwn)
{
    const int32_t nowhere = host.text("NoSuchGroup");
    cube(0, 10, 0, nowhere);
    host.take_log();
    EXPECT_TRUE(cube(1, 10, 0, nowhere));
    EXPECT_EQ(event.state.status, 1);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0);
    // The only message is the registry's (here the stand-in host's) about the missing name.
    std::vector<std::string> log = host.take_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "Cube3D: no resource NoSuchGroup");
    cube(-1, 10);
}

} // namespace
