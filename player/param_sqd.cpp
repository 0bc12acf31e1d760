// Quaternion keys ("sqd"): four multi parameters, one per component, interpolated on the unit sphere.
#include <array>
#include <cmath>

#include "param_kinds.h"

namespace param_detail
{

namespace
{

constexpr double kQuaternionScale = 100000.0;

using Quaternion = std::array<double, 4>;

double dot(const Quaternion& a, const Quaternion& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

Quaternion scaled(const Quaternion& q, double factor)
{
    return {q[0] * factor, q[1] * factor, q[2] * factor, q[3] * factor};
}

Quaternion normalized(const Quaternion& q)
{
    const double length = std::sqrt(dot(q, q));
    return length == 0 ? q : scaled(q, 1 / length);
}

// No sign flip towards the shorter arc: keys are expected on one side of the sphere.
Quaternion slerp(const Quaternion& a, const Quaternion& b, double s)
{
    const double d = dot(a, b);
    if (std::abs(d) >= 1)
        return a;
    const double theta = std::acos(d);
    const double k = std::sqrt(1 - d * d);
    Quaternion result;
    for (int c = 0; c < 4; ++c)
        result[c] = std::abs(k) >= 0.001
                        ? std::sin((1 - s) * theta) / k * a[c] + std::sin(s * theta) / k * b[c]
                        : (a[c] + b[c]) / 2;
    return result;
}

// The tangent factor of a key between two neighbours. Keys facing away from a neighbour have no
// logarithm; the factor then leaves the key as it is.
double tangent_factor(const Quaternion& key, const Quaternion& before, const Quaternion& after)
{
    const double factor = std::exp(-(std::log(dot(key, before)) + std::log(dot(key, after))) / 4);
    return std::isfinite(factor) ? factor : 1.0;
}

void check_components(ParamRun run)
{
    bool ok = run.count >= 4;
    for (size_t c = 1; ok && c < 4; ++c)
        ok =
            run.params[c].kind == kParamMulti && run.params[c].lengths.size() == run.params[0].lengths.size();
    if (!ok)
        throw BasicException("Corrupt sqd-function! It needs three multi parameters with as many segments "
                             "after it.\n");
}

} // namespace

int evaluate_sqd(ParamRun run, uint32_t t, uint32_t eventStart, int32_t* out)
{
    check_components(run);
    const Param& first = run.params[0];
    const size_t n = first.lengths.size();
    const SegmentPosition at = find_segment(first, t, eventStart);
    if (at.pastEnd) {
        for (int c = 0; c < 4; ++c)
            out[c] = run.params[c].keys[n];
        return 4;
    }
    const size_t i = at.index;
    auto key = [&](size_t k) {
        Quaternion q;
        for (int c = 0; c < 4; ++c)
            q[c] = run.params[c].keys[k] / kQuaternionScale;
        return q;
    };
    Quaternion qi = key(i), qn = key(i + 1);
    const Quaternion qp = i == 0 ? qi : key(i - 1);
    const Quaternion qnn = i + 2 < n ? key(i + 2) : qn;
    Quaternion a = scaled(qi, tangent_factor(qi, qp, qn));
    Quaternion b = scaled(qn, tangent_factor(qn, qnn, qi));
    qi = normalized(qi);
    qn = normalized(qn);
    a = normalized(a);
    b = normalized(b);
    const double s = at.elapsed / first.lengths[i];
    const Quaternion result = slerp(slerp(qi, qn, s), slerp(a, b, s), 2 * s * (1 - s));
    for (int c = 0; c < 4; ++c)
        out[c] = to_word(result[c] * kQuaternionScale);
    return 4;
}

} // namespace param_detail
