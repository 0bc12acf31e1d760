// The pseudo-random sequence demos were authored against: draws in 0 .. 32767 from the linear
// congruential generator state = state * 214013 + 2531011, value = (state >> 16) & 0x7FFF.
// Every plug-in keeps its own instance, so one plug-in's seeding never changes another's draws and a
// demo gives the same pictures on every run.
#pragma once

#include <cstdint>

class LegacyRand {
public:
    static constexpr int32_t kMax = 32767;

    void srand(uint32_t seed) { state_ = seed; }
    int32_t rand()
    {
        state_ = state_ * 214013u + 2531011u;
        return int32_t((state_ >> 16) & 0x7FFFu);
    }

private:
    uint32_t state_ = 1;
};
