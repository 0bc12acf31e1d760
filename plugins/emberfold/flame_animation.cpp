// Channel animation: each channel runs between its low value (phase 0) and its high value (half period)
// on a sine or a triangle wave; rotation channels turn the base rotation, or spin it full turns.
#include "flame_description.h"

#include "scene/math3d.h"

#include <cmath>

namespace emberfold
{

namespace
{

constexpr double kPi = 3.14159265358979323846;

struct Phase {
    int64_t phi;  // t mod P
    int64_t half; // P / 2 (integer division)
    int64_t quarter;
    int64_t period;
};

Phase phase_of(int32_t t, int32_t period)
{
    const int64_t p = period;
    return {int64_t(t) % p, p / 2, p / 4, p};
}

// 0 at phase 0, 1 at half period, on the sine wave.
double sine_rise(const Phase& ph)
{
    return (std::sin(double(ph.phi - ph.quarter) * 2.0 * kPi / double(ph.period)) + 1.0) / 2.0;
}

// 0 at phase 0, 1 at half period, on the triangle wave. A period of 1 has no half: it stays at 0.
double triangle_rise(const Phase& ph)
{
    if (ph.half == 0)
        return 0.0;
    const int64_t q = ph.phi <= ph.half ? ph.phi : ph.period - ph.phi;
    return double(q) / double(ph.half);
}

double channel_value(const FlameTransform& t, int channel, int32_t time)
{
    const Phase ph = phase_of(time, t.channelPeriod[channel]);
    const double delta = t.channelHigh[channel] - t.channelLow[channel];
    const double rise = t.channelWave[channel] != 0 ? sine_rise(ph) : triangle_rise(ph);
    return t.channelLow[channel] + rise * delta;
}

double rotation_angle(const FlameTransform& t, int axis, int32_t time)
{
    const int channel = kChannelRotation + axis;
    const double high = t.channelHigh[channel];
    const Phase ph = phase_of(time, t.channelPeriod[channel]);
    if (std::fabs(std::fabs(high / 2) - kPi) <= 0.001) // a full turn per period, continuously
        return (high < 0 ? -2.0 : 2.0) * double(ph.phi) * kPi / double(ph.period);
    if (t.channelWave[channel] != 0)
        return high / 2 * (std::sin(double(ph.phi - ph.quarter) * 2.0 * kPi / double(ph.period)) + 1.0);
    return high * triangle_rise(ph);
}

} // namespace

void animate_transform(FlameTransform& t, int32_t time)
{
    float* fields[3] = {t.scale, t.skew, t.translation};
    const int firsts[3] = {kChannelScale, kChannelSkew, kChannelTranslation};
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < 3; ++i)
            if (t.channelPeriod[firsts[g] + i] != 0)
                fields[g][i] = float(channel_value(t, firsts[g] + i, time));

    copy_mat(t.baseRotation, t.rotation);
    for (int axis = 0; axis < 3; ++axis) {
        const int channel = kChannelRotation + axis;
        if (t.channelPeriod[channel] == 0 || t.channelHigh[channel] == 0)
            continue;
        const float angle = float(rotation_angle(t, axis, time));
        float turn[9];
        if (axis == 0)
            make_rotx_mat(turn, angle);
        else if (axis == 1)
            make_roty_mat(turn, angle);
        else
            make_rotz_mat(turn, angle);
        mul_mat_self_mat(turn, t.rotation);
        Gram_Schmid_orthonormalize(t.rotation, t.rotation + 3, t.rotation + 6);
    }
}

bool is_animated(const FlameTransform& t)
{
    for (int c = 0; c < kChannels; ++c)
        if (t.channelLow[c] != t.channelHigh[c])
            return true;
    return false;
}

} // namespace emberfold
