// The GL state cache, call by call: what each operation sends to GL, recorded instead of executed.
#include <GL/gl.h>
#include <cstdint>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>

#include "gl_call_recorder.h"
#include "glstate.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace
{

class GLStateCalls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gls_set_functions(recording_functions(false));
        gls_set_context(&ctx);
        recorded_calls().clear();
    }
    void TearDown() override
    {
        gls_set_context(nullptr);
        gls_set_functions(nullptr);
    }
    std::vector<std::string> calls()
    {
        std::vector<std::string> out = recorded_call_strings();
        recorded_calls().clear();
        return out;
    }

    GLStateContext ctx{1024, 768};
};

TEST_F(GLStateCalls, UnchangedValuesTouchNoGL)
{
    gls_push(DepthMask, 1);
    gls_pop(DepthMask);
    gls_set(Color, 0xFFFFFFFF);
    gls_push_viewport(0, 0, 1024, 768);
    gls_pop_viewport();
    gls_push_projection(-512, 512, 384, -384, 1, 1000, false);
    gls_pop_projection();
    gls_push_texture_enable(false);
    gls_pop_texture_enable();
    gls_push_bind_texture(0);
    gls_pop_bind_texture();
    gls_bind_texture(0);
    gls_push_matrix_mode(GL_MODELVIEW);
    gls_pop_matrix_mode();
    EXPECT_THAT(calls(), IsEmpty());

    // A pop back to a value equal to the one left issues nothing either.
    gls_push(DepthTest, 1);
    gls_push(DepthTest, 1);
    calls();
    gls_pop(DepthTest);
    EXPECT_THAT(calls(), IsEmpty());
    gls_pop(DepthTest);
    EXPECT_THAT(calls(), ElementsAre("Disable(2929)"));
}

TEST_F(GLStateCalls, BlendFactorsAreAlwaysIssuedAsAPair)
{
    gls_push(BlendSrc, GL_SRC_ALPHA);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(770,0)"));
    gls_push(BlendDst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(770,771)"));
    gls_pop(BlendDst);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(770,0)"));
    gls_pop(BlendSrc);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(0,0)"));
    EXPECT_EQ(gls_get(BlendSrc), 0u);
}

TEST_F(GLStateCalls, ClipPlanesKeepTheSideOfTheirLimit)
{
    gls_push(ClipMaxX, 640);
    gls_push(ClipMinX, uint32_t(-5));
    gls_push(ClipMaxY, 300);
    gls_push(ClipMinY, 10);
    EXPECT_THAT(calls(), ElementsAre("ClipPlane(12288,-1,0,0,640)", "ClipPlane(12289,1,0,0,5)",
                                     "ClipPlane(12290,0,-1,0,300)", "ClipPlane(12291,0,1,0,-10)"));
    gls_push(ClipEnable, 1);
    EXPECT_THAT(calls(), ElementsAre("Enable(12288)", "Enable(12289)", "Enable(12290)", "Enable(12291)"));
    gls_pop(ClipMaxX);
    EXPECT_THAT(calls(), ElementsAre("ClipPlane(12288,-1,0,0,1000)"));
}

TEST_F(GLStateCalls, ColoursAndMasksAreUnpackedChannelByChannel)
{
    gls_push(Color, 0x80FF0000);
    ASSERT_EQ(recorded_calls().size(), 1u);
    EXPECT_EQ(recorded_calls()[0].name, "Color4d");
    EXPECT_THAT(recorded_calls()[0].args, ElementsAre(1.0, 0.0, 0.0, 128 * (1.0 / 255.0)));
    EXPECT_NEAR(recorded_calls()[0].args[3], 0.50196, 1e-5);
    calls();

    gls_push(ClearColor, 0x4000FF80);
    ASSERT_EQ(recorded_calls().size(), 1u);
    EXPECT_THAT(recorded_calls()[0].args,
                ElementsAre(0.0, 1.0, double(128 * (1.0f / 255.0f)), double(64 * (1.0f / 255.0f))));
    calls();

    gls_push(ColorMask, 0x5); // red and blue
    gls_push(ColorMask, 0x8); // alpha only
    gls_push(ColorMask, 0x2); // green only
    EXPECT_THAT(calls(), ElementsAre("ColorMask(1,0,1,0)", "ColorMask(0,0,0,1)", "ColorMask(0,1,0,0)"));
}

TEST_F(GLStateCalls, EachSlotIssuesItsOwnCall)
{
    gls_set(BlendEnable, 1);
    gls_set(BlendEquation, GL_MAX);
    gls_set(DepthTest, 1);
    gls_set(DepthMask, 0);
    gls_set(ShadeModel, GL_FLAT);
    gls_set(CullEnable, 1);
    gls_set(CullFace, GL_FRONT);
    gls_set(Lighting, 1);
    gls_set(Light3, 1);
    gls_set(Light3, 7); // still "on", but a different value: issued again
    EXPECT_THAT(calls(), ElementsAre("Enable(3042)", "BlendEquation(32776)", "Enable(2929)", "DepthMask(0)",
                                     "ShadeModel(7424)", "Enable(2884)", "CullFace(1028)", "Enable(2896)",
                                     "Enable(16387)", "Enable(16387)"));
}

TEST_F(GLStateCalls, ViewportsAreFlippedToGLsBottomLeftOrigin)
{
    gls_push_viewport(0, 0, 256, 256);
    EXPECT_THAT(calls(), ElementsAre("Viewport(0,512,256,256)"));
    EXPECT_EQ(gls_viewport_width(), 256);
    gls_pop_viewport();
    EXPECT_THAT(calls(), ElementsAre("Viewport(0,0,1024,768)"));

    gls_push_viewport(10, 700, 100, 50);
    EXPECT_THAT(calls(), ElementsAre("Viewport(10,18,100,50)"));
    gls_set_viewport(10, 700, 100, 50);
    EXPECT_THAT(calls(), IsEmpty());
    gls_set_viewport(0, 0, 20, 20);
    EXPECT_THAT(calls(), ElementsAre("Viewport(0,748,20,20)"));
    gls_pop_viewport();
    EXPECT_THAT(calls(), ElementsAre("Viewport(0,0,1024,768)"));

    // Extreme rectangles never overflow the conversion.
    gls_push_viewport(0, INT32_MIN, 1, INT32_MAX);
    EXPECT_EQ(recorded_calls().at(0).args[1], double(int64_t(768) - INT32_MIN - INT32_MAX));
}

TEST_F(GLStateCalls, ProjectionsAreLoadedOnTheProjectionMatrix)
{
    gls_push_projection(0, 1024, 768, 0, 1, -1, true);
    EXPECT_THAT(calls(), ElementsAre("MatrixMode(5889)", "LoadIdentity()", "Ortho(0,1024,768,0,1,-1)",
                                     "MatrixMode(5888)"));
    // The ortho flag is part of the comparison.
    gls_push_projection(0, 1024, 768, 0, 1, -1, false);
    EXPECT_THAT(calls(), ElementsAre("MatrixMode(5889)", "LoadIdentity()", "Frustum(0,1024,768,0,1,-1)",
                                     "MatrixMode(5888)"));
    gls_pop_projection();
    gls_pop_projection();
    EXPECT_THAT(calls(), ElementsAre("MatrixMode(5889)", "LoadIdentity()", "Ortho(0,1024,768,0,1,-1)",
                                     "MatrixMode(5888)", "MatrixMode(5889)", "LoadIdentity()",
                                     "Frustum(-512,512,384,-384,1,1000)", "MatrixMode(5888)"));

    // Already in projection mode: no matrix-mode calls around the load.
    gls_push_matrix_mode(GL_PROJECTION);
    calls();
    gls_push_projection(-1, 1, -1, 1, 1, 10, false);
    EXPECT_THAT(calls(), ElementsAre("LoadIdentity()", "Frustum(-1,1,-1,1,1,10)"));
}

TEST_F(GLStateCalls, TextureAndMatrixModeStacks)
{
    gls_push_texture_enable(true);
    gls_push_bind_texture(7);
    gls_bind_texture(9);
    gls_push_matrix_mode(GL_TEXTURE);
    EXPECT_THAT(calls(), ElementsAre("Enable(3553)", "BindTexture(3553,7)", "BindTexture(3553,9)",
                                     "MatrixMode(5890)"));
    gls_pop_matrix_mode();
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    EXPECT_THAT(calls(), ElementsAre("MatrixMode(5888)", "BindTexture(3553,0)", "Disable(3553)"));
}

TEST_F(GLStateCalls, MakingAFreshContextCurrentIssuesEverythingOnce)
{
    gls_set_context(nullptr);
    GLStateContext fresh(1024, 768);
    EXPECT_THAT(calls(), IsEmpty()); // construction alone touches no GL
    EXPECT_EQ(gls_make_current(&fresh), nullptr);
    EXPECT_THAT(calls(),
                ElementsAre("Disable(3042)", "BlendFunc(0,0)", "BlendFunc(0,0)", "BlendEquation(32774)",
                            "Color4d(1,1,1,1)", "ClearColor(0,0,0,0)", "ColorMask(1,1,1,1)", "Disable(2929)",
                            "DepthMask(1)", "ShadeModel(7425)", "Disable(12288)", "Disable(12289)",
                            "Disable(12290)", "Disable(12291)", "ClipPlane(12288,-1,0,0,1000)",
                            "ClipPlane(12289,1,0,0,-0)", "ClipPlane(12290,0,-1,0,700)",
                            "ClipPlane(12291,0,1,0,-0)", "Disable(2884)", "CullFace(1029)", "Disable(2896)",
                            "Disable(16384)", "Disable(16385)", "Disable(16386)", "Disable(16387)",
                            "Disable(16388)", "Disable(16389)", "Disable(16390)", "Disable(16391)",
                            // texture enable, bound texture, matrix mode, viewport, projection
                            "Disable(3553)", "BindTexture(3553,0)", "MatrixMode(5888)",
                            "Viewport(0,0,1024,768)", "MatrixMode(5889)", "LoadIdentity()",
                            "Frustum(-512,512,384,-384,1,1000)", "MatrixMode(5888)"));
    EXPECT_EQ(gls_current_context(), &fresh);
    EXPECT_EQ(fresh.matrixModeDepth, 0);
    EXPECT_EQ(fresh.matrixMode[0], uint32_t(GL_MODELVIEW));

    // Another context with equal stacks: only the slots are issued again.
    GLStateContext second(1024, 768);
    EXPECT_EQ(gls_make_current(&second), &fresh);
    EXPECT_EQ(calls().size(), 29u);

    // Null: no GL at all.
    EXPECT_EQ(gls_make_current(nullptr), &second);
    EXPECT_THAT(calls(), IsEmpty());
    EXPECT_EQ(gls_current_context(), nullptr);
}

TEST_F(GLStateCalls, SwitchingContextsIssuesOnlyWhatDiffers)
{
    GLStateContext other(1024, 768);
    other.slots[ClearColor][0] = 0xFF0000FF;
    other.slots[BlendSrc][0] = GL_ONE;
    other.viewport[0] = {0, 0, 320, 240};
    other.boundTexture[0] = 5;

    EXPECT_EQ(gls_switch_context(&other), &ctx);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(1,0)", "ClearColor(0,0,1,1)", "BindTexture(3553,5)",
                                     "Viewport(0,528,320,240)"));
    EXPECT_EQ(gls_switch_context(&ctx), &other);
    EXPECT_THAT(calls(), ElementsAre("BlendFunc(0,0)", "ClearColor(0,0,0,0)", "BindTexture(3553,0)",
                                     "Viewport(0,0,1024,768)"));

    // The same rectangle in a window of another height is another GL viewport.
    GLStateContext taller(1024, 800);
    taller.viewport[0] = {0, 0, 1024, 768};
    gls_switch_context(&taller);
    EXPECT_THAT(calls(), ElementsAre("Viewport(0,32,1024,768)", "MatrixMode(5889)", "LoadIdentity()",
                                     "Frustum(-512,512,400,-400,1,1000)", "MatrixMode(5888)"));

    // Swapping and setting never touch GL.
    EXPECT_EQ(gls_swap_context(&ctx), &taller);
    gls_set_context(&other);
    EXPECT_THAT(calls(), IsEmpty());
}

// Programming errors: they throw, and nothing outside the stack in question changes.
class GLStateMisuse : public GLStateCalls
{
};

TEST_F(GLStateMisuse, SlotStacksHold31PushesAndNoPopBelowTheBase)
{
    for (uint32_t i = 1; i <= 31; ++i)
        gls_push(ClipMaxY, i);
    const uint32_t neighbour = ctx.slots[ClipMinY][0];
    EXPECT_THROW(gls_push(ClipMaxY, 99), std::logic_error);
    EXPECT_EQ(ctx.slotDepth[ClipMaxY], 31);
    EXPECT_EQ(gls_get(ClipMaxY), 31u);
    EXPECT_EQ(ctx.slotDepth[ClipMinY], 0);
    EXPECT_EQ(ctx.slots[ClipMinY][0], neighbour);
    for (int i = 0; i < 31; ++i)
        gls_pop(ClipMaxY);
    EXPECT_EQ(gls_get(ClipMaxY), 700u);
    EXPECT_THROW(gls_pop(ClipMaxY), std::logic_error);
    EXPECT_EQ(ctx.slotDepth[ClipMaxY], 0);
    EXPECT_EQ(ctx.slotDepth[ClipMaxX], 0);

    // The last slot's full stack borders the end of the object.
    for (int i = 0; i < 31; ++i)
        gls_push(Light7, 1);
    EXPECT_THROW(gls_push(Light7, 1), std::logic_error);
}

TEST_F(GLStateMisuse, OtherStacksHaveTheSameLimits)
{
    for (int i = 0; i < 31; ++i) {
        gls_push_texture_enable(i % 2 == 0);
        gls_push_bind_texture(i);
        gls_push_viewport(i, i, 10, 10);
        gls_push_projection(i, 1, 1, 1, 1, 2, true); // uses a matrix-mode push of its own
        gls_push_matrix_mode(GL_MODELVIEW);
    }
    EXPECT_THROW(gls_push_texture_enable(true), std::logic_error);
    EXPECT_THROW(gls_push_bind_texture(1), std::logic_error);
    EXPECT_THROW(gls_push_matrix_mode(GL_PROJECTION), std::logic_error);
    EXPECT_THROW(gls_push_viewport(0, 0, 1, 1), std::logic_error);
    // Applying a projection needs a matrix-mode push; that stack is full too, but the projection
    // stack refuses first.
    EXPECT_THROW(gls_push_projection(0, 1, 1, 0, 1, -1, true), std::logic_error);
    EXPECT_EQ(ctx.textureEnableDepth, 31);
    EXPECT_EQ(ctx.boundTextureDepth, 31);
    EXPECT_EQ(ctx.matrixModeDepth, 31);
    EXPECT_EQ(ctx.viewportDepth, 31);
    EXPECT_EQ(ctx.projectionDepth, 31);
    EXPECT_EQ(ctx.boundTexture[31], 30u);
    EXPECT_EQ(ctx.viewport[31].x, 30);
    EXPECT_EQ(ctx.slotDepth[0], 0);

    for (int i = 0; i < 31; ++i) {
        gls_pop_matrix_mode();
        gls_pop_projection();
        gls_pop_viewport();
        gls_pop_bind_texture();
        gls_pop_texture_enable();
    }
    EXPECT_THROW(gls_pop_texture_enable(), std::logic_error);
    EXPECT_THROW(gls_pop_bind_texture(), std::logic_error);
    EXPECT_THROW(gls_pop_matrix_mode(), std::logic_error);
    EXPECT_THROW(gls_pop_viewport(), std::logic_error);
    EXPECT_THROW(gls_pop_projection(), std::logic_error);
    EXPECT_EQ(ctx.viewport[0].w, 1024);
    EXPECT_EQ(ctx.projection[0].farPlane, 1000.0);
}

TEST_F(GLStateMisuse, BadSlotsAndMissingContextsThrow)
{
    EXPECT_THROW(gls_get(kGLStateSlotCount), std::logic_error);
    EXPECT_THROW(gls_set(-1, 0), std::logic_error);
    EXPECT_THROW(gls_push(26, 0), std::logic_error);
    EXPECT_THROW(gls_pop(1000), std::logic_error);
    gls_set_context(nullptr);
    EXPECT_THROW(gls_set(Color, 0), std::logic_error);
    EXPECT_THROW(gls_push_viewport(0, 0, 1, 1), std::logic_error);
    EXPECT_THROW(gls_screen_width(), std::logic_error);
    EXPECT_THAT(calls(), IsEmpty());
}

} // namespace
