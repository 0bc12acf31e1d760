// The per-frame timeline: which event of every track is active at a demo time, and the calls that
// follow from it (last, first and running calls) in their fixed order.
//
// A Timeline reads the demo's tracks and events but never changes them; the tracks must not change
// while it lives (make a new Timeline after reloading a document). Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "demo_model.h"
#include "dispatch.h"

// The active event of one track: the first event, in document order, whose end time is after t, when t
// is not before its start; otherwise none (-1). Events whose end is not after their start are never
// active, and an event placed after a later-ending one is shadowed by it.
// Amortised constant time while t does not decrease; a step back costs a binary search.
class ActiveEventFinder
{
public:
    explicit ActiveEventFinder(const std::vector<Event>& events);
    int32_t find(uint32_t t);

private:
    struct Span {
        uint32_t start, end;
    };
    std::vector<Span> spans_;         // the events' times, packed for the forward walk
    std::vector<uint32_t> latestEnd_; // latestEnd_[i] = the largest end time among events 0..i
    size_t cursor_ = 0;               // the first event whose end is after lastTime_
    uint32_t lastTime_ = 0;
};

// What the player keeps per track between frames.
struct TrackRunState {
    int32_t activeIndex = -1;    // the event that had its first call and not yet its last; -1 none
    void* privateData = nullptr; // the slot handed to that event's effect; null between activations
    int32_t status = 0;          // the status the effect left after its latest running call
};

class Timeline
{
public:
    // Allocates everything a frame needs; run_frame allocates nothing.
    explicit Timeline(const Demo& demo);

    // Runs one frame at demo time t (ms):
    //   last calls (phase -1) of events no longer active, tracks from the last to the first;
    //   Vortel_BeginNewFrame(0) of every library in document order;
    //   first calls (phase 0) of events that became active, tracks from the last to the first;
    //   running calls (phase 1) of all active events, tracks from the last to the first.
    // Returns false when a running call returned false (the tracks before it get no running call this
    // frame) or could not be made (an event with more than kMaxEffectWords words, or an unbound one).
    // BasicException thrown by an effect or a parameter passes through.
    bool run_frame(uint32_t t);

    // Last calls (phase -1, tracks from the last to the first) of every active event at demo time t, as
    // when the demo is left for another document. The next run_frame gives them first calls again.
    void finish(uint32_t t);

    size_t track_count() const { return runs_.size(); }
    const TrackRunState& run_state(size_t track) const { return runs_[track]; }

private:
    void last_calls(uint32_t t);
    bool call_event(size_t track, int32_t index, int32_t phase, uint32_t t);

    const Demo& demo_;
    std::vector<ActiveEventFinder> finders_;
    // How each event is called, worked out once: plans_[track][event].
    struct EventPlan {
        const Event* event;
        EffectThunk thunk;            // null for an event with too many words
        const int32_t* constantWords; // its words when all its parameters are constants, else null
    };
    std::vector<std::vector<EventPlan>> plans_;
    std::vector<int32_t> constantWords_;
    std::vector<TrackRunState> runs_;
    std::vector<int32_t> active_;
    StateStruct state_{};
    // Room for a rotate or quaternion parameter in the last slot, which writes four words.
    int32_t words_[kMaxEffectWords + 4] = {};
};

// The StateStruct's GetParam: evaluates argument word `word` of the event being called at demo time
// `time` and returns its first word. Outside an effect call, or for a word the event does not have, it
// returns 0 (the latter with a message in the log).
int32_t timeline_get_param(int32_t time, int32_t word);

// The resource registry's sink while a demo plays. A message sent during an effect call (a resource name
// not found, a text index without a text, ...) is logged once per event, with the event's place appended:
// "<message> (track K, event I)", both counted from 0 in document order; the same message again from the
// same event, in later frames or later activations, is dropped until the next Timeline is made (a reloaded
// document reports afresh). Messages sent outside effect calls are logged unchanged every time.
void timeline_message_sink(const char* text);
