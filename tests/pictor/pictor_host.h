// The stand-in player (tests/support/stand_in_host.h) around Pictor, with one '3DWR' group "scene" and a
// real GL window, since textures and the renderer need one.
#pragma once

#include <vortel/plugin.h>

#include "gl_window.h"
#include "glstate.h"
#include "scene/group_node3d.h"
#include "stand_in_host.h"

#include <memory>
#include <string>

class PictorHost : public StandInHost
{
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 192;

    PictorHost();  // opens the window and runs Vortel_Init
    ~PictorHost(); // runs Vortel_Quit

    bool ok() const { return window_.ok(); }

    GroupNode3D group;
    int32_t groupIndex;

private:
    GLWindow window_{kWidth, kHeight};
    std::unique_ptr<GLStateContext> cache_;
};

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);
VORTEL_EXPORT bool Vortel_Quit();

// One event on one track, called phase by phase.
struct EffectCall {
    StateStruct state{};
    void* slot = nullptr;

    template <class Fn, class... Words> bool call(int32_t phase, Fn fn, Words... words)
    {
        state.phase = phase;
        state.status = 0;
        return fn(&state, &slot, int32_t(words)...);
    }
};

// The square texture of side `size` whose pixels are all `color` (0xAARRGGBB); needs the GL window.
std::unique_ptr<class Texture> solid_texture(int size, uint32_t color);
