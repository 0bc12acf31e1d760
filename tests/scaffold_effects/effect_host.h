// A stand-in for the player around the Scaffold plug-in, without GL: a Texts list, a log, a small
// resource registry that routes requests to the handlers Scaffold registers (plus test swarms), a music
// level, and events that call effects phase by phase.
//
// Scaffold's state is process-wide: the host runs Vortel_Init once for the test program, and every test
// ends the events it started so that no group outlives it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>
#include <vortel/plugin.h>
#include <vortel/records.h>

class EffectHost
{
public:
    static EffectHost& get(); // runs Vortel_Init on first use

    // Text index of `text`, added to the Texts list when new. Index 0 is always taken ("unused").
    int32_t text(const std::string& text);
    // The log since the last call, one entry per message.
    std::vector<std::string> take_log();
    void add_swarm(const std::string& name, SwarmRecord* swarm) { swarms[name] = swarm; }
    void remove_swarm(const std::string& name) { swarms.erase(name); }
    // Acquires a resource as another plug-in would (message on a miss, like the registry).
    void* acquire(uint32_t type, const std::string& name, bool* flag);
    bool release(uint32_t type, const std::string& name);

    std::vector<std::string> texts;
    std::vector<std::string> log;
    std::map<std::string, SwarmRecord*> swarms;
    struct Handler {
        uint32_t type;
        AcquireFn acquire;
        ReleaseFn release;
    };
    std::vector<Handler> handlers;
    int32_t musicLevel = -1;
    // Answers GetParam(time, word); records each request.
    std::function<int32_t(int32_t time, int32_t word)> param;
    std::vector<std::pair<int32_t, int32_t>> paramRequests;
    ServicesStruct services{};

private:
    EffectHost();
};

// One event on one track: its StateStruct and privateData slot.
struct Event {
    StateStruct state{};
    void* data = nullptr;

    explicit Event(int32_t startTime = 0);
    // Prepares the state for a call of `phase` at local time `localTime`, returns it.
    StateStruct* at(int32_t phase, int32_t localTime = 0);
};
