#include "demo_clock.h"

#include <SDL/SDL_timer.h>

DemoClock DemoClock::real_time(uint32_t start)
{
    DemoClock clock;
    clock.base_ = SDL_GetTicks() - start;
    return clock;
}

DemoClock DemoClock::fixed(uint32_t from, int32_t fps)
{
    DemoClock clock;
    clock.base_ = from;
    clock.fps_ = fps;
    return clock;
}

uint32_t DemoClock::now() const
{
    if (paused_)
        return pausedAt_;
    if (fps_ > 0)
        return uint32_t(base_ + frame_ * 1000 / uint64_t(fps_));
    return SDL_GetTicks() - base_;
}

uint32_t DemoClock::sub_frame(int32_t j, int32_t k, double shutter) const
{
    if (fps_ <= 0 || k <= 0)
        return now();
    return now() + uint32_t(double(j) * shutter * 1000.0 / (double(fps_) * double(k)));
}

void DemoClock::next_frame()
{
    if (!paused_)
        ++frame_;
}

void DemoClock::seek(uint32_t t)
{
    if (paused_) {
        pausedAt_ = t;
    } else if (fps_ > 0) {
        base_ = t;
        frame_ = 0;
    } else {
        base_ = SDL_GetTicks() - t;
    }
}

void DemoClock::pause()
{
    if (paused_)
        return;
    pausedAt_ = now();
    paused_ = true;
}

void DemoClock::resume()
{
    if (!paused_)
        return;
    paused_ = false;
    seek(pausedAt_);
}
