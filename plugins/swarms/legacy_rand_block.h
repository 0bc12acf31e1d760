// Bulk draws of the legacy rand sequence (LegacyRand, vortel/legacy_rand.h) for generators that need
// millions of values: the same values in the same order as repeated rand() calls, computed in eight
// interleaved lanes that each jump eight steps at once, so the draws do not wait on one another.
#pragma once

#include <cstdint>
#include <cstring>
#include <vortel/legacy_rand.h>

namespace swarms
{

// a^k modulo 2^32.
constexpr uint32_t power(uint32_t a, int k)
{
    uint32_t x = 1;
    while (k-- > 0)
        x *= a;
    return x;
}

// The inverse of an odd a modulo 2^32 (Newton's iteration doubles the correct low bits each round).
constexpr uint32_t inverse_mod_2_32(uint32_t a)
{
    uint32_t x = a;
    for (int k = 0; k < 5; ++k)
        x *= 2u - a * x;
    return x;
}

class LegacyRandBlock
{
public:
    explicit LegacyRandBlock(uint32_t state) : state_(state) {}

    // Writes the next n values to out.
    void fill(int32_t* out, int32_t n)
    {
        uint32_t s = state_;
        Lanes low, high;
        for (int k = 0; k < 4; ++k)
            low[k] = s = step(s);
        for (int k = 0; k < 4; ++k)
            high[k] = s = step(s);
        int32_t i = 0;
        for (; i + 8 <= n; i += 8) {
            const Lanes a = (low >> LegacyRand::kShift) & LegacyRand::kMask,
                        b = (high >> LegacyRand::kShift) & LegacyRand::kMask;
            std::memcpy(out + i, &a, sizeof(a));
            std::memcpy(out + i + 4, &b, sizeof(b));
            low = low * kA8 + kC8;
            high = high * kA8 + kC8;
        }
        // The state after draw i - 1 is one eight-step jump before the last lane's current one.
        s = i == 0 ? state_ : (high[3] - kC8) * kInverseA8;
        for (; i < n; ++i)
            out[i] = value(s = step(s));
        state_ = s;
    }
    // The generator state after everything drawn so far (what srand would need to continue).
    uint32_t state() const { return state_; }

private:
    typedef uint32_t Lanes __attribute__((vector_size(16)));
    static constexpr uint32_t kA = LegacyRand::kMultiplier, kC = LegacyRand::kIncrement;
    // Eight steps at once: s -> kA8 * s + kC8.
    static constexpr uint32_t kA8 = power(kA, 8);
    static constexpr uint32_t kC8 = kC * (power(kA, 7) + power(kA, 6) + power(kA, 5) + power(kA, 4) +
                                          power(kA, 3) + power(kA, 2) + kA + 1u);
    static constexpr uint32_t kInverseA8 = inverse_mod_2_32(kA8);
    static_assert(kA8 * kInverseA8 == 1u, "inverse modulo 2^32");

    static uint32_t step(uint32_t s) { return s * kA + kC; }
    static int32_t value(uint32_t s) { return int32_t((s >> LegacyRand::kShift) & LegacyRand::kMask); }

    uint32_t state_;
};

} // namespace swarms
