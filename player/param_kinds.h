// Internal to the parameter evaluator (param_*.cpp): the pieces the kinds share.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "demo_model.h"

namespace param_detail
{

// A parameter and the ones that follow it in its event (rotate and sqd read those).
struct ParamRun {
    const Param* params; // params[0] is the one being evaluated
    size_t count;        // params[0 .. count-1] are valid; count >= 1
};

// Truncates toward zero into a word: saturates outside the int32 range, NaN gives 0.
int32_t to_word(double value);

// Evaluates run.params[0]: see evaluate_param.
int evaluate(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out, bool* constant);

// The first word of a parameter evaluated on its own (combi operands, rotate angles).
int32_t evaluate_single(const Param& param, uint32_t t, uint32_t eventStart, bool* constant);

// Where t falls in a multi: segment `index` with `elapsed` ms since its start, or past the last one.
struct SegmentPosition {
    size_t index;
    double elapsed;
    bool pastEnd;
};
SegmentPosition find_segment(const Param& multi, uint32_t t, uint32_t eventStart);

int32_t evaluate_multi_scalar(const Param& multi, uint32_t t, uint32_t eventStart); // lin and bez
int evaluate_sqd(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out);      // writes 4 words
int evaluate_rotate(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out, bool* constant);
int32_t evaluate_beat(const Param& beat, uint32_t t);
int32_t evaluate_loops(const Param& loops, uint32_t t);

// The cubic ("bez") value on segment i of n segments, `elapsed` ms into it: Bezier control points from
// the segment's keys, with the tangents flattened or eased by the neighbouring segments' slopes.
// keys has n + 1 entries and lengths n; a zero length counts as 1. Shared by multi and beat patterns.
template <class Key, class Length>
double bezier_segment(const Key* keys, const Length* lengths, size_t n, size_t i, double elapsed)
{
    const double p0 = double(keys[i]);
    const double p3 = double(keys[i + 1]);
    if (p0 == p3)
        return p0;
    auto length_or_one = [&](size_t k) { return lengths[k] == 0 ? 1.0 : double(lengths[k]); };
    const double length = length_or_one(i);
    double p1 = p0 + (p3 - p0) / 3;
    double p2 = p3 - (p3 - p0) / 3;
    const double slope = (p3 - p0) / length;
    if (i > 0) {
        const double previous = double(keys[i - 1]);
        const double slopeBefore = (p0 - previous) / length_or_one(i - 1);
        if (slopeBefore * slope <= 0)
            p1 = p0;
        else if (std::abs(slope) > std::abs(slopeBefore))
            p1 = p0 + (p0 - previous) / 3;
    }
    if (i + 1 < n) {
        const double next = double(keys[i + 2]);
        const double slopeAfter = (next - p3) / length_or_one(i + 1);
        if (slopeAfter * slope <= 0)
            p2 = p3;
        else if (std::abs(slope) > std::abs(slopeAfter))
            p2 = p3 + (p3 - next) / 3;
    }
    const double s = elapsed / length;
    const double points[4] = {p0, p1, p2, p3};
    // Bernstein form with integer binomials and powers by repeated multiplication, so results match the
    // values authors computed by hand.
    double sum = 0;
    for (int k = 0; k < 4; ++k) {
        int binomial = 1;
        for (int j = 1; j <= k; ++j)
            binomial = binomial * (3 - j + 1) / j;
        double power = 1, complement = 1;
        for (int j = 0; j < k; ++j)
            power *= s;
        for (int j = 0; j < 3 - k; ++j)
            complement *= 1 - s;
        sum += binomial * power * complement * points[k];
    }
    return sum;
}

} // namespace param_detail
