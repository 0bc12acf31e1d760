// The frame loop: runs the timeline on the demo clock until the clock passes the end time, presents every
// frame and reacts to the window's events.
#pragma once

#include <cstdint>

#include "demo_model.h"

struct SDL_Surface;
class FrameCapture;

// Where the demo time comes from. Real time: SDL_GetTicks() minus the moment the demo started, so frames
// are drawn as fast as the buffer swap allows at whatever time it is. Fixed (capture): frame k is at
// from + k * 1000 / fps ms (integer division), however long it took to draw.
class DemoClock
{
public:
    static DemoClock real_time(uint32_t start); // demo time `start` now
    static DemoClock fixed(uint32_t from, int32_t fps);

    uint32_t now() const; // ms; unsigned arithmetic, like SDL_GetTicks
    void next_frame() { ++frame_; }
    bool is_fixed() const { return fps_ > 0; }

private:
    uint32_t base_ = 0;
    int32_t fps_ = 0;
    uint64_t frame_ = 0;
};

// Shows what was drawn: with OpenGL the buffers are swapped, otherwise output surface 0 is blitted to the
// screen and flipped.
struct Presenter {
    bool useOpenGL = true;
    SDL_Surface* screen = nullptr;
    SDL_Surface* output = nullptr; // output surface 0
    void present() const;
};

// Drains the SDL event queue. Returns true when the end was requested (window closed, Escape pressed).
// An SDL_ACTIVEEVENT whose state is exactly SDL_APPACTIVE sets *stopRequested to (gain != 0); the loop
// acts on it at the top of the next frame.
bool poll_events(bool* stopRequested);

// Runs frames while the clock reads at most endTime (the frame at exactly endTime is drawn). With a
// capture, every frame is read back and written before it is presented. Returns the result of the last
// frame's timeline run (true when no frame ran). BasicException from an effect, a parameter or the
// capture passes through.
bool run_frame_loop(const Demo& demo, DemoClock clock, uint32_t endTime, const Presenter& presenter,
                    FrameCapture* capture);
