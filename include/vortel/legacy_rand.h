// The pseudo-random sequence demos were authored against: draws in 0 .. kMax from the linear congruential
// generator state = state * kMultiplier + kIncrement, value = (state >> kShift) & kMask.
// Every plug-in keeps its own instance, so one plug-in's seeding never changes another's draws and a
// demo gives the same pictures on every run.
#pragma once

#include <cstdint>

class LegacyRand
{
public:
    static constexpr uint32_t kMultiplier = 214013u;
    static constexpr uint32_t kIncrement = 2531011u;
    static constexpr int kShift = 16;
    static constexpr uint32_t kMask = 0x7FFFu;
    static constexpr int32_t kMax = int32_t(kMask); // the largest draw, 32767

    void srand(uint32_t seed) { state_ = seed; }
    int32_t rand()
    {
        state_ = state_ * kMultiplier + kIncrement;
        return int32_t((state_ >> kShift) & kMask);
    }

private:
    uint32_t state_ = 1;
};
