// Beat and loops parameters: values synchronised to a 'BEAT' pattern supplied by a plug-in.
#include <algorithm>
#include <cmath>

#include <vortel/records.h>

#include "param_kinds.h"
#include "registry.h"

namespace param_detail
{

namespace
{

// Acquires the pattern for one evaluation and releases it when done.
class BeatLease
{
public:
    explicit BeatLease(int32_t textIndex) : textIndex_(textIndex)
    {
        bool isStatic = false;
        record_ = static_cast<const BeatRecord*>(
            AcquireByIndex(kTypeBeat, textIndex, nullptr, false, "VortelEdit", "Beat", &isStatic));
    }
    ~BeatLease()
    {
        if (record_)
            ReleaseByIndex(kTypeBeat, textIndex_, nullptr);
    }
    BeatLease(const BeatLease&) = delete;
    BeatLease& operator=(const BeatLease&) = delete;

    const BeatRecord* record() const { return record_; }

private:
    int32_t textIndex_;
    const BeatRecord* record_;
};

// A bar that is not a positive length cannot be divided into.
bool has_bars(const BeatRecord& beat)
{
    return beat.bar > 0 && std::isfinite(beat.bar);
}

// Where demo time t falls in the bar of the pattern, as a value between the beat values.
double beat_phase(const BeatRecord& beat, uint32_t t)
{
    const int64_t start = beat.start;
    if (beat.count <= 0 || beat.count > kMaxBeats || !has_bars(beat) || t < start ||
        t > start + int64_t(beat.length))
        return 0;
    const double tt = double(t) + beat.offset;
    const double bar = std::trunc((tt - start) / beat.bar);
    double base = std::trunc(bar * beat.bar + start);
    int i = 0;
    for (int walked = 0; walked < beat.count; ++walked) {
        if (base + beat.beatLengths[i] > tt)
            break;
        base = std::trunc(base + beat.beatLengths[i]);
        i = (i + 1) % beat.count;
    }
    const double elapsed = tt - base;
    if (beat.cubic)
        return bezier_segment(beat.beatValues, beat.beatLengths, size_t(beat.count), size_t(i), elapsed);
    if (beat.beatLengths[i] == 0)
        return beat.beatValues[i];
    return beat.beatValues[i] + (beat.beatValues[i + 1] - beat.beatValues[i]) * elapsed / beat.beatLengths[i];
}

} // namespace

int32_t evaluate_beat(const Param& beat, uint32_t t)
{
    const BeatLease lease(beat.textIndex);
    if (!lease.record())
        return beat.min;
    return to_word(beat_phase(*lease.record(), t) * beat.max + beat.min);
}

int32_t evaluate_loops(const Param& loops, uint32_t t)
{
    const BeatLease lease(loops.textIndex);
    const BeatRecord* record = lease.record();
    if (!record || !has_bars(*record))
        return 0;
    const int64_t since = int64_t(t) - record->start;
    if (since < 0)
        return 0;
    return to_word(double(std::min<int64_t>(since, record->length)) / record->bar);
}

} // namespace param_detail
