// Resource preloading under the loader animation, once at start-up after the packed data file is open.
#pragma once

#include "demo_model.h"
#include "frame_loop.h"

// Raises a RunningTime of 0 to 1. Then walks every event (tracks in order, events in order, global index
// j = 0 .. total - 1): acquires through the registry every resource its library declaration asks for
// ("RSRC" + type in a parameter name, constant parameter = text index; acquisitions are never released:
// they only make the owning library load and cache the resource), calls the loader animation (the first
// declared function named like the LoaderAnim setting) as a running call with localTime j, duration
// total and one word, the progress (j + 1) * 10000 / total, and presents once per event.
// The loader's result is ignored; BasicException from it or a handler passes through.
void preload_resources(Demo& demo, const Presenter& presenter);

// The bound function the LoaderAnim setting names, or null (no setting, empty, or nobody declares it).
EffectFn find_loader_animation(const Demo& demo);
