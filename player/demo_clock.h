// The demo clock: the time the frame loop draws each frame at.
#pragma once

#include <cstdint>

// Where the demo time comes from. Real time: SDL_GetTicks() minus the moment the demo started, so frames
// are drawn as fast as the buffer swap allows at whatever time it is. Fixed (capture): frame k is at
// from + k * 1000 / fps ms (integer division), however long it took to draw.
// Either clock can be paused (now() stays put) and sought (now() reads the time given from then on).
class DemoClock
{
public:
    static DemoClock real_time(uint32_t start); // demo time `start` now
    static DemoClock fixed(uint32_t from, int32_t fps);

    uint32_t now() const; // ms; unsigned arithmetic, like SDL_GetTicks
    void next_frame();
    // The time of sub-frame j of k spread over `shutter` (0..1) of the fixed clock's frame interval:
    // now() + j * shutter * (1000 / fps) / k ms, rounded down. The real-time clock has no interval: now().
    uint32_t sub_frame(int32_t j, int32_t k, double shutter) const;
    bool is_fixed() const { return fps_ > 0; }

    void seek(uint32_t t);
    void pause();
    void resume();
    bool paused() const { return paused_; }

private:
    uint32_t base_ = 0;
    int32_t fps_ = 0;
    uint64_t frame_ = 0;
    bool paused_ = false;
    uint32_t pausedAt_ = 0;
};
