// One application of a flame transform: the affine step p' = matrix * p + translation, then the sum of
// the variation terms with positive weight.
//
// FlameMap is a transform prepared for many applications: the affine part and the list of active terms,
// so the inner loops never look at the 35 unused weights. Prepare it again after the transform changes.
#pragma once

#include "flame_description.h"

#include <cmath>
#include <cstdint>

namespace emberfold
{

struct FlameMap {
    float matrix[9];
    float translation[3];
    float linear;                   // slot 0 weight, 0 when not positive
    int32_t termCount;              // further slots with positive weight
    uint8_t slots[kUsedVariations]; // their slot numbers, ascending
    float weights[kUsedVariations]; // their weights
    bool sinusoidalOnly;            // no linear part and slot 1 is the only term
};

void prepare_map(const FlameTransform& transform, FlameMap& map);

namespace detail
{
constexpr float kMapPi = 3.14159265358979f;

// The planar term of slot group g (slots 3 + 3g .. 5 + 3g) at plane coordinates (u, v), weight w.
inline void planar_term(int group, float w, float u, float v, float& du, float& dv)
{
    const float r = std::sqrt(u * u + v * v);
    // The arctangent of the quotient (not a four-quadrant angle); 0/0 counts as angle 0 so a point on the
    // axis does not poison every later point of the walk with NaN.
    const float theta = (u == 0.0f && v == 0.0f) ? 0.0f : std::atan(v / u);
    switch (group) {
    case 0:
        du = r * w * std::cos(r + theta);
        dv = r * w * std::sin(r + theta);
        break;
    case 1:
        du = w * r * std::sin(2 * theta);
        dv = w * r * std::cos(2 * theta);
        break;
    case 2: // polar
        du = w * theta / kMapPi;
        dv = w * (r - 1);
        break;
    case 3: // handkerchief
        du = r * w * std::sin(theta + r);
        dv = r * w * std::cos(theta - r);
        break;
    case 4: // heart
        du = w * r * std::sin(r * theta);
        dv = -w * r * std::cos(r * theta);
        break;
    case 5: // disc
        du = w * theta * std::sin(kMapPi * r) / kMapPi;
        dv = w * theta * std::cos(kMapPi * r) / kMapPi;
        break;
    case 6: // spiral; nothing to add at the centre, where 1/r has no value
        du = r != 0 ? w * (std::cos(theta) + std::sin(r)) / r : 0.0f;
        dv = r != 0 ? w * (std::sin(theta) - std::cos(r)) / r : 0.0f;
        break;
    case 7: // hyperbolic
        du = r != 0 ? w * std::sin(theta) / r : 0.0f;
        dv = w * r * std::cos(theta);
        break;
    case 8: // diamond
        du = w * std::sin(theta) * std::cos(r);
        dv = w * std::cos(theta) * std::sin(r);
        break;
    case 9: {
        const float a = std::sin(theta + r), b = std::cos(theta - r);
        du = r * w * a * a * a;
        dv = r * w * b * b * b;
        break;
    }
    default: {
        const float s = w * std::sqrt(r);
        du = s * std::cos(theta / 2);
        dv = s * std::sin(theta / 2);
        break;
    }
    }
}

template <bool kForVolume> inline void apply_map_terms(const FlameMap& map, const float* p, float* out)
{
    const float* m = map.matrix;
    const float x = m[0] * p[0] + m[1] * p[1] + m[2] * p[2] + map.translation[0];
    const float y = m[3] * p[0] + m[4] * p[1] + m[5] * p[2] + map.translation[1];
    const float z = m[6] * p[0] + m[7] * p[1] + m[8] * p[2] + map.translation[2];
    float o[3] = {map.linear * x, map.linear * y, map.linear * z};
    const float q[3] = {x, y, z};
    for (int32_t t = 0; t < map.termCount; ++t) {
        const int slot = map.slots[t];
        const float w = map.weights[t];
        if (slot == 1) {
            o[0] += w * std::sin(x);
            o[1] += w * std::sin(y);
            o[2] += w * std::sin(z);
            continue;
        }
        if (slot == 2) {
            const float length = std::sqrt(x * x + y * y + z * z);
            if (kForVolume && length == 0.0f) {
                o[0] = o[1] = o[2] = 0.0f;
                continue;
            }
            const float l = kForVolume ? length : length + 0.0001f;
            o[0] += w * x / l;
            o[1] += w * y / l;
            o[2] += w * z / l;
            continue;
        }
        // Plane order within a group: (y, z) passing x, (x, z) passing y, (x, y) passing z.
        const int pass = (slot - 3) % 3;
        const int a = pass == 0 ? 1 : 0;
        const int b = pass == 2 ? 1 : 2;
        float du, dv;
        planar_term((slot - 3) / 3, w, q[a], q[b], du, dv);
        o[a] += du;
        o[b] += dv;
        o[pass] += q[pass];
    }
    out[0] = o[0];
    out[1] = o[1];
    out[2] = o[2];
}

} // namespace detail

// out <- the map applied to p (out may alias p). Inline: the point generators call it in their loops.
inline void apply_map(const FlameMap& map, const float* p, float* out)
{
    detail::apply_map_terms<false>(map, p, out);
}

// The variant used to estimate volumes: the spherical term divides by the plain length and, at the
// origin, clears the sums accumulated so far.
inline void apply_map_for_volume(const FlameMap& map, const float* p, float* out)
{
    detail::apply_map_terms<true>(map, p, out);
}

// One application of the transform as it is now (its `matrix` must be current).
void apply_transform(const FlameTransform& transform, const float* p, float* out);

} // namespace emberfold
