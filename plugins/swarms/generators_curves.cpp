// Generators of point sets along closed-form curves: three-axis sine, torus-wound sine, spirograph, Bezier.
#include <algorithm>
#include <cmath>
#include <scene/math3d.h>

#include "effect_frame.h"
#include "generator_support.h"
#include "swarm_effects.h"

using namespace swarms;

namespace
{

constexpr float kPi = 3.1415927f;

struct SineBlock : OutputBlock {
    int32_t words[11] = {}; // step, offset, then amplitude, frequency, phase of x, y and z
};
struct TorusBlock : OutputBlock {
    int32_t words[5] = {};
};
struct SpiroBlock : OutputBlock {
    int32_t words[7] = {};
};
struct BezierBlock : OutputBlock {
    int32_t count = 0;
    int32_t coords[12] = {};
};

// The sine of a steadily growing angle base + i * delta, walked as a rotation of (cos, sin) by delta:
// far cheaper than one sin() per point. The rotation restarts from exact values every kExactEvery
// points, so rounding drift stays far below float precision.
struct SineWalk {
    double amplitude, base, delta;
    double c = 0, s = 0, cd = 0, sd = 0;

    void restart(int64_t i)
    {
        const double angle = base + double(i) * delta;
        c = std::cos(angle);
        s = std::sin(angle);
        cd = std::cos(delta);
        sd = std::sin(delta);
    }
    float next()
    {
        const float value = float(amplitude * s);
        const double c2 = c * cd - s * sd;
        s = s * cd + c * sd;
        c = c2;
        return value;
    }
};
constexpr int32_t kExactEvery = 256;

// axis: amplitude (0 -> 1), frequency, phase. Coordinate = A sin(2 pi F t / A + 0.002 pi phase) with
// t = (i * step + offset) * 0.01.
SineWalk sine_axis(int32_t amplitude, int32_t frequency, int32_t phase, int32_t step, int32_t offset)
{
    const double a = amplitude == 0 ? 1 : amplitude;
    const double perUnit = 2 * M_PI * frequency * 0.01 / a;
    return SineWalk{a, perUnit * offset + 0.002 * M_PI * phase, perUnit * step};
}

void write_sine(float* out, int32_t count, SineWalk (&axes)[3])
{
    for (int32_t first = 0; first < count; first += kExactEvery) {
        for (SineWalk& axis : axes)
            axis.restart(first);
        const int32_t last = std::min(count, first + kExactEvery);
        for (int32_t i = first; i < last; ++i) {
            *out++ = axes[0].next();
            *out++ = axes[1].next();
            *out++ = axes[2].next();
        }
    }
}

void write_torus(float* out, int32_t count, const int32_t (&w)[5])
{
    const double ringRadius = w[0], ringStep = w[1], tubeRadius = w[2], tubeStep = w[3], tubeOffset = w[4];
    for (int32_t i = 0; i < count; ++i) {
        const double a = (i * tubeStep + tubeOffset) * 0.001;
        const double b = i * ringStep * 0.001;
        const double wr = ringRadius + tubeRadius * std::cos(a);
        *out++ = float(wr * std::cos(b));
        *out++ = float(tubeRadius * std::sin(a));
        *out++ = float(wr * std::sin(b));
    }
}

void write_spiro(float* out, int32_t count, const int32_t (&w)[7])
{
    const int32_t b = w[0], c = w[1], d = w[2], e = w[3], f = w[4], g = w[5], h = w[6];
    const float big = float(b + int64_t(c)) * 0.01f;
    for (int32_t i = 0; i < count; ++i) {
        // 1. e is in hundredths of a degree per point.
        const float theta = float(i) * float(e) * 2 * kPi * 2.7777778e-5f;
        // 2. The pen on the rolling circle (d unscaled).
        float p = big * std::cos(theta), q = big * std::sin(theta);
        if (c != 0) {
            const float psi = theta * big / (float(c) * 0.01f);
            p += float(d) * std::cos(psi);
            q += float(d) * std::sin(psi);
        }
        // 3. Turn back by -theta.
        const float fx = p * std::cos(-theta) - q * std::sin(-theta);
        const float hy = p * std::sin(-theta) + q * std::cos(-theta);
        // 4. Tilt.
        const float phi = float(std::sin(theta * float(g) * 0.01f + h * M_PI * (1.0 / 1800))) * float(f) *
                          kPi * 2.7777778e-4f;
        // 5.
        const float tilted = fx * std::cos(phi);
        *out++ = std::cos(theta) * tilted - std::sin(theta) * hy;
        *out++ = std::sin(theta) * tilted + std::cos(theta) * hy;
        *out++ = std::sin(phi) * fx;
    }
}

} // namespace

VORTEL_EXPORT bool MakeSineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                 int32_t step, int32_t ampX, int32_t freqX, int32_t phaseX, int32_t ampY,
                                 int32_t freqY, int32_t phaseY, int32_t ampZ, int32_t freqZ, int32_t phaseZ,
                                 int32_t offset)
{
    bool result;
    auto* b = enter_output_effect<SineBlock>(state, privateData, &name, 1, "MakeSineSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    count = std::max(count, 1);
    const int32_t words[11] = {step, offset, ampX, freqX, phaseX, ampY, freqY, phaseY, ampZ, freqZ, phaseZ};
    if (b->built && r->count == built_count(count) && std::equal(words, words + 11, b->words))
        return kDone;
    if (begin_rebuild(state, r, count, "MakeSineSwarm")) {
        SineWalk axes[3] = {sine_axis(ampX, freqX, phaseX, step, offset),
                            sine_axis(ampY, freqY, phaseY, step, offset),
                            sine_axis(ampZ, freqZ, phaseZ, step, offset)};
        write_sine(r->positions, r->count, axes);
    }
    std::copy(words, words + 11, b->words);
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeTorusSineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                      int32_t ringRadius, int32_t ringStep, int32_t tubeRadius,
                                      int32_t tubeStep, int32_t tubeOffset)
{
    bool result;
    auto* b = enter_output_effect<TorusBlock>(state, privateData, &name, 1, "MakeTorusSineSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    count = std::max(count, 1);
    const int32_t words[5] = {ringRadius, ringStep, tubeRadius, tubeStep, tubeOffset};
    if (b->built && r->count == built_count(count) && std::equal(words, words + 5, b->words))
        return kDone;
    if (begin_rebuild(state, r, count, "MakeTorusSineSwarm"))
        write_torus(r->positions, r->count, words);
    std::copy(words, words + 5, b->words);
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeSpiroSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                  int32_t b, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g, int32_t h)
{
    bool result;
    auto* block = enter_output_effect<SpiroBlock>(state, privateData, &name, 1, "MakeSpiroSwarm", &result);
    if (!block)
        return result;
    SwarmRecord* r = block->out[0].record;
    count = std::max(count, 1);
    const int32_t words[7] = {b, c, d, e, f, g, h};
    if (block->built && r->count == built_count(count) && std::equal(words, words + 7, block->words))
        return kDone;
    if (begin_rebuild(state, r, count, "MakeSpiroSwarm"))
        write_spiro(r->positions, r->count, words);
    std::copy(words, words + 7, block->words);
    block->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeBezierSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                   int32_t p0x, int32_t p0y, int32_t p0z, int32_t p1x, int32_t p1y,
                                   int32_t p1z, int32_t p2x, int32_t p2y, int32_t p2z, int32_t p3x,
                                   int32_t p3y, int32_t p3z, int32_t controlPoints)
{
    bool result;
    auto* b = enter_output_effect<BezierBlock>(state, privateData, &name, 1, "MakeBezierSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    const int32_t coords[12] = {p0x, p0y, p0z, p1x, p1y, p1z, p2x, p2y, p2z, p3x, p3y, p3z};
    if (b->built && count == b->count && std::equal(coords, coords + 12, b->coords))
        return kDone;
    // The sampler needs at least 3 samples; fewer would leave the positions unwritten.
    const char* problem = count >= 0 && count < 3 ? "a Bezier swarm needs at least 3 points" : nullptr;
    if (begin_rebuild(state, r, count, "MakeBezierSwarm", problem)) {
        float ctrl[12];
        for (int k = 0; k < 12; ++k)
            ctrl[k] = float(coords[k]) * 0.001f;
        Get_Bezier3D(ctrl, 3, 4, r->count, r->positions, 3);
        if (controlPoints != 0)
            std::copy(ctrl, ctrl + 3 * std::min(r->count, 4), r->positions);
    }
    b->count = count;
    std::copy(coords, coords + 12, b->coords);
    b->built = true;
    return kDone;
}
