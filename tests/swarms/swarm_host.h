// The stand-in player (tests/support/stand_in_host.h) around the Swarms plug-in, with the player's own
// message for a swarm it cannot find and log entries without their line ends, and events that call
// effects phase by phase.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vortel/plugin.h>
#include <vortel/plugin_helper.h>
#include <vortel/records.h>

#include "stand_in_host.h"

class SwarmHost : public StandInHost
{
public:
    static constexpr Options kTrimmedLog{/*trimLineEnds*/ true, /*reportMissingText*/ false,
                                         /*registryMessages*/ true};
    // Log entries as the plug-in wrote them, line ends included.
    static constexpr Options kVerbatimLog{/*trimLineEnds*/ false, /*reportMissingText*/ false,
                                          /*registryMessages*/ true};

    explicit SwarmHost(Options options = kTrimmedLog); // runs Vortel_Init
    ~SwarmHost();                                      // runs Vortel_Quit

    // The swarm named `name` as a consumer sees it (acquired and released again), or null.
    const SwarmRecord* swarm(const std::string& name, bool* isStatic = nullptr);
};

// One event on one track: its StateStruct and privateData slot, called phase by phase.
struct Event {
    StateStruct state{};
    void* slot = nullptr;

    explicit Event(bool paramsConstant = true) { state.paramsConstant = paramsConstant; }

    template <class Fn, class... Words> bool first(Fn fn, Words... words)
    {
        return call(vortel::kFirstCall, fn, words...);
    }
    template <class Fn, class... Words> bool run(Fn fn, Words... words)
    {
        return call(vortel::kRunningCall, fn, words...);
    }
    template <class Fn, class... Words> bool last(Fn fn, Words... words)
    {
        return call(vortel::kLastCall, fn, words...);
    }
    // The frame the event starts in, as the player makes it: the first call, then the running call.
    template <class Fn, class... Words> bool start(Fn fn, Words... words)
    {
        first(fn, words...);
        return run(fn, words...);
    }
    template <class Fn, class... Words> bool call(int32_t phase, Fn fn, Words... words)
    {
        state.phase = phase;
        state.status = 0;
        return fn(&state, &slot, int32_t(words)...);
    }
};

// Counts 'SWRM' entries still held by anyone; 0 after every event of a test has had its last call.
int32_t live_swarms();
