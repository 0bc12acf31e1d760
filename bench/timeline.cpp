// What the timeline adds to an effect call, and what a frame costs as tracks grow.
//
//   DirectCall20      an effect with 20 argument words called directly, the words already at hand
//   EventCall20       the same effect as the only event of a demo: one frame = find the event, evaluate
//                     its 20 constant parameters, dispatch them (the ratio to DirectCall20 is the cost
//                     of the timeline)
//   EventCall20OnEightTracks  the same on eight tracks: per_call spreads the frame's own work over them
//   ForwardFrame/N    frames 1 ms apart on one track of N back-to-back 10 ms events
#include <benchmark/benchmark.h>

#include "timeline.h"

namespace
{

int64_t gSink;

__attribute__((noinline)) bool effect20(StateStruct* state, void**, int32_t a0, int32_t a1, int32_t a2,
                                        int32_t a3, int32_t a4, int32_t a5, int32_t a6, int32_t a7,
                                        int32_t a8, int32_t a9, int32_t a10, int32_t a11, int32_t a12,
                                        int32_t a13, int32_t a14, int32_t a15, int32_t a16, int32_t a17,
                                        int32_t a18, int32_t a19)
{
    gSink += state->phase + a0 + a1 + a2 + a3 + a4 + a5 + a6 + a7 + a8 + a9 + a10 + a11 + a12 + a13 + a14 +
             a15 + a16 + a17 + a18 + a19;
    return true;
}

__attribute__((noinline)) bool effect3(StateStruct* state, void**, int32_t a0, int32_t a1, int32_t a2)
{
    gSink += state->phase + a0 + a1 + a2;
    return true;
}

Event constant_event(EffectFn function, uint32_t start, uint32_t end, int words)
{
    Event event;
    event.startTime = start;
    event.endTime = end;
    event.function = function;
    event.params.resize(size_t(words));
    for (int i = 0; i < words; ++i)
        event.params[size_t(i)].value = 1000 + i;
    return event;
}

void DirectCall20(benchmark::State& state)
{
    StateStruct record{};
    record.phase = 1;
    void* slot = nullptr;
    bool (*volatile target)(StateStruct*, void**, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t, int32_t) = &effect20;
    int32_t w[20];
    for (int i = 0; i < 20; ++i)
        w[i] = 1000 + i;
    for (int32_t& word : w)
        benchmark::DoNotOptimize(word);
    auto call = target;
    for (auto _ : state) {
        bool ok = call(&record, &slot, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w[10],
                       w[11], w[12], w[13], w[14], w[15], w[16], w[17], w[18], w[19]);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(DirectCall20);

void EventCall20(benchmark::State& state)
{
    Demo demo;
    demo.tracks.resize(1);
    demo.tracks[0].events.push_back(constant_event(reinterpret_cast<EffectFn>(&effect20), 0, 1000000, 20));
    Timeline timeline(demo);
    timeline.run_frame(500); // the first call; from here on every frame makes one running call
    for (auto _ : state) {
        bool ok = timeline.run_frame(500);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(EventCall20);

void EventCall20OnEightTracks(benchmark::State& state)
{
    Demo demo;
    demo.tracks.resize(8);
    for (Track& track : demo.tracks)
        track.events.push_back(constant_event(reinterpret_cast<EffectFn>(&effect20), 0, 1000000, 20));
    Timeline timeline(demo);
    timeline.run_frame(500);
    for (auto _ : state) {
        bool ok = timeline.run_frame(500);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["per_call"] =
        benchmark::Counter(8, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(EventCall20OnEightTracks);

void ForwardFrame(benchmark::State& state)
{
    const uint32_t events = uint32_t(state.range(0));
    Demo demo;
    demo.tracks.resize(1);
    for (uint32_t i = 0; i < events; ++i)
        demo.tracks[0].events.push_back(
            constant_event(reinterpret_cast<EffectFn>(&effect3), i * 10, i * 10 + 10, 3));
    Timeline timeline(demo);
    // Frames walk forward through the whole track 1 ms at a time; only the wrap at its end goes back.
    uint32_t t = 0;
    const uint32_t end = events * 10;
    for (auto _ : state) {
        bool ok = timeline.run_frame(t);
        benchmark::DoNotOptimize(ok);
        if (++t == end)
            t = 0;
    }
}
BENCHMARK(ForwardFrame)->Arg(10)->Arg(10000);

} // namespace

BENCHMARK_MAIN();
