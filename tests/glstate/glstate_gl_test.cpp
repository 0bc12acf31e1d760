// The GL state cache against real GL (Mesa under Xvfb): GL must report what the cache holds, and the
// cached state must draw what it says.
#include <GL/glew.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gl_cache_check.h"
#include "gl_window.h"
#include "glstate.h"

using ::testing::IsEmpty;

namespace
{

constexpr int kW = 320, kH = 240;

class GLStateOnGL : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.ok());
        // Leave GL unlike a fresh cache, so that making the context current has something to fix.
        glEnable(GL_BLEND);
        glEnable(GL_LIGHT2);
        glBlendFunc(GL_ONE, GL_ONE);
        glShadeModel(GL_FLAT);
        glMatrixMode(GL_TEXTURE);
        glViewport(5, 5, 10, 10);
        glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
        gls_make_current(&ctx);
    }
    void TearDown() override { gls_make_current(nullptr); }

    // A quad over the whole window in window pixels (y downwards), drawn in the current colour.
    void fill_window()
    {
        gls_push_projection(0, kW, kH, 0, 1, -1, true);
        glBegin(GL_QUADS);
        glVertex2f(0, 0);
        glVertex2f(kW, 0);
        glVertex2f(kW, kH);
        glVertex2f(0, kH);
        glEnd();
        gls_pop_projection();
    }

    GLWindow window{kW, kH};
    GLStateContext ctx{kW, kH};
};

TEST_F(GLStateOnGL, MakingCurrentOverwritesWhateverGLHeld)
{
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());

    // The comparison itself notices GL changed behind the cache's back.
    glDisable(GL_LIGHT2);
    glEnable(GL_LIGHT4);
    glViewport(0, 1, kW, kH);
    EXPECT_EQ(gl_cache_differences(ctx).size(), 2u);
}

TEST_F(GLStateOnGL, GLFollowsTheCacheThroughPushesAndPops)
{
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, GL_SRC_ALPHA);
    gls_push(BlendDst, GL_ONE_MINUS_SRC_ALPHA);
    gls_push(BlendEquation, GL_FUNC_REVERSE_SUBTRACT);
    gls_push(Color, 0x80FF4020);
    gls_push(ClearColor, 0x10203040);
    gls_push(ColorMask, 0x6);
    gls_push(DepthTest, 1);
    gls_push(DepthMask, 0);
    gls_push(ShadeModel, GL_FLAT);
    gls_push(ClipEnable, 1);
    gls_push(ClipMaxX, 300);
    gls_push(ClipMinX, uint32_t(-20));
    gls_push(ClipMaxY, 200);
    gls_push(ClipMinY, 10);
    gls_push(CullEnable, 1);
    gls_push(CullFace, GL_FRONT_AND_BACK);
    gls_push(Lighting, 1);
    gls_push(Light5, 1);
    gls_push_texture_enable(true);
    gls_push_bind_texture(0);
    gls_push_viewport(10, 20, 100, 50);
    gls_push_projection(-2, 3, -4, 5, 1, 50, false);
    gls_push_matrix_mode(GL_TEXTURE);
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());

    gls_pop(BlendSrc);
    gls_pop(ClipMinX);
    gls_pop(ColorMask);
    gls_pop_viewport();
    gls_push_projection(0, kW, kH, 0, 1, -1, true);
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());

    gls_pop_projection();
    gls_pop_projection();
    gls_pop_matrix_mode();
    for (int slot :
         {BlendEnable, BlendDst, BlendEquation, Color, ClearColor, DepthTest, DepthMask, ShadeModel,
          ClipEnable, ClipMaxX, ClipMaxY, ClipMinY, CullEnable, CullFace, Lighting, Light5})
        gls_pop(slot);
    gls_pop_texture_enable();
    gls_pop_bind_texture();
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());
    for (int slot = 0; slot < kGLStateSlotCount; ++slot)
        EXPECT_EQ(ctx.slotDepth[slot], 0) << slot;
}

TEST_F(GLStateOnGL, ViewportsAreMeasuredFromTheTopLeft)
{
    gls_push(ClearColor, 0xFF000000);
    glClear(GL_COLOR_BUFFER_BIT);
    gls_push(Color, 0xFFFF0000);
    gls_push_viewport(0, 0, kW / 2, kH / 2);
    fill_window();
    gls_pop_viewport();
    const Picture pic = read_framebuffer(kW, kH);
    pic.save_png("viewport_top_left.png");
    EXPECT_EQ(pic.at(10, 10), 0xFFFF0000u);           // top-left quarter drawn
    EXPECT_EQ(pic.at(kW - 10, kH - 10), 0xFF000000u); // bottom-right untouched
    EXPECT_EQ(pic.at(10, kH - 10), 0xFF000000u);      // bottom-left untouched
    gls_pop(Color);
    gls_pop(ClearColor);
}

TEST_F(GLStateOnGL, ClipPlanesKeepTheInsideOfTheirLimits)
{
    gls_push(ClearColor, 0xFF000000);
    glClear(GL_COLOR_BUFFER_BIT);
    gls_push(Color, 0xFF00FF00);
    gls_push(ClipMaxX, 200);
    gls_push(ClipMinX, 100);
    gls_push(ClipMaxY, 150);
    gls_push(ClipMinY, 50);
    gls_push(ClipEnable, 1);
    fill_window(); // window pixels: x right, y down
    for (int slot : {ClipEnable, ClipMinY, ClipMaxY, ClipMinX, ClipMaxX, Color, ClearColor})
        gls_pop(slot);
    const Picture pic = read_framebuffer(kW, kH);
    pic.save_png("clip_planes.png");
    EXPECT_EQ(pic.at(150, 100), 0xFF00FF00u);
    EXPECT_EQ(pic.at(95, 100), 0xFF000000u);
    EXPECT_EQ(pic.at(205, 100), 0xFF000000u);
    EXPECT_EQ(pic.at(150, 45), 0xFF000000u);
    EXPECT_EQ(pic.at(150, 155), 0xFF000000u);
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());
}

} // namespace
