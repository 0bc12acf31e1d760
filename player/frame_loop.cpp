#include "frame_loop.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "capture.h"
#include "frame_filter.h"
#include "frame_hooks.h"
#include "music_control.h"
#include "supersample.h"
#include "timeline.h"

void Presenter::present() const
{
    if (useOpenGL) {
        SDL_GL_SwapBuffers();
    } else if (output && screen) {
        SDL_UpperBlit(output, nullptr, screen, nullptr);
        SDL_Flip(screen);
    }
}

bool poll_events(bool* stopRequested, KeyListener* keys)
{
    bool end = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            end = true;
        else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            end = true;
        else if (event.type == SDL_KEYDOWN && keys)
            keys->key_pressed(event.key.keysym.sym, event.key.keysym.mod);
        else if (event.type == SDL_ACTIVEEVENT && event.active.state == SDL_APPACTIVE)
            *stopRequested = event.active.gain == 0;
    }
    return end;
}

bool clamp_loop_range(LoopRange& loop, uint32_t runningTime, std::string* message)
{
    if (loop.to <= runningTime)
        return false;
    const uint32_t from = loop.from, to = loop.to;
    if (loop.from >= runningTime)
        loop.from = runningTime - std::min(to - from, runningTime);
    loop.to = runningTime;
    char text[200];
    std::snprintf(text, sizeof(text),
                  "--loop %u-%u goes past the end of the demo (RunningTime %u ms): looping %u-%u instead",
                  from, to, runningTime, loop.from, loop.to);
    *message = text;
    return true;
}

bool run_frame_loop(const Demo& firstDemo, DemoClock clock, uint32_t endTime, const Presenter& presenter,
                    const FrameLoopOptions& options)
{
    FrameHooks* hooks = options.hooks;
    auto timeline = std::make_unique<Timeline>(firstDemo);
    bool ok = true;
    bool stopRequested = false;
    uint32_t passesEnded = 0;
    auto draw = [&timeline, &options](uint32_t t) {
        if (options.supersample)
            options.supersample->begin_frame();
        bool drawn = timeline->run_frame(t);
        if (options.supersample)
            options.supersample->resolve();
        return drawn;
    };
    for (uint64_t frame = 0;; clock.next_frame(), ++frame) {
        if (stopRequested)
            break;
        const LoopRange* loop = hooks && hooks->loop_range() ? hooks->loop_range() : options.loop;
        const uint32_t home = loop ? loop->from : 0;
        uint32_t t = clock.now();
        if (loop && t > loop->to && (loop->passes == 0 || ++passesEnded < loop->passes)) {
            if (loop->restartEvents)
                timeline->finish(t);
            clock.seek(loop->from);
            if (options.music)
                options.music->seek(loop->from);
            t = clock.now();
        }
        if (t > endTime) {
            if (!hooks)
                break;
            // An author looks at the end before going back: the last frame stays on screen.
            hooks->hold_at_end(clock, options.music, endTime);
            t = clock.now();
        }
        if (options.blend) {
            // A frame is good when every one of its sub-frames is.
            ok = true;
            for (int32_t j = 0; j < options.subFrames; ++j) {
                ok = draw(clock.sub_frame(j, options.subFrames, options.shutter)) && ok;
                options.blend->add_back_buffer();
            }
            options.blend->resolve();
        } else {
            ok = draw(t);
        }
        if (options.capture)
            options.capture->write_frame(t);
        presenter.present();
        if (hooks)
            hooks->frame_presented(frame, t, clock.paused());
        if (poll_events(&stopRequested, hooks))
            break;
        if (!hooks)
            continue;
        hooks->apply_keys(clock, options.music, endTime, home);
        if (std::unique_ptr<Demo> next = hooks->take_next_demo()) {
            timeline->finish(t);
            timeline.reset();
            const Demo& demo = hooks->adopt(std::move(next));
            endTime = demo.runningTime;
            timeline = std::make_unique<Timeline>(demo);
        }
        // A paused demo is drawn again and again at the same time: no need to do it as fast as possible.
        if (clock.paused())
            SDL_Delay(10);
    }
    return ok;
}
