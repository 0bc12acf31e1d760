#include "effects/effect_messages.h"
#include "effects/scene_state.h"
#include "effects/screen_effects.h"
#include "effects/screen_quad.h"
#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/texture.h"

namespace
{

// Kept in privateData from the first call to the last.
struct BackgroundRecord {
    bool staticFlag = false; // written by the acquire: false = look the texture up again every frame
    Texture* texture = nullptr;
    bool acquired = false; // the first call's acquisition succeeded and is to be released
};

Texture* acquire_texture(int32_t texture, bool* flag)
{
    return static_cast<Texture*>(
        gServices.AcquireByIndex(kTypeTexture, texture, nullptr, false, "BackGround", "image", flag));
}

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
        scaffold_log(msg::kBackgroundWrongRenderTo);
        state->status = -1;
        return false;
    }
    state->status = 1;
    auto* record = static_cast<BackgroundRecord*>(*privateData);
    if (state->phase == 0) {
        state->status = 2;
        record = new BackgroundRecord();
        *privateData = record;
        record->texture = acquire_texture(texture, &record->staticFlag);
        record->acquired = record->texture != nullptr;
        return true;
    }
    if (state->phase < 0) {
        if (record && record->acquired)
            gServices.ReleaseByIndex(kTypeTexture, texture, nullptr);
        delete record;
        *privateData = nullptr;
        return true;
    }
    if (!record || !record->texture)
        return true;
    if (!record->staticFlag) {
        state->status = 2;
        record->texture = acquire_texture(texture, &record->staticFlag);
        if (!record->texture)
            return true;
        gServices.ReleaseByIndex(kTypeTexture, texture, nullptr);
    }
    if (renderTo != 0) {
        if (!gPBuffer) {
            scaffold_log(msg::kNoOffScreenTarget, "Background");
            state->status = -1;
            return false;
        }
        gPBuffer->RenderToTexture(renderTo - 1, width, height);
    }
    draw_background(*record->texture, clamped_color(alpha, red, green, blue), blendSrc, blendDst);
    if (renderTo != 0)
        gPBuffer->RenderScreen();
    return true;
}
