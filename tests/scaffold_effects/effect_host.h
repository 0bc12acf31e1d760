// The stand-in player (tests/support/stand_in_host.h) around the Scaffold plug-in, without GL, and events
// that call effects phase by phase. The log keeps every message verbatim; an acquire by an index without
// text is logged as "<caller>: no text <index>".
//
// Scaffold's state is process-wide: the host runs Vortel_Init once for the test program, and every test
// ends the events it started so that no group outlives it.
#pragma once

#include "stand_in_host.h"

class EffectHost : public StandInHost
{
public:
    static EffectHost& get(); // runs Vortel_Init on first use

private:
    EffectHost() : StandInHost(Options{false, true}) {}
};

// One event on one track: its StateStruct and privateData slot.
struct Event {
    StateStruct state{};
    void* data = nullptr;

    explicit Event(int32_t startTime = 0);
    // Prepares the state for a call of `phase` at local time `localTime`, returns it.
    StateStruct* at(int32_t phase, int32_t localTime = 0);
};
