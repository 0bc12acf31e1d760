// The frame loop: runs the timeline on the demo clock until the clock passes the end time, presents every
// frame and reacts to the window's events.
#pragma once

#include <cstdint>
#include <string>

#include "demo_clock.h"
#include "demo_model.h"
#include "key_listener.h"

struct SDL_Surface;
class FrameCapture;
class FrameHooks;
class MusicControl;
class SubFrameBlend;
class SuperSampler;

// Shows what was drawn: with OpenGL the buffers are swapped, otherwise output surface 0 is blitted to the
// screen and flipped.
struct Presenter {
    bool useOpenGL = true;
    SDL_Surface* screen = nullptr;
    SDL_Surface* output = nullptr; // output surface 0
    void present() const;
};

// Drains the SDL event queue. Returns true when the end was requested (window closed, Escape pressed).
// An SDL_ACTIVEEVENT whose state is exactly SDL_APPACTIVE sets *stopRequested to (gain == 0): the window
// was minimised; the loop acts on it at the top of the next frame, and a window restored before then
// cancels it. Every other key pressed goes to `keys` when there is one.
bool poll_events(bool* stopRequested, KeyListener* keys = nullptr);

// A time range played over and over: when the clock passes `to`, the clock and the music go back to
// `from`. passes 0 plays it until the viewer ends the demo; N plays it N times, after which the clock
// runs on past `to`. restartEvents: at each wrap every active event gets its last call, so that the next
// pass gives first calls again and draws what the first pass drew; otherwise an event active on both
// sides of the wrap simply runs on.
struct LoopRange {
    uint32_t from = 0, to = 0;
    uint32_t passes = 0;
    bool restartEvents = false;
};

// Keeps a loop range within the demo's running time: one that ends past it ends there, and one that
// starts at or past it keeps its length (as far as the demo allows) and ends there. Returns false when
// the range fits as it is; otherwise true, with the message that says what is looped instead.
bool clamp_loop_range(LoopRange& loop, uint32_t runningTime, std::string* message);

struct FrameLoopOptions {
    FrameCapture* capture = nullptr; // every frame read back and written before it is presented
    const LoopRange* loop = nullptr;
    MusicControl* music = nullptr; // sought with the loop; null: no music to keep in step
    FrameHooks* hooks = nullptr;   // keys that move the clock, the last frame held, a demo replaced
    // Motion blur (capture): each frame is drawn subFrames times, at clock.sub_frame(j, subFrames, shutter),
    // and `blend` puts their average in the back buffer. Null: one drawing per frame.
    SubFrameBlend* blend = nullptr;
    int32_t subFrames = 1;
    double shutter = 0.5;
    // Supersampling (capture): every drawing, sub-frames included, goes into its target and is filtered
    // into the back buffer before the blend or the capture reads it. Null: drawn into the window.
    SuperSampler* supersample = nullptr;
};

// Runs frames while the clock reads at most endTime (the frame at exactly endTime is drawn); with hooks
// it does not stop there but holds the last frame (FrameHooks::hold_at_end). Returns the result of the
// last frame's timeline run (true when no frame ran). BasicException from an effect, a parameter or the
// capture passes through. With hooks the demo may be replaced between frames: `demo` is then only the
// first one played.
bool run_frame_loop(const Demo& demo, DemoClock clock, uint32_t endTime, const Presenter& presenter,
                    const FrameLoopOptions& options);

inline bool run_frame_loop(const Demo& demo, DemoClock clock, uint32_t endTime, const Presenter& presenter,
                           FrameCapture* capture)
{
    FrameLoopOptions options;
    options.capture = capture;
    return run_frame_loop(demo, clock, endTime, presenter, options);
}
