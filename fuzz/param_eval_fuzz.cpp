// Parameter evaluation over parsed documents at arbitrary times, with a beat pattern made from the input.
//
// Input: a 64-byte head, then the demo document.
//   head[0..15]   start, length, count, offset of the 'BEAT' record (int32 each, little end first)
//   head[16..23]  its bar length (double, any bits: zero, negative, infinite and NaN included)
//   head[24..27]  a demo time t (uint32)
//   head[28]      bit 0: cubic
//   head[29..63]  seeds for the beat lengths and values
// Every parameter of every event is evaluated at t, at the event's start and end, just before and after
// them, and at the ends of the clock; the resource preloads of every event are worked out as well.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include <vortel/records.h>

#include "data_file.h"
#include "demo_loader.h"
#include "fuzz_inputs.h"
#include "param_eval.h"
#include "registry.h"
#include "scratch_file.h"
#include "services.h"

namespace
{

constexpr size_t kHead = 64;
BeatRecord g_beat;

void* beat_acquire(const char*, void*, bool* outFlag)
{
    if (outFlag)
        *outFlag = false;
    return &g_beat;
}

bool beat_release(const char*, void*)
{
    return true;
}

template <class T> T read_at(const uint8_t* head, size_t at)
{
    T value;
    std::memcpy(&value, head + at, sizeof value);
    return value;
}

void fill_beat(const uint8_t* head)
{
    g_beat.start = read_at<int32_t>(head, 0);
    g_beat.length = read_at<int32_t>(head, 4);
    g_beat.count = read_at<int32_t>(head, 8);
    g_beat.offset = read_at<int32_t>(head, 12);
    g_beat.bar = read_at<double>(head, 16);
    g_beat.cubic = (head[28] & 1) != 0;
    const uint8_t* seeds = head + 29;
    for (int i = 0; i < kMaxBeats; ++i)
        g_beat.beatLengths[i] = double(seeds[i % 35]) * 4.0 - 100.0; // zero and negative lengths too
    for (int i = 0; i <= kMaxBeats; ++i)
        g_beat.beatValues[i] = double(seeds[(i + 7) % 35]) - 128.0;
}

void evaluate_event(const Event& event, uint32_t t)
{
    const uint32_t times[] = {t,
                              event.startTime,
                              event.startTime - 1,
                              event.startTime + 1,
                              event.endTime,
                              event.endTime + 1,
                              event.startTime + (event.endTime - event.startTime) / 2,
                              0,
                              UINT32_MAX};
    for (size_t index = 0; index < event.params.size(); ++index) {
        // Exactly the words left after this parameter, so a write past them is caught.
        std::vector<int32_t> out(event.params.size() - index);
        for (uint32_t time : times) {
            bool constant = false;
            try {
                const int written =
                    evaluate_param(event.params, index, time, event.startTime, out.data(), &constant);
                if (written < 1 || size_t(written) > out.size())
                    __builtin_trap();
            } catch (const BasicException&) {
                // A sqd or rotate without the parameters it needs after it.
            }
        }
    }
}

} // namespace

int param_eval_input(const uint8_t* data, size_t size)
{
    static const bool registered = RegisterType(kTypeBeat, beat_acquire, beat_release) > 0;
    (void)registered;
    if (size < kHead)
        return 0;
    fill_beat(data);
    const uint32_t t = read_at<uint32_t>(data, 24);
    const std::string path = scratch_path(".xml");
    if (!write_scratch(path, data + kHead, size - kHead))
        return 0;
    Demo demo;
    try {
        load_demo(path.c_str(), demo);
    } catch (const BasicException&) {
        return 0;
    }
    set_texts(&demo.texts);
    for (const Track& track : demo.tracks)
        for (const Event& event : track.events) {
            evaluate_event(event, t);
            event_resource_preloads(demo, event);
        }
    set_texts(nullptr);
    return 0;
}

VORTEL_FUZZ_ENTRY(param_eval_input)
