// A small stand-in for the player around the Swarms plug-in: a Texts list, a resource registry with the
// handler order and messages of the real one, a log, and events that call effects phase by phase.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <vortel/plugin.h>
#include <vortel/records.h>

class SwarmHost
{
public:
    SwarmHost();  // becomes the current host and runs Vortel_Init
    ~SwarmHost(); // runs Vortel_Quit

    // Text index of `text`, added to the Texts list when new.
    int32_t text(const std::string& text);
    // The swarm named `name` as a consumer sees it (acquired and released again), or null.
    const SwarmRecord* swarm(const std::string& name, bool* isStatic = nullptr);
    // Registers one more handler pair, as another plug-in would.
    void registerType(uint32_t type, AcquireFn acquire, ReleaseFn release);

    std::vector<std::string> log;
    std::vector<std::string> texts;
    struct Handler {
        uint32_t type;
        AcquireFn acquire;
        ReleaseFn release;
    };
    std::vector<Handler> handlers;
    ServicesStruct services{};
    int acquisitions = 0, releases = 0;

    static SwarmHost* current;
};

// One event on one track: its StateStruct and privateData slot, called phase by phase.
struct Event {
    StateStruct state{};
    void* slot = nullptr;

    explicit Event(bool paramsConstant = true) { state.paramsConstant = paramsConstant; }

    template <class Fn, class... Words> bool first(Fn fn, Words... words) { return call(0, fn, words...); }
    template <class Fn, class... Words> bool run(Fn fn, Words... words) { return call(1, fn, words...); }
    template <class Fn, class... Words> bool last(Fn fn, Words... words) { return call(-1, fn, words...); }
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
