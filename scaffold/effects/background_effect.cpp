#include "effects/effect_messages.h"
#include "effects/screen_effects.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/texture.h"

#include <vortel/plugin_helper.h>

namespace
{

constexpr const char* kCaller = "BackGround";

// Kept in privateData from the first call to the last: the texture of the first call's text index, looked
// up again every running call while it is not static.
struct BackgroundRecord {
    vortel::Held texture;
};

void draw_background(const Texture& texture, uint32_t color, int32_t blendSrc, int32_t blendDst)
{
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, uint32_t(blendSrc));
    gls_push(BlendDst, uint32_t(blendDst));
    gls_push(Color, color);
    push_screen_projection(0.0);
    gls_push_texture_enable(true);
    gls_push_bind_texture(texture.id);
    draw_screen_quad(nullptr, true);
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    gls_pop_projection();
    gls_pop(Color);
    gls_pop(BlendEnable);
    gls_pop(BlendSrc);
    gls_pop(BlendDst);
}

} // namespace

VORTEL_EXPORT bool Background(StateStruct* state, void** privateData, int32_t texture, int32_t alpha,
                              int32_t red, int32_t green, int32_t blue, int32_t blendSrc, int32_t blendDst,
                              int32_t renderTo, int32_t width, int32_t height)
{
    if (renderTo < 0 || renderTo > 2) {
        vortel::log(msg::kBackgroundWrongRenderTo);
        state->status = -1;
        return false;
    }
    state->status = 1;
    auto* record = static_cast<BackgroundRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new BackgroundRecord();
        *privateData = record;
        record->texture.acquire(kTypeTexture, texture, kCaller, "image");
        return true;
    }
    if (vortel::is_last_call(state)) {
        delete record;
        *privateData = nullptr;
        return true;
    }
    if (!record || !record->texture.get())
        return true;
    if (record->texture.refresh(kCaller)) {
        state->status = 2;
        if (!record->texture.get())
            return true;
    }
    if (renderTo != 0) {
        if (!gPBuffer) {
            vortel::log(msg::kNoOffScreenTarget, "Background");
            state->status = -1;
            return false;
        }
        gPBuffer->RenderToTexture(renderTo - 1, width, height);
    }
    draw_background(*record->texture.as<Texture>(), clamped_color(alpha, red, green, blue), blendSrc,
                    blendDst);
    if (renderTo != 0)
        gPBuffer->RenderScreen();
    return true;
}
