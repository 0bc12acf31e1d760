// PostGlare: the scene, plus its parts brighter than a threshold blurred and added on top.
//
// The scene is rendered once, into buffer 0, and copied to the window from there; the threshold is taken
// in buffer 0 at full resolution, so that a bright pixel keeps its own excess however dark its
// neighbours are. A glare wide enough to hide it, with at most one adding pass each way, is then blurred
// in a copy of the thresholded picture reduced by 2 or 4 in each direction (box-averaged, so the glare's
// total light stays the same) and stretched back over the window with linear filtering. Every pass over
// the screen costs fill, and on a software rasteriser fill is what a frame costs; the reduced blur passes
// cost a quarter or a sixteenth.
#include "effects/post_effects.h"

#include "effects/post_blur.h"
#include "effects/post_glare.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/pbuffer.h"

#include <GL/glew.h>

#include <algorithm>

int32_t glare_reduction(int32_t radius, int32_t passes)
{
    // Taps summed by adding passes are then averaged with weights that assume equal gains, so with more
    // than one adding pass a direction the halo's shape depends on how many passes the blur makes, and a
    // reduced blur makes fewer: such glares stay at full size.
    if (std::max(passes / 2, passes - passes / 2) > 1)
        return 1;
    // The reduced blur keeps at least two taps of the reduced picture each way, and the downsampling box
    // stays within the blur radius, so the halo keeps its size and softness.
    return radius >= 16 ? 4 : (radius >= 4 ? 2 : 1);
}

namespace
{

// Window: what rendering the scene there would have left, taken from buffer 0 (drawn texel for pixel).
void show_scene_from_buffer0()
{
    glClear(GL_DEPTH_BUFFER_BIT);
    gls_push(BlendEnable, 0);
    gls_push(DepthTest, 0);
    gls_push(ColorMask, 15);
    show_buffer(0, 0.0f, 0.0f, 0.0);
    gls_pop(ColorMask);
    gls_pop(DepthTest);
    gls_pop(BlendEnable);
}

// Buffer 0 becomes buffer - t, clamped at 0 (t = threshold / 256).
void subtract_threshold(int32_t threshold)
{
    push_blend(GL_ONE, GL_ONE);
    gls_push(BlendEquation, GL_FUNC_REVERSE_SUBTRACT);
    push_screen_projection(0.0);
    gls_push_texture_enable(false);
    const int32_t t = std::clamp(threshold, 0, 256) * 255 / 256;
    gls_push(Color, clamped_color(t, t, t, t));
    draw_screen_quad(nullptr, false);
    gls_pop(Color);
    gls_pop_texture_enable();
    gls_pop_projection();
    gls_pop(BlendEquation);
    pop_blend();
}

// Halves the picture in buffer `from` (w x h) into the other buffer: with linear filtering each sample
// falls on the corner of four texels and averages them. Sizes are updated.
void halve(int32_t from, int32_t& w, int32_t& h)
{
    w = std::max(1, w / 2);
    h = std::max(1, h / 2);
    gPBuffer->RenderToTexture(1 - from, w, h);
    gls_push_texture_enable(true);
    gls_push_projection(0.0, w, h, 0.0, 1.0, -1.0, true);
    gls_push(BlendEnable, 0);
    push_white();
    gls_push_bind_texture(gPBuffer->GetTexture(from)->id);
    const float corners[8] = {0.0f, 0.0f, float(w), 0.0f, float(w), float(h), 0.0f, float(h)};
    draw_post_quad(corners, true);
    gls_pop_bind_texture();
    gls_pop(Color);
    gls_pop(BlendEnable);
    gls_pop_projection();
    gls_pop_texture_enable();
}

} // namespace

VORTEL_EXPORT bool PostGlare(StateStruct* state, void**, int32_t threshold, int32_t radius, int32_t passes)
{
    if (!running_with_target(state))
        return true;
    const int32_t W = gls_screen_width(), H = gls_screen_height();
    gPBuffer->RenderToTexture(0, W, H);
    render_post_scene(true);
    gPBuffer->RenderScreen();
    show_scene_from_buffer0();

    gPBuffer->RenderToTexture(0, W, H);
    subtract_threshold(threshold);

    radius = std::max(1, radius);
    const int32_t reduction = glare_reduction(radius, passes);
    int32_t w = W, h = H, image = 0;
    for (int32_t f = 1; f < reduction; f *= 2, image = 1 - image)
        halve(image, w, h);

    push_blend(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    int32_t additive[2] = {passes / 2, passes - passes / 2};
    const float reducedRadius = float(radius) / float(reduction);
    int32_t current = 1 - image;
    const float offX = blur_pass(current, reducedRadius, 1, true, w, h, additive[0]) * float(reduction);
    const float offY = blur_pass(current, reducedRadius, 1, false, w, h, additive[1]) * float(reduction);
    pop_blend();
    gPBuffer->RenderScreen();

    push_blend(GL_ONE, GL_ONE);
    show_buffer(1 - current, offX, offY, 1.0);
    pop_blend();
    return true;
}
