// Multi parameters: chains of key values, with linear or cubic interpolation between them.
#include <algorithm>
#include <cassert>

#include "param_eval.h"
#include "param_kinds.h"

void finalize_multi(Param& param)
{
    param.segmentEnds.resize(param.lengths.size());
    uint64_t end = 0;
    for (size_t i = 0; i < param.lengths.size(); ++i) {
        end += param.lengths[i];
        param.segmentEnds[i] = end;
    }
}

namespace param_detail
{

SegmentPosition find_segment(const Param& multi, uint32_t t, uint32_t eventStart)
{
    assert(multi.segmentEnds.size() == multi.lengths.size() && "finalize_multi was not called");
    assert(multi.keys.size() == multi.lengths.size() + 1);
    // The segment holding t is the first whose end lies after t. Zero-length segments end where they
    // start, so t never falls into one. Summing in 64 bits keeps long chains from wrapping around.
    const uint64_t elapsed = t > eventStart ? t - eventStart : 0;
    const auto& ends = multi.segmentEnds;
    const size_t i = size_t(std::upper_bound(ends.begin(), ends.end(), elapsed) - ends.begin());
    if (i == ends.size())
        return {i, 0.0, true};
    const uint64_t segmentStart = i == 0 ? 0 : ends[i - 1];
    return {i, double(elapsed - segmentStart), false};
}

int32_t evaluate_multi_scalar(const Param& multi, uint32_t t, uint32_t eventStart)
{
    const SegmentPosition at = find_segment(multi, t, eventStart);
    const size_t i = at.index;
    if (at.pastEnd)
        return multi.keys[i];
    if (multi.interpolation == kInterpolBez)
        return to_word(
            bezier_segment(multi.keys.data(), multi.lengths.data(), multi.lengths.size(), i, at.elapsed));
    const double from = multi.keys[i];
    const double to = multi.keys[i + 1];
    return to_word((to - from) * at.elapsed / multi.lengths[i] + from);
}

} // namespace param_detail
