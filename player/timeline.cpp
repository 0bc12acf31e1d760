#include "timeline.h"

#include <algorithm>

#include "dispatch.h"
#include "error_log.h"
#include "library_host.h"
#include "param_eval.h"

namespace
{

// The event whose effect is being called, for GetParam; null outside effect calls.
const Event* gCurrentEvent = nullptr;

class CurrentEvent
{
public:
    explicit CurrentEvent(const Event& event) { gCurrentEvent = &event; }
    ~CurrentEvent() { gCurrentEvent = nullptr; }
};

// Writes the event's argument words at demo time t into `words` and returns whether all are constant.
bool evaluate_arguments(const Event& event, uint32_t t, int32_t* words)
{
    bool allConstant = true;
    const size_t count = event.params.size();
    for (size_t w = 0; w < count;) {
        const Param& param = event.params[w];
        // Constants are most arguments of most demos: no call for them.
        if (param.kind == kParamConstant) {
            words[w++] = param.value;
            continue;
        }
        bool constant = true;
        int written = evaluate_param(event.params, w, t, event.startTime, words + w, &constant);
        allConstant = allConstant && constant;
        w += size_t(std::max(written, 1));
    }
    return allConstant;
}

} // namespace

ActiveEventFinder::ActiveEventFinder(const std::vector<Event>& events) : events_(&events)
{
    latestEnd_.reserve(events.size());
    uint32_t latest = 0;
    for (const Event& event : events) {
        latest = std::max(latest, event.endTime);
        latestEnd_.push_back(latest);
    }
}

int32_t ActiveEventFinder::find(uint32_t t)
{
    const std::vector<Event>& events = *events_;
    if (t < lastTime_) {
        // The first event ending after t is the first whose running maximum of end times is after t.
        cursor_ = size_t(std::upper_bound(latestEnd_.begin(), latestEnd_.begin() + long(cursor_), t) -
                         latestEnd_.begin());
    } else {
        while (cursor_ < events.size() && events[cursor_].endTime <= t)
            ++cursor_;
    }
    lastTime_ = t;
    if (cursor_ == events.size() || t < events[cursor_].startTime)
        return -1;
    return int32_t(cursor_);
}

Timeline::Timeline(const Demo& demo) : demo_(demo), runs_(demo.tracks.size()), active_(demo.tracks.size(), -1)
{
    finders_.reserve(demo.tracks.size());
    for (const Track& track : demo.tracks)
        finders_.emplace_back(track.events);
}

bool Timeline::call_event(size_t track, int32_t index, int32_t phase, uint32_t t)
{
    const Event& event = demo_.tracks[track].events[size_t(index)];
    state_.phase = phase;
    state_.localTime = int32_t(t - event.startTime);
    state_.startTime = int32_t(event.startTime);
    state_.duration = int32_t(event.endTime - event.startTime);
    state_.GetParam = &timeline_get_param;
    const size_t count = event.params.size();
    if (count > size_t(kMaxEffectWords) || !event.function)
        return false;
    CurrentEvent current(event);
    state_.paramsConstant = evaluate_arguments(event, t, words_);
    return dispatch_effect(event.function, &state_, &runs_[track].privateData, words_, int(count));
}

bool Timeline::run_frame(uint32_t t)
{
    const size_t tracks = runs_.size();
    for (size_t k = 0; k < tracks; ++k)
        active_[k] = finders_[k].find(t);

    for (size_t k = tracks; k-- > 0;) {
        TrackRunState& run = runs_[k];
        if (run.activeIndex >= 0 && run.activeIndex != active_[k]) {
            call_event(k, run.activeIndex, -1, t);
            run.activeIndex = -1;
            run.privateData = nullptr;
        }
    }

    begin_new_frame(demo_);

    for (size_t k = tracks; k-- > 0;) {
        TrackRunState& run = runs_[k];
        if (active_[k] != run.activeIndex) {
            // After the last calls, a difference can only mean a newly active event.
            run.activeIndex = active_[k];
            call_event(k, run.activeIndex, 0, t);
        }
    }

    for (size_t k = tracks; k-- > 0;) {
        TrackRunState& run = runs_[k];
        if (run.activeIndex < 0)
            continue;
        state_.status = 0;
        bool ok = call_event(k, run.activeIndex, 1, t);
        run.status = state_.status;
        if (!ok)
            return false;
    }
    return true;
}

int32_t timeline_get_param(int32_t time, int32_t word)
{
    const Event* event = gCurrentEvent;
    if (!event)
        return 0;
    if (word < 0 || size_t(word) >= event->params.size()) {
        log_printf("GetParam: %s has no argument word %d\n", event->functionName.c_str(), int(word));
        return 0;
    }
    int32_t value[4] = {};
    bool constant = true;
    evaluate_param(event->params, size_t(word), uint32_t(time), event->startTime, value, &constant);
    return value[0];
}
