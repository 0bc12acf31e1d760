// The stand-in player (tests/support/stand_in_host.h) around Scaffold.so with a real GL window and the
// GL state cache the plug-in draws through. Log entries lose their line ends. Vortel_Init runs once per
// test program (Scaffold's scene, caches and off-screen target are process-wide).
#pragma once

#include "gl_window.h"
#include "glstate.h"
#include "stand_in_host.h"

#include <memory>

class ScaffoldHost : public StandInHost
{
public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    // Opens the window and runs Vortel_Init on first use; null when there is no GL window.
    static ScaffoldHost* get();

    GLStateContext* cache() { return cache_.get(); }

private:
    ScaffoldHost();
    std::unique_ptr<GLWindow> window_;
    std::unique_ptr<GLStateContext> cache_;
};

// One event's StateStruct and privateData slot.
struct HostEvent {
    StateStruct state{};
    void* data = nullptr;
    StateStruct* at(int32_t phase)
    {
        state.phase = phase;
        state.status = 0;
        return &state;
    }
};
