// In-place colouring of a swarm another event owns: uniform colour, a ramp between two colours, a random
// pick from a set. The owner's next rebuild resets the colours to opaque white.
#include <algorithm>
#include <cstdarg>

#include "effect_frame.h"
#include "swarm_effects.h"

using namespace swarms;

namespace
{

struct ColorBlock {
    int32_t words[3] = {};
    bool built = false;
};
struct BetweenBlock {
    int32_t words[7] = {};
    bool built = false;
};
constexpr int kSetColors = 16;
struct RandomSetBlock {
    int32_t words[3 * kSetColors + 2] = {}; // the 48 colour values, the colour count, the seed
    bool built = false;
    bool warned = false;
};

// first + k * (last - first) / n, truncated toward zero, as its low byte. In 64 bits: k * (last - first)
// leaves 32 bits for swarms of more than 8 million points.
uint8_t ramp_byte(int32_t first, int32_t last, int64_t k, int64_t n)
{
    return uint8_t(first + k * (int64_t(last) - first) / n);
}

} // namespace

VORTEL_EXPORT bool ColorSwarm(StateStruct* state, void** privateData, int32_t swarm, int32_t red,
                              int32_t green, int32_t blue)
{
    auto* b = enter_inplace_effect<ColorBlock>(state, privateData);
    if (!b)
        return kDone;
    vortel::Held source = held_swarm(swarm, "ColorSwarm");
    SwarmRecord* s = source.as<SwarmRecord>();
    if (!s)
        return kDone;
    const int32_t words[3] = {red, green, blue};
    if (b->built && source.is_static() && std::equal(words, words + 3, b->words))
        return kDone;
    state->status = 2;
    drop_colors(s);
    set_uniform_color(s, s->alpha, uint8_t(red), uint8_t(green), uint8_t(blue));
    std::copy(words, words + 3, b->words);
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool ColorSwarmBetween(StateStruct* state, void** privateData, int32_t swarm, int32_t red1,
                                     int32_t green1, int32_t blue1, int32_t red2, int32_t green2,
                                     int32_t blue2, int32_t seed)
{
    auto* b = enter_inplace_effect<BetweenBlock>(state, privateData);
    if (!b)
        return kDone;
    vortel::Held source = held_swarm(swarm, "ColorSwarm");
    SwarmRecord* s = source.as<SwarmRecord>();
    if (!s)
        return kDone;
    const int32_t words[7] = {red1, green1, blue1, red2, green2, blue2, seed};
    if (b->built && source.is_static() && std::equal(words, words + 7, b->words))
        return kDone;
    state->status = 2;
    std::copy(words, words + 7, b->words);
    b->built = true;
    const int32_t n = s->count;
    if (n == 0)
        return kDone;
    if (!ensure_colors(s, "ColorSwarmBetween")) {
        state->status = -1;
        return kDone;
    }
    if (seed != 0)
        gRand.srand(uint32_t(seed));
    for (int32_t i = 0; i < n; ++i) {
        const int32_t k = seed != 0 ? gRand.rand() % n : i;
        uint8_t* c = s->colors + 4 * i;
        c[0] = 255;
        c[1] = ramp_byte(red1, red2, k, n);
        c[2] = ramp_byte(green1, green2, k, n);
        c[3] = ramp_byte(blue1, blue2, k, n);
    }
    return kDone;
}

VORTEL_EXPORT bool ColorRandomSetSwarm(StateStruct* state, void** privateData, ...)
{
    // Words: swarm, colour count, 16 x (red, green, blue), seed.
    int32_t swarm, colorCount, seed, colors[3 * kSetColors];
    va_list args;
    va_start(args, privateData);
    swarm = va_arg(args, int32_t);
    colorCount = va_arg(args, int32_t);
    for (int32_t& value : colors)
        value = va_arg(args, int32_t);
    seed = va_arg(args, int32_t);
    va_end(args);

    gRand.srand(uint32_t(seed));
    auto* b = enter_inplace_effect<RandomSetBlock>(state, privateData);
    if (!b)
        return kDone;
    vortel::Held source = held_swarm(swarm, "ColorSwarm");
    SwarmRecord* s = source.as<SwarmRecord>();
    if (!s)
        return kDone;
    int32_t words[3 * kSetColors + 2];
    std::copy(colors, colors + 3 * kSetColors, words);
    words[3 * kSetColors] = colorCount;
    words[3 * kSetColors + 1] = seed;
    if (b->built && source.is_static() && std::equal(words, words + 3 * kSetColors + 2, b->words))
        return kDone;
    std::copy(words, words + 3 * kSetColors + 2, b->words);
    b->built = true;
    if (colorCount < 1) {
        if (!b->warned)
            vortel::log(
                "ColorRandomSetSwarm: the colour count is %d, at least 1 is needed; colours unchanged\n",
                colorCount);
        b->warned = true;
        state->status = -1;
        return kDone;
    }
    state->status = 2;
    // Points whose draw falls outside the set keep their colour: a new array starts as the uniform one.
    const bool fresh = !s->colors;
    if (!ensure_colors(s, "ColorRandomSetSwarm")) {
        state->status = -1;
        return kDone;
    }
    if (fresh)
        fill_color(s->colors, s->count, &s->alpha);
    for (int32_t i = 0; i < s->count; ++i) {
        const int32_t k = gRand.rand() % colorCount;
        if (k < kSetColors) {
            uint8_t* c = s->colors + 4 * i;
            c[0] = 255;
            c[1] = uint8_t(colors[3 * k]);
            c[2] = uint8_t(colors[3 * k + 1]);
            c[3] = uint8_t(colors[3 * k + 2]);
        }
    }
    return kDone;
}
