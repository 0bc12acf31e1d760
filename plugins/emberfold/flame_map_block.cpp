#include "flame_map_block.h"

#include <cmath>

namespace emberfold
{

namespace
{

constexpr float kPi = 3.14159265358979f;
constexpr float kHalfPi = 1.57079632679490f;
// Coordinates up to this size keep the sine's range reduction (k * 2 pi in two parts) exact enough and its
// integer conversion defined; flames live well inside it.
constexpr float kLargestCoordinate = 1000.0f;

// sin on the whole range up to kLargestCoordinate: reduce to [-pi, pi] (two-part 2 pi), fold to
// [-pi/2, pi/2], then the odd Taylor polynomial to degree 11 (error below 6e-8).
inline float poly_sin(float x)
{
    const float k = float(int(x * 0.159154943f + (x >= 0 ? 0.5f : -0.5f)));
    float y = (x - k * 6.28125f) - k * 0.00193530717958647692f;
    y = y > kHalfPi ? kPi - y : (y < -kHalfPi ? -kPi - y : y);
    const float y2 = y * y;
    return y + y * y2 *
                   (-1.66666667e-1f +
                    y2 * (8.33333333e-3f +
                          y2 * (-1.98412698e-4f + y2 * (2.75573192e-6f + y2 * -2.50521084e-8f))));
}

inline float poly_cos(float x)
{
    return poly_sin(x + kHalfPi);
}

// atan of any quotient (infinities included): fold |q| > 1 to 1/|q| and values above tan(pi/12) by the
// pi/6 addition formula, then the odd series to degree 11 (error below 1e-7).
inline float poly_atan(float q)
{
    const float a = std::fabs(q);
    const bool inverted = a > 1.0f;
    float z = inverted ? 1.0f / a : a;
    const bool shifted = z > 0.267949192f;
    const float s = 0.577350269f; // tan(pi/6)
    z = shifted ? (z - s) / (1.0f + z * s) : z;
    const float z2 = z * z;
    float r =
        z + z * z2 *
                (-3.33333333e-1f +
                 z2 * (2.0e-1f + z2 * (-1.42857143e-1f + z2 * (1.11111111e-1f + z2 * -9.09090909e-2f))));
    r = shifted ? r + 0.523598776f : r;
    r = inverted ? kHalfPi - r : r;
    return q < 0 ? -r : r;
}

// The plane coordinates of a planar slot: (y, z) passing x, (x, z) passing y, (x, y) passing z.
struct Plane {
    const float* u;
    const float* v;
    const float* pass;
    float* du;
    float* dv;
    float* dpass;
};

Plane plane_of(int slot, const PointBlock& p, PointBlock& o)
{
    switch ((slot - 3) % 3) {
    case 0:
        return {p.y, p.z, p.x, o.y, o.z, o.x};
    case 1:
        return {p.x, p.z, p.y, o.x, o.z, o.y};
    default:
        return {p.x, p.y, p.z, o.x, o.y, o.z};
    }
}

void planar_block(int slot, float w, const PointBlock& p, int n, PointBlock& o)
{
    const Plane pl = plane_of(slot, p, o);
    alignas(32) float rs[kMaxBlock], ts[kMaxBlock];
    for (int i = 0; i < n; ++i) {
        const float u = pl.u[i], v = pl.v[i];
        rs[i] = std::sqrt(u * u + v * v);
        const float t = poly_atan(v / u);
        ts[i] = (u == 0.0f && v == 0.0f) ? 0.0f : t;
    }
    for (int i = 0; i < n; ++i)
        pl.dpass[i] += pl.pass[i];
    float* du = pl.du;
    float* dv = pl.dv;
    switch ((slot - 3) / 3) {
    case 0:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], a = r + ts[i];
            du[i] += r * w * poly_cos(a);
            dv[i] += r * w * poly_sin(a);
        }
        break;
    case 1:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], a = 2 * ts[i];
            du[i] += w * r * poly_sin(a);
            dv[i] += w * r * poly_cos(a);
        }
        break;
    case 2:
        for (int i = 0; i < n; ++i) {
            du[i] += w * ts[i] / kPi;
            dv[i] += w * (rs[i] - 1);
        }
        break;
    case 3:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            du[i] += r * w * poly_sin(t + r);
            dv[i] += r * w * poly_cos(t - r);
        }
        break;
    case 4:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], a = r * ts[i];
            du[i] += w * r * poly_sin(a);
            dv[i] += -w * r * poly_cos(a);
        }
        break;
    case 5:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            du[i] += w * t * poly_sin(kPi * r) / kPi;
            dv[i] += w * t * poly_cos(kPi * r) / kPi;
        }
        break;
    case 6:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            const float inv = r != 0 ? w / r : 0.0f;
            du[i] += (poly_cos(t) + poly_sin(r)) * inv;
            dv[i] += (poly_sin(t) - poly_cos(r)) * inv;
        }
        break;
    case 7:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            du[i] += r != 0 ? w * poly_sin(t) / r : 0.0f;
            dv[i] += w * r * poly_cos(t);
        }
        break;
    case 8:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            du[i] += w * poly_sin(t) * poly_cos(r);
            dv[i] += w * poly_cos(t) * poly_sin(r);
        }
        break;
    case 9:
        for (int i = 0; i < n; ++i) {
            const float r = rs[i], t = ts[i];
            const float a = poly_sin(t + r), b = poly_cos(t - r);
            du[i] += r * w * a * a * a;
            dv[i] += r * w * b * b * b;
        }
        break;
    default:
        for (int i = 0; i < n; ++i) {
            const float s = w * std::sqrt(rs[i]), t = ts[i] / 2;
            du[i] += s * poly_cos(t);
            dv[i] += s * poly_sin(t);
        }
        break;
    }
}

} // namespace

void apply_map_block(const FlameMap& map, const PointBlock& in, int n, PointBlock& out)
{
    const float* m = map.matrix;
    const float* t = map.translation;
    PointBlock p;
    int outside = 0;
    for (int i = 0; i < n; ++i) {
        p.x[i] = m[0] * in.x[i] + m[1] * in.y[i] + m[2] * in.z[i] + t[0];
        p.y[i] = m[3] * in.x[i] + m[4] * in.y[i] + m[5] * in.z[i] + t[1];
        p.z[i] = m[6] * in.x[i] + m[7] * in.y[i] + m[8] * in.z[i] + t[2];
        const float a = std::fabs(p.x[i]) + std::fabs(p.y[i]) + std::fabs(p.z[i]);
        outside |= !(a <= kLargestCoordinate); // NaN included
    }
    // Out of the polynomials' range, or not a number at all: the C library, point by point.
    if (outside) {
        for (int i = 0; i < n; ++i) {
            const float q[3] = {in.x[i], in.y[i], in.z[i]};
            float r[3];
            apply_map(map, q, r);
            out.x[i] = r[0], out.y[i] = r[1], out.z[i] = r[2];
        }
        return;
    }
    const float linear = map.linear;
    for (int i = 0; i < n; ++i) {
        out.x[i] = linear * p.x[i];
        out.y[i] = linear * p.y[i];
        out.z[i] = linear * p.z[i];
    }
    for (int32_t term = 0; term < map.termCount; ++term) {
        const int slot = map.slots[term];
        const float w = map.weights[term];
        if (slot == 1) {
            for (int i = 0; i < n; ++i) {
                out.x[i] += w * poly_sin(p.x[i]);
                out.y[i] += w * poly_sin(p.y[i]);
                out.z[i] += w * poly_sin(p.z[i]);
            }
        } else if (slot == 2) {
            for (int i = 0; i < n; ++i) {
                const float l = std::sqrt(p.x[i] * p.x[i] + p.y[i] * p.y[i] + p.z[i] * p.z[i]) + 0.0001f;
                out.x[i] += w * p.x[i] / l;
                out.y[i] += w * p.y[i] / l;
                out.z[i] += w * p.z[i] / l;
            }
        } else {
            planar_block(slot, w, p, n, out);
        }
    }
}

} // namespace emberfold
