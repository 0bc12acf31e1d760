#include "frame_loop.h"

#include <SDL/SDL.h>

#include "capture.h"
#include "timeline.h"

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
    if (fps_ > 0)
        return uint32_t(base_ + frame_ * 1000 / uint64_t(fps_));
    return SDL_GetTicks() - base_;
}

void Presenter::present() const
{
    if (useOpenGL) {
        SDL_GL_SwapBuffers();
    } else if (output && screen) {
        SDL_UpperBlit(output, nullptr, screen, nullptr);
        SDL_Flip(screen);
    }
}

bool poll_events(bool* stopRequested)
{
    bool end = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            end = true;
        else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            end = true;
        else if (event.type == SDL_ACTIVEEVENT && event.active.state == SDL_APPACTIVE)
            *stopRequested = event.active.gain != 0;
    }
    return end;
}

bool run_frame_loop(const Demo& demo, DemoClock clock, uint32_t endTime, const Presenter& presenter,
                    FrameCapture* capture)
{
    Timeline timeline(demo);
    bool ok = true;
    bool stopRequested = false;
    for (;; clock.next_frame()) {
        if (stopRequested)
            break;
        uint32_t t = clock.now();
        if (t > endTime)
            break;
        ok = timeline.run_frame(t);
        if (capture)
            capture->write_frame(t);
        presenter.present();
        if (poll_events(&stopRequested))
            break;
    }
    return ok;
}
