// Media initialised once for the whole test program in the stand-in player (tests/support/
// stand_in_host.h), whose files come through the player's own OpenFile (the packed data file first, then
// the disk), with a GL window for the textures. The log keeps every entry verbatim.
#pragma once

#include "stand_in_host.h"

#include <string>

class MediaSession : public StandInHost
{
public:
    static MediaSession& get(); // made on first use; lives to the end of the program

    bool ok() const;
    bool logged(const std::string& part) const; // some entry since the last take_log contains part

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
