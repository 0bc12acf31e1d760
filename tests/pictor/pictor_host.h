// A stand-in for the player around Pictor: a Texts list, a log, resources served by (type, name) with a
// chosen static flag, one '3DWR' group "scene", and a count of every acquisition and release. Also a real
// GL window, since textures and the renderer need one.
#pragma once

#include <vortel/plugin.h>

#include "gl_window.h"
#include "glstate.h"
#include "scene/group_node3d.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class PictorHost
{
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 192;

    PictorHost();  // opens the window, becomes the current host and runs Vortel_Init
    ~PictorHost(); // runs Vortel_Quit

    bool ok() const { return window_.ok(); }

    int32_t text(const std::string& text); // index of text, added when new
    // Serves record as the resource `name` of `type`; returns the name's text index.
    int32_t serve(uint32_t type, const std::string& name, void* record, bool isStatic = true);

    struct Counts {
        int acquires = 0;
        int releases = 0;
    };
    Counts counts(uint32_t type, const std::string& name) const;

    std::vector<std::string> texts;
    std::vector<std::string> log;
    std::vector<std::string> callers; // "caller type-name name" of every acquisition
    GroupNode3D group;
    int32_t groupIndex;
    ServicesStruct services{};

    struct Served {
        void* record;
        bool isStatic;
        Counts counts;
    };
    std::map<std::pair<uint32_t, std::string>, Served> served;

    static PictorHost* current;

private:
    GLWindow window_{kWidth, kHeight};
    std::unique_ptr<GLStateContext> cache_;
};

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
