// Parameters built by hand, and their evaluation in one call.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "param_eval.h"

inline Param constant(int32_t value)
{
    Param p;
    p.kind = kParamConstant;
    p.value = value;
    return p;
}

inline Param multi(int32_t interpolation, std::vector<int32_t> keys, std::vector<uint32_t> lengths)
{
    Param p;
    p.kind = kParamMulti;
    p.interpolation = interpolation;
    p.keys = std::move(keys);
    p.lengths = std::move(lengths);
    finalize_multi(p);
    return p;
}

inline Param sine(int32_t ampli, int32_t period, int32_t offset, int32_t height)
{
    Param p;
    p.kind = kParamSine;
    p.ampli = ampli;
    p.period = period;
    p.offset = offset;
    p.height = height;
    return p;
}

inline Param combi(int32_t op, Param first, Param second = Param(), bool binary = true)
{
    Param p;
    p.kind = kParamCombi;
    p.op = op;
    p.first = std::make_unique<Param>(std::move(first));
    if (binary && op < kCombiNegate)
        p.second = std::make_unique<Param>(std::move(second));
    return p;
}

inline Param of_kind(int32_t kind, int32_t textIndex = 0, int32_t min = 0, int32_t max = 0)
{
    Param p;
    p.kind = kind;
    p.textIndex = textIndex;
    p.min = min;
    p.max = max;
    return p;
}

template <class... P> std::vector<Param> params(P... p)
{
    std::vector<Param> list;
    (list.push_back(std::move(p)), ...);
    return list;
}

struct Evaluation {
    int words;
    std::vector<int32_t> values;
    bool constant;
};

// Evaluates list[index] at demo time t of an event starting at eventStart.
inline Evaluation evaluate(const std::vector<Param>& list, size_t index, uint32_t t, uint32_t eventStart = 0)
{
    int32_t out[4] = {0, 0, 0, 0};
    bool isConstant = false;
    const int words = evaluate_param(list, index, t, eventStart, out, &isConstant);
    return {words, std::vector<int32_t>(out, out + words), isConstant};
}

// The first word of a single parameter.
inline int32_t value_at(Param p, uint32_t t, uint32_t eventStart = 0)
{
    return evaluate(params(std::move(p)), 0, t, eventStart).values.at(0);
}
