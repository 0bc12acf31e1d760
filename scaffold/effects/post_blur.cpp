#include "effects/post_blur.h"

#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>
#include <vortel/plugin_helper.h>

const int32_t kFibonacci[kFibonacciCount] = {1,  1,   2,   3,   5,   8,   13,   21,   34,   55,
                                             89, 144, 233, 377, 610, 987, 1597, 2584, 4181, 6765};

int32_t blur_pass_count(int32_t radius, int32_t step)
{
    const int32_t taps = radius / (step < 1 ? 1 : step);
    for (int32_t i = 2; i < kFibonacciCount; ++i)
        if (kFibonacci[i] >= taps)
            return i;
    return kFibonacciCount - 1;
}

namespace
{

// Taps the kernel held in each buffer reaches on the positive side (lo, with the origin tap) and on the
// negative side (hi) of its origin.
struct KernelExtent {
    float lo[2] = {1.0f, 1.0f};
    float hi[2] = {0.0f, 0.0f};
    float taps(int b) const { return lo[b] + hi[b]; }
};

void draw_buffer_shifted(float d, bool horizontal, float w, float h)
{
    const float dx = horizontal ? d : 0.0f, dy = horizontal ? 0.0f : d;
    const float corners[8] = {dx, dy, w + dx, dy, w + dx, h + dy, dx, h + dy};
    draw_post_quad(corners, true);
}

} // namespace

float blur_pass(int32_t& current, int32_t radius, int32_t step, bool horizontal, int32_t w, int32_t h,
                int32_t& additivePasses)
{
    if (radius < 2 || !gPBuffer)
        return 0.0f;
    // The radius is in pixels of the picture shown; the taps may lie closer on a supersampled screen.
    radius = gls_scale_pixels(radius);
    gPBuffer->RenderToTexture(current, w, h);
    gls_push_texture_enable(true);
    gls_push_projection(0.0, w, h, 0.0, 1.0, -1.0, true);
    push_white();

    const int32_t passes = blur_pass_count(radius, step);
    const float unit = float(radius) / float(kFibonacci[passes]);

    // Copy, so that both buffers hold the image (a one-tap kernel each).
    gls_push(BlendEnable, 0);
    gls_push_bind_texture(gPBuffer->GetTexture(1 - current)->id);
    draw_buffer_shifted(0.0f, horizontal, float(w), float(h));
    current = 1 - current;
    gls_set(BlendEnable, 1);

    KernelExtent k;
    bool positive = true;
    for (int32_t pass = 0, counter = 2; pass < passes - 1; ++pass) {
        const int32_t c = current, o = 1 - current;
        gPBuffer->RenderToTexture(c, w, h);
        gls_bind_texture(gPBuffer->GetTexture(o)->id);
        if (additivePasses < 1) {
            gls_push(BlendSrc, GL_CONSTANT_ALPHA);
            gls_push(BlendDst, GL_ONE_MINUS_CONSTANT_ALPHA);
            glBlendColor(1.0f, 1.0f, 1.0f, k.taps(o) / (k.taps(o) + k.taps(c)));
        } else {
            gls_push(BlendSrc, GL_ONE);
            gls_push(BlendDst, GL_ONE);
            --additivePasses;
        }
        // Place the other kernel right beside this one.
        const float d = positive ? unit * (k.hi[o] + k.lo[c]) : -unit * (k.lo[o] + k.hi[c]);
        draw_buffer_shifted(d, horizontal, float(w), float(h));
        gls_pop(BlendSrc);
        gls_pop(BlendDst);
        if (positive)
            k.lo[c] += k.taps(o);
        else
            k.hi[c] += k.taps(o);
        ++counter;
        current = 1 - current;
        if (counter % 2 == 0)
            positive = !positive;
    }
    const int32_t last = 1 - current;
    float offset = (k.lo[last] - 1.0f - k.hi[last]) * unit * 0.5f;
    if (horizontal)
        offset = -offset;

    gls_pop_bind_texture();
    gls_pop(BlendEnable);
    gls_pop(Color);
    gls_pop_projection();
    gls_pop_texture_enable();
    return offset;
}

void render_post_scene(bool flipVertical)
{
    if (!gScaffold.sceneRoot)
        return;
    gls_push(DepthTest, 1);
    RenderVisitor& visitor = scene_visitor();
    gScaffold.sceneRoot->Accept(visitor);
    visitor.Render(true, flipVertical, 0, 0, 0, 0, false);
    gls_pop(DepthTest);
}

void draw_post_quad(const float* corners, bool textured)
{
    static const float texCoords[8] = {0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        if (textured)
            glTexCoord2f(texCoords[2 * i], texCoords[2 * i + 1]);
        glVertex2f(corners[2 * i], corners[2 * i + 1]);
    }
    glEnd();
}

void draw_shifted_screen_quad(float dx, float dy, bool textured)
{
    const float w = float(gls_screen_width()), h = float(gls_screen_height());
    const float corners[8] = {dx, h + dy, w + dx, h + dy, w + dx, dy, dx, dy};
    draw_post_quad(corners, textured);
}

void push_white()
{
    gls_push(Color, 0xFFFFFFFFu);
}

bool running_with_target(StateStruct* state)
{
    state->status = 1;
    return vortel::is_running_call(state) && gPBuffer && gScaffold.sceneRoot;
}

void push_blend(uint32_t src, uint32_t dst)
{
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, src);
    gls_push(BlendDst, dst);
}

void pop_blend()
{
    gls_pop(BlendDst);
    gls_pop(BlendSrc);
    gls_pop(BlendEnable);
}

void show_buffer(int32_t result, float offX, float offY, double left)
{
    push_screen_projection(left);
    gls_push_texture_enable(true);
    gls_push_bind_texture(gPBuffer->GetTexture(result)->id);
    push_white();
    draw_shifted_screen_quad(offX, offY, true);
    gls_pop(Color);
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    gls_pop_projection();
}
