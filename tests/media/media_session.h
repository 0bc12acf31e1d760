// Media initialised once for the whole test program with the player's real services (registry, texts,
// packed data file), a GL window for the textures, and a log that keeps every line written.
#pragma once

#include <vortel/plugin.h>

#include <string>
#include <vector>

class MediaSession
{
public:
    static MediaSession& get(); // made on first use; lives to the end of the program

    bool ok() const;
    int32_t text(const std::string& text); // index of text in the demo's texts, added when new
    // Log lines written since the last call, emptied.
    std::vector<std::string> take_log();
    bool logged(const std::string& part); // some line since the last take_log contains part

    ServicesStruct services{};
    std::vector<std::string> texts;
    std::vector<std::string> log;

private:
    MediaSession();
    bool windowOk_ = false;
};

// A call of one event, phase by phase.
struct EffectCall {
    StateStruct state{};
    void* slot = nullptr;

    template <class Fn, class... Words>
    bool call(int32_t phase, int32_t localTime, bool constant, Fn fn, Words... words)
    {
        state.phase = phase;
        state.status = 0;
        state.localTime = localTime;
        state.paramsConstant = constant;
        return fn(&state, &slot, int32_t(words)...);
    }
};

// Writes bytes to a file in the test's working folder and returns its name.
std::string write_file(const std::string& name, const std::string& bytes);
