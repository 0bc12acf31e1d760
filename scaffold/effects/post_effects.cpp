#include "effects/post_effects.h"

#include "effects/post_blur.h"
#include "effects/scaffold_state.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/pbuffer.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

// Both directions of the blur over the scene in buffer 0; returns the buffer holding the result.
int32_t blur_both_ways(int32_t radiusX, int32_t radiusY, int32_t step, int32_t additivePasses[2], float& offX,
                       float& offY)
{
    const int32_t w = gls_screen_width(), h = gls_screen_height();
    int32_t current = 1;
    offX = blur_pass(current, radiusX, step, true, w, h, additivePasses[0]);
    offY = blur_pass(current, radiusY, step, false, w, h, additivePasses[1]);
    return 1 - current;
}

} // namespace

VORTEL_EXPORT bool PostBlurUgly(StateStruct* state, void**, int32_t divX, int32_t divY)
{
    if (!running_with_target(state))
        return true;
    const int32_t w = std::max(1, gls_screen_width() / std::max(1, divX));
    const int32_t h = std::max(1, gls_screen_height() / std::max(1, divY));

    gPBuffer->RenderToTexture(0, w, h);
    render_post_scene(true);
    gPBuffer->RenderToTexture(1, w, h);
    Camera3D* camera = gScaffold.sceneRoot->GetCam();
    float l = 0, r = 0, b = 0, t = 0, n = 0, f = 0;
    if (camera) {
        camera->GetFrustrumData(l, r, b, t, n, f);
        camera->SetFrustrumData(l + 1.0f / float(w), r + 1.0f / float(w), b + 1.0f / float(h),
                                t + 1.0f / float(h), n, f);
    }
    render_post_scene(true);
    if (camera)
        camera->SetFrustrumData(l, r, b, t, n, f);
    gPBuffer->RenderScreen();

    push_screen_projection(0.0);
    gls_push_texture_enable(true);
    gls_push_bind_texture(gPBuffer->GetTexture(0)->id);
    push_blend(GL_ONE, GL_ONE);
    gls_push(Color, 0x80808080u);
    draw_screen_quad(nullptr, true);
    gls_bind_texture(gPBuffer->GetTexture(1)->id);
    draw_screen_quad(nullptr, true);
    gls_pop(Color);
    pop_blend();
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    gls_pop_projection();
    return true;
}

VORTEL_EXPORT bool PostBlurPrecise(StateStruct* state, void**, int32_t radiusX, int32_t radiusY, int32_t step)
{
    if (!running_with_target(state))
        return true;
    gPBuffer->RenderToTexture(0, gls_screen_width(), gls_screen_height());
    render_post_scene(true);

    push_blend(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    int32_t additive[2] = {0, 0};
    float offX = 0, offY = 0;
    const int32_t result = blur_both_ways(radiusX, radiusY, step, additive, offX, offY);
    pop_blend();
    gPBuffer->RenderScreen();

    show_buffer(result, offX, offY, 0.0);
    return true;
}

VORTEL_EXPORT bool PostGlareSW(StateStruct* state, void**)
{
    if (!running_with_target(state))
        return true;
    const int32_t w = gls_screen_width(), h = gls_screen_height();
    gPBuffer->RenderToTexture(0, w, h);
    gls_push(DepthTest, 0);
    // Kept for the whole run; grows with the window so that glDrawPixels never reads past it.
    static std::vector<uint32_t> pixels;
    const size_t needed = size_t(std::max(w, 1)) * size_t(std::max(h, 1));
    if (pixels.size() < needed) {
        const uint8_t red[4] = {255, 0, 0, 255};
        uint32_t word;
        std::memcpy(&word, red, sizeof word);
        pixels.assign(needed, word);
    }
    glWindowPos2i(0, 0);
    glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    gls_pop(DepthTest);
    gPBuffer->RenderScreen();

    gls_push(BlendEnable, 0);
    show_buffer(0, 0.0f, 0.0f, 1.0);
    gls_pop(BlendEnable);
    return true;
}
