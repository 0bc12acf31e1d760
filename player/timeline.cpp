#include "timeline.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include <vortel/log_text.h>

#include "error_log.h"
#include "library_host.h"
#include "param_eval.h"

namespace
{

// The event whose effect is being called, for GetParam, and its track and number, for the messages sent
// during the call; null outside effect calls.
const Event* gCurrentEvent = nullptr;
size_t gCurrentTrack = 0;
int32_t gCurrentIndex = 0;

class CurrentEvent
{
public:
    CurrentEvent(const Event& event, size_t track, int32_t index)
    {
        gCurrentEvent = &event;
        gCurrentTrack = track;
        gCurrentIndex = index;
    }
    ~CurrentEvent() { gCurrentEvent = nullptr; }
};

// The messages timeline_message_sink has logged since the last Timeline was made, with their event numbers.
std::set<std::string, std::less<>>& logged_messages()
{
    static std::set<std::string, std::less<>> messages;
    return messages;
}

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

bool all_constant(const Event& event)
{
    for (const Param& param : event.params) {
        if (param.kind != kParamConstant)
            return false;
    }
    return true;
}

} // namespace

ActiveEventFinder::ActiveEventFinder(const std::vector<Event>& events)
{
    spans_.reserve(events.size());
    latestEnd_.reserve(events.size());
    uint32_t latest = 0;
    for (const Event& event : events) {
        spans_.push_back({event.startTime, event.endTime});
        latest = std::max(latest, event.endTime);
        latestEnd_.push_back(latest);
    }
}

int32_t ActiveEventFinder::find(uint32_t t)
{
    if (t < lastTime_) {
        // The first event ending after t is the first whose running maximum of end times is after t.
        cursor_ = size_t(std::upper_bound(latestEnd_.begin(), latestEnd_.begin() + long(cursor_), t) -
                         latestEnd_.begin());
    } else {
        while (cursor_ < spans_.size() && spans_[cursor_].end <= t)
            ++cursor_;
    }
    lastTime_ = t;
    if (cursor_ == spans_.size() || t < spans_[cursor_].start)
        return -1;
    return int32_t(cursor_);
}

Timeline::Timeline(const Demo& demo)
    : demo_(demo), plans_(demo.tracks.size()), runs_(demo.tracks.size()), active_(demo.tracks.size(), -1)
{
    logged_messages().clear();
    finders_.reserve(demo.tracks.size());
    std::vector<std::vector<size_t>> constantAt(demo.tracks.size());
    for (size_t k = 0; k < demo.tracks.size(); ++k) {
        const std::vector<Event>& events = demo.tracks[k].events;
        finders_.emplace_back(events);
        for (const Event& event : events) {
            EffectThunk thunk = effect_thunk(int(std::min(event.params.size(), size_t(kMaxEffectWords) + 1)));
            plans_[k].push_back({&event, thunk, nullptr});
            constantAt[k].push_back(constantWords_.size());
            if (thunk && all_constant(event)) {
                for (const Param& param : event.params)
                    constantWords_.push_back(param.value);
            } else {
                constantAt[k].back() = SIZE_MAX;
            }
        }
    }
    // Pointers only now that the pool has stopped growing.
    for (size_t k = 0; k < plans_.size(); ++k)
        for (size_t i = 0; i < plans_[k].size(); ++i)
            if (constantAt[k][i] != SIZE_MAX)
                plans_[k][i].constantWords = constantWords_.data() + constantAt[k][i];
}

bool Timeline::call_event(size_t track, int32_t index, int32_t phase, uint32_t t)
{
    const EventPlan& plan = plans_[track][size_t(index)];
    const Event& event = *plan.event;
    state_.phase = phase;
    state_.localTime = int32_t(t - event.startTime);
    state_.startTime = int32_t(event.startTime);
    state_.duration = int32_t(event.endTime - event.startTime);
    state_.GetParam = &timeline_get_param;
    if (!plan.thunk || !event.function)
        return false;
    CurrentEvent current(event, track, index);
    const int32_t* words = plan.constantWords;
    if (words) {
        state_.paramsConstant = true;
    } else {
        state_.paramsConstant = evaluate_arguments(event, t, words_);
        words = words_;
    }
    return plan.thunk(event.function, &state_, &runs_[track].privateData, words);
}

void Timeline::last_calls(uint32_t t)
{
    for (size_t k = runs_.size(); k-- > 0;) {
        TrackRunState& run = runs_[k];
        if (run.activeIndex >= 0 && run.activeIndex != active_[k]) {
            call_event(k, run.activeIndex, -1, t);
            run.activeIndex = -1;
            run.privateData = nullptr;
        }
    }
}

void Timeline::finish(uint32_t t)
{
    std::fill(active_.begin(), active_.end(), -1);
    last_calls(t);
}

bool Timeline::run_frame(uint32_t t)
{
    const size_t tracks = runs_.size();
    for (size_t k = 0; k < tracks; ++k)
        active_[k] = finders_[k].find(t);

    last_calls(t);

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
        log_printf("GetParam: %s has no argument word %d\n",
                   vortel::LogName(event->functionName.c_str()).c_str(), int(word));
        return 0;
    }
    int32_t value[4] = {};
    bool constant = true;
    evaluate_param(event->params, size_t(word), uint32_t(time), event->startTime, value, &constant);
    return value[0];
}

void timeline_message_sink(const char* text)
{
    if (!gCurrentEvent) {
        log_line(text);
        return;
    }
    char line[1200];
    std::snprintf(line, sizeof(line), "%s (track %zu, event %d)", text, gCurrentTrack, int(gCurrentIndex));
    // Looked up without a copy: a message repeated every frame allocates nothing.
    std::set<std::string, std::less<>>& logged = logged_messages();
    if (logged.find(std::string_view(line)) != logged.end())
        return;
    logged.emplace(line);
    log_line(line);
}
