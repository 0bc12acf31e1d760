#include "effects/screen_effects.h"

#include "effects/screen_quad.h"
#include "glstate.h"

#include <GL/glew.h>
#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool InvertColors(StateStruct* state, void**)
{
    state->status = 1;
    if (!vortel::is_running_call(state))
        return true;
    push_screen_projection(1.0);
    gls_push_texture_enable(false);
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, GL_ONE_MINUS_DST_COLOR);
    gls_push(BlendDst, GL_ZERO);
    gls_push(Color, 0xFFFFFFFF);
    draw_screen_quad(nullptr, false);
    gls_pop(Color);
    gls_pop(BlendDst);
    gls_pop(BlendSrc);
    gls_pop(BlendEnable);
    gls_pop_texture_enable();
    gls_pop_projection();
    return true;
}

VORTEL_EXPORT bool Color4BG(StateStruct* state, void**, int32_t r0, int32_t g0, int32_t b0, int32_t r1,
                            int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2, int32_t r3,
                            int32_t g3, int32_t b3)
{
    state->status = 1;
    if (!vortel::is_running_call(state))
        return true;
    // Alpha 0 at every corner: the quad replaces the picture, colour channels only matter.
    const uint32_t corners[4] = {clamped_color(0, r0, g0, b0), clamped_color(0, r1, g1, b1),
                                 clamped_color(0, r2, g2, b2), clamped_color(0, r3, g3, b3)};
    push_screen_projection(1.0);
    gls_push_texture_enable(false);
    gls_push(BlendEnable, 0);
    gls_push(DepthTest, 0);
    draw_screen_quad(corners, false);
    gls_pop(DepthTest);
    gls_pop(BlendEnable);
    gls_pop_texture_enable();
    gls_pop_projection();
    return true;
}

VORTEL_EXPORT bool Fade(StateStruct* state, void**, int32_t red, int32_t green, int32_t blue, int32_t alpha)
{
    state->status = 1;
    if (!vortel::is_running_call(state))
        return true;
    push_screen_projection(1.0);
    gls_push_texture_enable(false);
    gls_push(DepthTest, 0);
    gls_push(DepthMask, 0);
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, GL_SRC_ALPHA);
    gls_push(BlendDst, GL_ONE_MINUS_SRC_ALPHA);
    gls_push(Color, clamped_color(alpha, red, green, blue));
    draw_screen_quad(nullptr, false);
    gls_pop(Color);
    gls_pop(BlendEnable);
    gls_pop(BlendSrc);
    gls_pop(BlendDst);
    gls_pop(DepthTest);
    gls_pop(DepthMask);
    gls_pop_texture_enable();
    gls_pop_projection();
    return true;
}
