// A stand-in player around Scaffold.so with a real GL window: a Texts list, a log, a resource registry that
// routes requests to the handlers Scaffold registers, and files opened from disk. Vortel_Init runs once
// per test program (Scaffold's scene, caches and off-screen target are process-wide).
#pragma once

#include "gl_window.h"
#include "glstate.h"

#include <memory>
#include <string>
#include <vector>
#include <vortel/plugin.h>

class ScaffoldHost
{
public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    // Opens the window and runs Vortel_Init on first use; null when there is no GL window.
    static ScaffoldHost* get();

    int32_t text(const std::string& value); // index of value in Texts, added when new
    std::vector<std::string> take_log();
    void* acquire(uint32_t type, const std::string& name);
    bool release(uint32_t type, const std::string& name);

    GLStateContext* cache() { return cache_.get(); }
    std::vector<std::string> texts{"unused"};
    std::vector<std::string> log;
    int32_t opened = 0; // files opened through OpenFile

private:
    ScaffoldHost();
    std::unique_ptr<GLWindow> window_;
    std::unique_ptr<GLStateContext> cache_;
    ServicesStruct services_{};
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

// A folder under the test's working folder for files a test writes; emptied when created.
std::string scratch_folder(const std::string& name);
void write_text(const std::string& path, const std::string& text);
