// PostGlare: the scene, plus its parts brighter than a threshold blurred and added on top.
//
// The scene is rendered once, into buffer 0, and copied to the window from there; the threshold is then
// taken in buffer 0 and the result blurred at full size. The glare is not blurred in a reduced copy: the
// box filter of reducing and the linear filter of stretching back soften the halo's foot and shoulder by
// more than 10 levels at a radius of 16 beside a white area, a reduced copy misplaces the strips along the
// window's edges that the shifted passes leave uncovered, and at 1280 x 720 it was no faster.
#include "effects/post_effects.h"

#include "effects/post_blur.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/pbuffer.h"

#include <GL/glew.h>

#include <algorithm>

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
    push_blend(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    int32_t additive[2] = {passes / 2, passes - passes / 2};
    int32_t current = 1;
    const float offX = blur_pass(current, radius, 1, true, W, H, additive[0]);
    const float offY = blur_pass(current, radius, 1, false, W, H, additive[1]);
    pop_blend();
    gPBuffer->RenderScreen();

    push_blend(GL_ONE, GL_ONE);
    show_buffer(1 - current, offX, offY, 1.0);
    pop_blend();
    return true;
}
