#include "movie_jitter.h"

#include <algorithm>

namespace
{
constexpr uint32_t kK = 950706376u;
constexpr uint32_t kM = 2147483647u;

uint32_t next_lot(uint32_t x)
{
    return (x * kK) % kM;
}
} // namespace

JitterDraw movie_jitter_draw(int32_t seed, int32_t rawAmount, int32_t level)
{
    // amount / 2 + 1 divides below: at -2 or less it would be zero or negative.
    const int64_t amount = std::max(rawAmount, 0);
    const int32_t e = int32_t(uint32_t(seed) * kK) % int32_t(kM);
    const int64_t b = amount > 0 ? 3 * int64_t(uint32_t(e) % uint64_t(amount)) : 0;
    const uint32_t f = next_lot(uint32_t(e));
    const double sign = (f & (1u << 12)) ? 1.0 / 150 : -1.0 / 150;
    const int32_t jitter = int32_t(double(b) * double(b) * double(b) * 0.000001 * sign);
    const uint32_t g = next_lot(f);
    const int32_t spread = int32_t(g % uint64_t(amount / 2 + 1));
    const uint32_t l = next_lot(g);
    const uint32_t m = next_lot(l);
    const int64_t t = (256 * int64_t(level) + 2 * amount - int64_t(m % uint64_t(8 * amount + 2))) / 768;

    JitterDraw draw{};
    if (l & (1u << 16)) {
        draw.jitterY = jitter;
        draw.spreadX = spread;
    } else {
        draw.jitterX = jitter;
        draw.spreadY = spread;
    }
    draw.alpha = int32_t(std::clamp<int64_t>(t, 0, 255));
    return draw;
}
