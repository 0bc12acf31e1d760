// The off-screen render target on real GL: switching, hand-over of buffers as textures, what the
// buffers show when drawn back, and the GL state cache kept equal to GL across the switches.
#include <GL/glew.h>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gl_cache_check.h"
#include "gl_call_recorder.h"
#include "gl_window.h"
#include "glstate.h"
#include "pbuffer.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace
{

constexpr int kW = 320, kH = 240;

void quad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

// A picture nobody can mistake turned over: white ground, a blue bar along the top, a red block at the
// top left, a green block at the bottom right. Coordinates are window pixels, y downwards, in whatever
// projection the caller pushed.
void draw_picture()
{
    const struct {
        uint32_t colour;
        float x0, y0, x1, y1;
    } parts[] = {
        {0xFFFFFFFF, 0, 0, kW, kH},
        {0xFF0000FF, 0, 0, kW, kH * 0.1f},
        {0xFFFF0000, kW * 0.1f, kH * 0.2f, kW * 0.4f, kH * 0.4f},
        {0xFF00FF00, kW * 0.6f, kH * 0.6f, kW * 0.9f, kH * 0.9f},
    };
    for (const auto& part : parts) {
        gls_push(Color, part.colour);
        quad(part.x0, part.y0, part.x1, part.y1);
        gls_pop(Color);
    }
}

// Shows a buffer over the whole window the way the post-processing effects do.
void show_buffer(int buffer)
{
    Texture* texture = gPBuffer->GetTexture(buffer);
    gls_push_projection(0, kW, kH, 0, 1, -1, true);
    gls_push_texture_enable(true);
    gls_push_bind_texture(texture->id);
    gls_push(Color, 0xFFFFFFFF);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, kH);
    glTexCoord2f(1, 1);
    glVertex2f(kW, kH);
    glTexCoord2f(1, 0);
    glVertex2f(kW, 0);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glEnd();
    gls_pop(Color);
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    gls_pop_projection();
}

// How many pixels differ from the reference by more than `tolerance` in some channel.
int mismatches(const Picture& a, const Picture& b, int tolerance)
{
    int count = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(a.rgba[i + c]) - int(b.rgba[i + c])) > tolerance) {
                ++count;
                break;
            }
    return count;
}

class PBufferOnGL : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.ok());
        gls_make_current(&screen);
        ASSERT_NE(PBuffer::Create(kW, kH), nullptr);
        ASSERT_EQ(PBuffer::GetPBuffer(), gPBuffer);
    }
    void TearDown() override
    {
        gls_set_functions(nullptr);
        PBuffer::Destroy();
        EXPECT_EQ(gPBuffer, nullptr);
        gls_make_current(nullptr);
    }

    std::vector<std::string> record_from_now()
    {
        std::vector<std::string> calls = recorded_call_strings();
        recorded_calls().clear();
        return calls;
    }
    static GLint framebuffer_binding()
    {
        GLint binding = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &binding);
        return binding;
    }

    // What the picture looks like drawn straight to the window.
    Picture reference()
    {
        gls_push(ClearColor, 0xFF000000);
        glClear(GL_COLOR_BUFFER_BIT);
        gls_push_projection(0, kW, kH, 0, 1, -1, true);
        draw_picture();
        gls_pop_projection();
        gls_pop(ClearColor);
        return read_framebuffer(kW, kH);
    }

    // Draws the picture into a buffer the way the renderer does there: bottom and top exchanged.
    void draw_into(int buffer, int width, int height)
    {
        gPBuffer->RenderToTexture(buffer, width, height);
        gls_push_projection(0, kW, 0, kH, 1, -1, true);
        draw_picture();
        gls_pop_projection();
        gPBuffer->RenderScreen();
    }

    Picture shown(int buffer)
    {
        gls_push(ClearColor, 0xFF000000);
        glClear(GL_COLOR_BUFFER_BIT);
        gls_pop(ClearColor);
        show_buffer(buffer);
        return read_framebuffer(kW, kH);
    }

    GLWindow window{kW, kH};
    GLStateContext screen{kW, kH};
};

TEST_F(PBufferOnGL, DrawingGoesOffScreenUntilRenderScreen)
{
    gls_set(ClearColor, 0xFF336699); // the two caches now differ in one slot
    gls_set_functions(recording_functions(true));
    recorded_calls().clear();

    gPBuffer->RenderToTexture(1, 200, 100);
    EXPECT_EQ(gPBuffer->currentTarget(), 1);
    EXPECT_EQ(gls_current_context(), gPBuffer->stateContext());
    EXPECT_NE(framebuffer_binding(), 0);
    EXPECT_THAT(record_from_now(), ElementsAre("ClearColor(0,0,0,0)", "Viewport(0,0,200,100)"));

    gPBuffer->RenderToTexture(1, 200, 100);
    EXPECT_THAT(record_from_now(), IsEmpty());
    gPBuffer->RenderToTexture(1, 100, 50);
    EXPECT_THAT(record_from_now(), ElementsAre("Viewport(0,0,100,50)"));

    gPBuffer->RenderScreen();
    EXPECT_EQ(gPBuffer->currentTarget(), -1);
    EXPECT_EQ(gls_current_context(), &screen);
    EXPECT_EQ(framebuffer_binding(), 0);
    EXPECT_THAT(record_from_now(), ElementsAre("ClearColor(0.2,0.4,0.6,1)", "Viewport(0,0,320,240)"));

    gPBuffer->RenderScreen();
    EXPECT_THAT(record_from_now(), IsEmpty());
    EXPECT_EQ(gls_current_context(), &screen);
}

TEST_F(PBufferOnGL, AtMostOneBindPerHandOverBetweenDrawingAndReading)
{
    draw_into(0, kW, kH);
    gls_set_functions(recording_functions(true));
    recorded_calls().clear();
    const uint32_t id = gPBuffer->GetTexture(0)->id;
    const std::string bind = "BindTexture(3553," + std::to_string(id) + ")";
    EXPECT_THAT(record_from_now(), ElementsAre(bind, "BindTexture(3553,0)"));
    EXPECT_EQ(gPBuffer->GetTexture(0)->id, id);
    EXPECT_THAT(record_from_now(), IsEmpty());

    // Drawing into buffer 1 leaves buffer 0 readable; drawing into buffer 0 takes it back first.
    gPBuffer->RenderToTexture(1, kW, kH);
    gPBuffer->RenderScreen();
    record_from_now();
    gPBuffer->GetTexture(0);
    EXPECT_THAT(record_from_now(), IsEmpty());
    gPBuffer->RenderToTexture(0, kW, kH);
    EXPECT_THAT(record_from_now(), ElementsAre(bind, "BindTexture(3553,0)"));
    gPBuffer->RenderScreen();
    record_from_now();
    gPBuffer->GetTexture(0);
    EXPECT_THAT(record_from_now(), ElementsAre(bind, "BindTexture(3553,0)"));
    EXPECT_THAT(gl_cache_differences(screen), IsEmpty());
}

TEST_F(PBufferOnGL, APictureDrawnIntoABufferComesBackTheRightWayUp)
{
    const Picture expected = reference();
    expected.save_png("reference.png");
    draw_into(0, kW, kH);

    // In the buffer itself the picture is upside down: its first row (GL's bottom) is the blue bar.
    std::vector<uint32_t> texels(size_t(kW) * kH);
    const Texture* texture = gPBuffer->GetTexture(0);
    EXPECT_EQ(texture->width, kW);
    EXPECT_EQ(texture->height, kH);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(texels[kW / 2], 0xFF0000FFu);

    const Picture back = shown(0);
    back.save_png("buffer0_shown.png");
    EXPECT_EQ(back.at(kW / 2, 5), 0xFF0000FFu);              // blue bar at the top
    EXPECT_EQ(back.at(kW / 4, kH * 3 / 10), 0xFFFF0000u);    // red block top left
    EXPECT_EQ(back.at(kW * 3 / 4, kH * 3 / 4), 0xFF00FF00u); // green block bottom right
    EXPECT_EQ(mismatches(back, expected, 2), 0);
}

TEST_F(PBufferOnGL, ASmallerRegionIsShownWholeStretchedOverTheWindow)
{
    const Picture expected = reference();
    draw_into(1, kW / 2, kH / 2);
    EXPECT_EQ(gPBuffer->GetTexture(1)->width, kW / 2);
    EXPECT_EQ(gPBuffer->GetTexture(1)->height, kH / 2);

    const Picture back = shown(1);
    back.save_png("buffer1_half_size_shown.png");
    EXPECT_EQ(back.at(kW / 2, 5), 0xFF0000FFu);
    EXPECT_EQ(back.at(kW / 4, kH * 3 / 10), 0xFFFF0000u);
    EXPECT_EQ(back.at(kW * 3 / 4, kH * 3 / 4), 0xFF00FF00u);
    // The window's edges show the picture's edges, not the opposite side wrapped around.
    EXPECT_EQ(back.at(kW - 1, kH - 1), 0xFFFFFFFFu);
    EXPECT_EQ(back.at(kW / 2, kH - 1), 0xFFFFFFFFu);
    EXPECT_EQ(back.at(0, 0), 0xFF0000FFu);
    // Only the block edges blur at half resolution: two rows or columns per edge, 2 x 944 pixels.
    EXPECT_LE(mismatches(back, expected, 8), 1900);

    // Back at full size, buffer 1 is full size again.
    draw_into(1, kW, kH);
    EXPECT_EQ(mismatches(shown(1), expected, 2), 0);
}

TEST_F(PBufferOnGL, EachSwitchLeavesGLEqualToTheCacheSwitchedTo)
{
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, GL_ONE);
    gls_push(Color, 0xFF808080);
    gls_push(ClipMaxX, 250);
    gls_push(Lighting, 1);
    gls_push_viewport(10, 10, 100, 100);
    gls_push_projection(-1, 1, -1, 1, 1, 100, false);
    Texture picture(4, 4);
    gls_push_texture_enable(true);
    gls_push_bind_texture(picture.id);
    gls_push_matrix_mode(GL_TEXTURE);
    ASSERT_THAT(gl_cache_differences(screen), IsEmpty());

    gPBuffer->RenderToTexture(0, 160, 120);
    EXPECT_THAT(gl_cache_differences(*gPBuffer->stateContext()), IsEmpty());
    gls_push(BlendDst, GL_ONE);
    gls_push(DepthTest, 1);
    gls_push_projection(0, 160, 0, 120, 1, -1, true);
    gls_set(Color, 0xFF102030); // effects may leave a set value behind
    gls_bind_texture(gPBuffer->GetTexture(1)->id);
    gPBuffer->RenderToTexture(1, 80, 60); // buffer to buffer: same cache
    EXPECT_THAT(gl_cache_differences(*gPBuffer->stateContext()), IsEmpty());

    gPBuffer->RenderScreen();
    EXPECT_THAT(gl_cache_differences(screen), IsEmpty());
    EXPECT_EQ(gls_get(Color), 0xFF808080u);

    gPBuffer->RenderToTexture(0, 160, 120);
    EXPECT_THAT(gl_cache_differences(*gPBuffer->stateContext()), IsEmpty());
    gls_pop_projection();
    gls_pop(DepthTest);
    gls_pop(BlendDst);
    gPBuffer->RenderScreen();
    EXPECT_THAT(gl_cache_differences(screen), IsEmpty());
    gls_pop_matrix_mode();
    gls_pop_bind_texture();
    gls_pop_texture_enable();
}

TEST_F(PBufferOnGL, OddArgumentsAreMadeSafe)
{
    gPBuffer->RenderToTexture(7, 0, -5); // any non-zero buffer is buffer 1; sizes clamp to 1
    EXPECT_EQ(gPBuffer->currentTarget(), 1);
    gPBuffer->RenderScreen();
    EXPECT_EQ(gPBuffer->GetTexture(-2), gPBuffer->GetTexture(1));
    EXPECT_EQ(gPBuffer->GetTexture(1)->width, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Destroying while drawing off-screen returns to the window first.
    gPBuffer->RenderToTexture(0, 64, 64);
    PBuffer::Destroy();
    EXPECT_EQ(gPBuffer, nullptr);
    EXPECT_EQ(gls_current_context(), &screen);
    EXPECT_EQ(framebuffer_binding(), 0);
    EXPECT_THAT(gl_cache_differences(screen), IsEmpty());

    // A second Create replaces the first.
    PBuffer* first = PBuffer::Create(kW, kH);
    PBuffer* second = PBuffer::Create(kW, kH);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(gPBuffer, second);
}

} // namespace
