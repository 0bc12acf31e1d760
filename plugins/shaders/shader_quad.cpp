#include "shader_draw.h"
#include "shader_effects.h"
#include "shader_event.h"

#include <vortel/plugin_helper.h>

#include "glstate.h"
#include "scene/pbuffer.h"
#include "scene/texture.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr const char* kEffect = "ShaderQuad";
constexpr const char* kRenderNames[2] = {"Render1", "Render2"};

struct QuadEvent {
    shaders::ShaderEvent shader{kEffect};
    vortel::Held channels[2];
};

// Takes the channel textures; a channel naming the buffer the quad draws into stays black.
void take_channels(QuadEvent& event, const int32_t (&indices)[2], int32_t renderTo)
{
    for (int c = 0; c < 2; ++c) {
        if (indices[c] <= 0)
            continue;
        const char* name = vortel::text(indices[c]);
        if (renderTo > 0 && name && std::strcmp(name, kRenderNames[renderTo - 1]) == 0) {
            vortel::log("%s: channel%d is %s, the buffer it draws into: it reads black", kEffect, c, name);
            continue;
        }
        event.channels[c].acquire(kTypeTexture, indices[c], kEffect, "texture");
    }
}

// The texture a channel reads now, and its size.
const Texture& channel_texture(vortel::Held& channel)
{
    channel.refresh(kEffect);
    const Texture* texture = channel.as<Texture>();
    return texture ? *texture : shaders::black_texture();
}

// Where the quad goes: the demo's viewport on the screen (rows bottom up), or a whole off-screen buffer
// at the window's size (rows top down).
void place_on_target(int32_t renderTo, shaders::ShaderInputs& inputs)
{
    if (renderTo == 0) {
        const GLViewportEntry viewport = shaders::viewport_from_bottom();
        inputs.width = float(viewport.w);
        inputs.height = float(viewport.h);
        inputs.x0 = float(viewport.x);
        inputs.y0 = -float(viewport.y);
        inputs.sy = 1.0f;
        return;
    }
    inputs.width = float(gls_screen_width());
    inputs.height = float(gls_screen_height());
    inputs.x0 = 0.0f;
    inputs.y0 = inputs.height;
    inputs.sy = -1.0f;
}

} // namespace

VORTEL_EXPORT bool ShaderQuad(StateStruct* state, void** privateData, int32_t shader, int32_t channel0,
                              int32_t channel1, int32_t p0, int32_t p1, int32_t p2, int32_t p3,
                              int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t renderTo)
{
    auto* event = static_cast<QuadEvent*>(*privateData);
    if (vortel::is_last_call(state)) {
        delete event;
        *privateData = nullptr;
        return true;
    }
    const bool validTarget = renderTo >= 0 && renderTo <= 2;
    if (vortel::is_first_call(state)) {
        event = new QuadEvent;
        *privateData = event;
        if (!validTarget)
            vortel::log("%s: renderTo %d is not 0 (the screen), 1 (Render1) or 2 (Render2)", kEffect,
                        int(renderTo));
        event->shader.start(shader);
        take_channels(*event, {channel0, channel1}, validTarget ? renderTo : 0);
        state->status = validTarget ? 1 : -1;
        return validTarget;
    }
    if (!validTarget || !event) {
        state->status = -1;
        return false;
    }
    state->status = 1;
    shaders::ShaderInputs inputs;
    if (!event->shader.frame(state, inputs)) {
        state->status = -1;
        return true;
    }
    if (renderTo != 0 && !gPBuffer) {
        event->shader.tell_once("there is no off-screen target: it draws nothing");
        state->status = -1;
        return true;
    }
    const Texture& texture0 = channel_texture(event->channels[0]);
    const Texture& texture1 = channel_texture(event->channels[1]);
    inputs.channelSize[0][0] = float(texture0.width);
    inputs.channelSize[0][1] = float(texture0.height);
    inputs.channelSize[1][0] = float(texture1.width);
    inputs.channelSize[1][1] = float(texture1.height);
    const int32_t params[4] = {p0, p1, p2, p3};
    for (int i = 0; i < 4; ++i)
        inputs.params[i] = float(params[i]) * 0.001f;
    inputs.opacity = float(std::clamp(opacity, 0, 255)) / 255.0f;
    place_on_target(renderTo, inputs);

    if (renderTo != 0)
        gPBuffer->RenderToTexture(renderTo - 1, int32_t(inputs.width), int32_t(inputs.height));
    shaders::draw_over_target(event->shader.program(), inputs, texture0.id, texture1.id, blendSrc, blendDst);
    if (renderTo != 0)
        gPBuffer->RenderScreen();
    return true;
}
