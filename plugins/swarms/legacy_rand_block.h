// Bulk draws of the legacy rand sequence (state = state * 214013 + 2531011, value = (state >> 16) & 0x7FFF)
// for generators that need millions of values: the same values in the same order as repeated rand()
// calls, computed in four interleaved lanes that each jump four steps at once, so the draws do not wait
// on one another.
#pragma once

#include <cstdint>

namespace swarms
{

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
        uint32_t lane[4];
        uint32_t s = state_;
        for (uint32_t& l : lane)
            l = s = step(s);
        int32_t i = 0;
        for (; i + 4 <= n; i += 4)
            for (int k = 0; k < 4; ++k) {
                out[i + k] = value(lane[k]);
                lane[k] = lane[k] * kA4 + kC4;
            }
        // The state after draw i - 1 is the state one jump before lane 0's current one.
        s = i == 0 ? state_ : lane[3] * kInverseA4 - kC4 * kInverseA4;
        for (; i < n; ++i)
            out[i] = value(s = step(s));
        state_ = s;
    }
    // The generator state after everything drawn so far (what srand would need to continue).
    uint32_t state() const { return state_; }

private:
    static constexpr uint32_t kA = 214013u, kC = 2531011u;
    static constexpr uint32_t kA4 = kA * kA * kA * kA;
    static constexpr uint32_t kC4 = kC * (kA * kA * kA + kA * kA + kA + 1u);
    static constexpr uint32_t kInverseA4 = inverse_mod_2_32(kA4);
    static_assert(kA4 * kInverseA4 == 1u, "inverse modulo 2^32");

    static uint32_t step(uint32_t s) { return s * kA + kC; }
    static int32_t value(uint32_t s) { return int32_t((s >> 16) & 0x7FFFu); }

    uint32_t state_;
};

} // namespace swarms
