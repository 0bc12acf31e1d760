// Frames allocate nothing: every allocation made while frames run is counted here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "timeline.h"

namespace
{

bool gCounting = false;
int gAllocations = 0;

bool effect(StateStruct* state, void** privateData, int32_t, int32_t)
{
    if (state->phase == 0)
        *privateData = state;
    return true;
}

Event event_at(uint32_t start, uint32_t end, bool animated)
{
    Event event;
    event.startTime = start;
    event.endTime = end;
    event.function = reinterpret_cast<EffectFn>(&effect);
    event.params.resize(2);
    event.params[0].value = 7;
    if (animated) {
        event.params[1].kind = kParamSine;
        event.params[1].ampli = 100;
        event.params[1].period = 1000;
    }
    return event;
}

} // namespace

void* operator new(size_t size)
{
    if (gCounting)
        ++gAllocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

TEST(Timeline, FramesAllocateNothing)
{
    Demo demo;
    demo.tracks.resize(3);
    for (uint32_t i = 0; i < 50; ++i) {
        demo.tracks[0].events.push_back(event_at(i * 100, i * 100 + 100, false));
        demo.tracks[1].events.push_back(event_at(i * 100 + 50, i * 100 + 90, true));
    }
    Timeline timeline(demo);

    // The counter sees allocations at all.
    gCounting = true;
    int* volatile probe = new int(1);
    gCounting = false;
    delete probe;
    ASSERT_EQ(gAllocations, 1);
    gAllocations = 0;

    gCounting = true;
    for (uint32_t t = 0; t < 5000; t += 7)
        timeline.run_frame(t);
    for (int32_t t = 5000; t > 0; t -= 130) // and backwards (signed: an unsigned t would wrap past 0)
        timeline.run_frame(uint32_t(t));
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
}
