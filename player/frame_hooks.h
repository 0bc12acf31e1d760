// What an interactive session adds to the frame loop: keys that move the clock, a last frame held on
// screen instead of the end, and a demo replaced while it plays. Dev mode is one.
#pragma once

#include <cstdint>
#include <memory>

#include "demo_clock.h"
#include "key_listener.h"

struct Demo;
struct LoopRange;
class MusicControl;

// The frame loop calls these on the main thread, in this order within a frame. `music` is the demo's
// music, or null when there is none to keep in step.
class FrameHooks : public KeyListener
{
public:
    // The clock passed endTime. The loop does not end: it draws the frame the clock reads afterwards, so
    // the hook pauses the clock at endTime (and the music).
    virtual void hold_at_end(DemoClock& clock, MusicControl* music, uint32_t endTime) = 0;

    // Frame number `frame` (from 0) at demo time t was presented; the window's events are polled next,
    // and their keys go to key_pressed.
    virtual void frame_presented(uint64_t frame, uint32_t t, bool paused) = 0;

    // After the events: the keys pressed since the last frame act on the clock and the music. Seeks stay
    // within 0 .. endTime; Home goes to `home`.
    virtual void apply_keys(DemoClock& clock, MusicControl* music, uint32_t endTime, uint32_t home) = 0;

    // A demo to play from the next frame on, or null to go on with this one. The loop then gives the
    // active events of the current demo their last calls and hands the new one to adopt().
    virtual std::unique_ptr<Demo> take_next_demo() = 0;

    // Makes `next` the demo played (the old one is freed) and returns it.
    virtual const Demo& adopt(std::unique_ptr<Demo> next) = 0;

    // The range played over and over from this frame on, instead of the loop's options; null: those.
    virtual const LoopRange* loop_range() const { return nullptr; }
};
