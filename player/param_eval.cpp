// Parameter evaluation: the dispatch over kinds, constants, sine waves and combinations.
#include "param_eval.h"

#include <cassert>
#include <cmath>
#include <limits>

#include "param_kinds.h"

namespace param_detail
{

int32_t to_word(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

namespace
{

// Words wrap like the 32-bit integers the document's arithmetic was written for.
int32_t wrap(uint32_t bits)
{
    return int32_t(bits);
}

int32_t evaluate_sine(const Param& sine, uint32_t t, uint32_t eventStart)
{
    // A zero period has no wave: only the height is left.
    if (sine.period == 0)
        return sine.height;
    const int32_t a = wrap(uint32_t(sine.offset) + (t - eventStart));
    return to_word(std::sin(a * 6.28318 / sine.period) * sine.ampli + sine.height);
}

int32_t evaluate_combi(const Param& combi, uint32_t t, uint32_t eventStart, bool* constant)
{
    bool firstConstant = false, secondConstant = true;
    const int32_t x = evaluate_single(*combi.first, t, eventStart, &firstConstant);
    int32_t y = 0;
    if (combi.op < kCombiNegate)
        y = evaluate_single(*combi.second, t, eventStart, &secondConstant);
    *constant = firstConstant && secondConstant;
    switch (combi.op) {
    case kCombiAdd:
        return wrap(uint32_t(x) + uint32_t(y));
    case kCombiMultiply:
        return wrap(uint32_t(x) * uint32_t(y)) / 10000;
    case kCombiNegate:
        return wrap(0u - uint32_t(x));
    case kCombiAbs:
        return x < 0 ? wrap(0u - uint32_t(x)) : x;
    default:
        return 0; // other operations have no meaning
    }
}

} // namespace

int32_t evaluate_single(const Param& param, uint32_t t, uint32_t eventStart, bool* constant)
{
    int32_t words[4];
    evaluate({&param, 1}, t, eventStart, words, constant);
    return words[0];
}

int evaluate(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out, bool* constant)
{
    const Param& param = run.params[0];
    *constant = false;
    switch (param.kind) {
    case kParamSine:
        out[0] = evaluate_sine(param, t, eventStart);
        return 1;
    case kParamMulti:
        *constant = param.lengths.empty();
        if (param.interpolation == kInterpolSqd)
            return evaluate_sqd(run, t, eventStart, out);
        out[0] = evaluate_multi_scalar(param, t, eventStart);
        return 1;
    case kParamCombi:
        out[0] = evaluate_combi(param, t, eventStart, constant);
        return 1;
    case kParamBeat:
        out[0] = evaluate_beat(param, t);
        return 1;
    case kParamLoops:
        out[0] = evaluate_loops(param, t);
        return 1;
    case kParamRotate:
        return evaluate_rotate(run, t, eventStart, out, constant);
    default:
        *constant = true;
        out[0] = param.value;
        return 1;
    }
}

} // namespace param_detail

int evaluate_param(const std::vector<Param>& params, size_t index, uint32_t t, uint32_t eventStart,
                   int32_t* out, bool* constant)
{
    assert(index < params.size());
    return param_detail::evaluate({params.data() + index, params.size() - index}, t, eventStart, out,
                                  constant);
}
