// [SECTION] Initial values and the default description
// [SECTION] Probabilities: volumes, brightness steps, select table
#include "flame_description.h"

#include "flame_map.h"
#include "scene/math3d.h"

#include <cmath>

namespace emberfold
{

//-----------------------------------------------------------------------------
// [SECTION] Initial values and the default description
//-----------------------------------------------------------------------------

void init_transform(FlameTransform& t)
{
    for (int i = 0; i < 3; ++i) {
        t.scale[i] = 0.5f;
        t.skew[i] = 0.0f;
        t.translation[i] = 0.0f;
    }
    make_normal_mat(t.rotation);
    make_normal_mat(t.matrix);
    t.colour = 0.0f;
    t.weight = 1.0f;
    for (float& v : t.variations)
        v = 0.0f;
    t.variations[0] = 1.0f;
    for (int c = 0; c < kChannels; ++c) {
        t.channelWave[c] = 1;
        t.channelPeriod[c] = 10000;
        t.channelLow[c] = 0.0;
        t.channelHigh[c] = 0.0;
    }
    make_normal_mat(t.baseRotation);
}

void make_static_channels(FlameTransform& t)
{
    for (int c = 0; c < kChannels; ++c)
        t.channelWave[c] = 1;
    for (int i = 0; i < 3; ++i) {
        t.channelLow[kChannelScale + i] = t.channelHigh[kChannelScale + i] = t.scale[i];
        t.channelLow[kChannelSkew + i] = t.channelHigh[kChannelSkew + i] = t.skew[i];
        t.channelLow[kChannelTranslation + i] = t.channelHigh[kChannelTranslation + i] = t.translation[i];
        // Only the high value of a rotation channel turns anything; the low one is cleared.
        t.channelLow[kChannelRotation + i] = 0.0;
    }
    for (int i = 0; i < 9; ++i)
        t.baseRotation[i] = t.rotation[i];
}

void make_default_description(FlameDescription& d)
{
    for (FlameTransform& t : d.transforms)
        init_transform(t);
    d.transformCount = 3;
    for (int k = 0; k < 3; ++k) {
        FlameTransform& t = d.transforms[k];
        float turn[9];
        make_rotz_mat(turn, float(k) * 2.0f * 3.14159265358979f / 3.0f);
        const float corner[3] = {1, 1, 0};
        mul_mat_vec(corner, turn, t.translation);
        t.colour = float(k) / 2.0f;
        make_static_channels(t);
    }
    d.symmetry = 0;
    d.palette = VirtPalette();
    d.palette.ChangeColor(0, 0xff0000ffu);
    d.palette.ChangeColor(d.palette.count - 1, 0xff00ff00u);
    d.palette.AddColor(0.5f, 0xffff0000u);
    compute_probabilities(d);
}

int32_t symmetry_count(const FlameDescription& d)
{
    const int64_t s = d.symmetry;
    int64_t c = s < 0 ? -s : (s <= 1 ? 0 : s - 1);
    if (c > d.transformCount - 1)
        c = d.transformCount - 1;
    return c < 0 ? 0 : int32_t(c);
}

//-----------------------------------------------------------------------------
// [SECTION] Probabilities: volumes, brightness steps, select table
//-----------------------------------------------------------------------------

void compute_matrix(FlameTransform& t)
{
    float k[9];
    make_scale_mat(t.matrix, t.scale[0], t.scale[1], t.scale[2]);
    make_skewx_mat(k, t.skew[0]);
    mul_mat_mat_self(k, t.matrix);
    make_skewy_mat(k, t.skew[1]);
    mul_mat_mat_self(k, t.matrix);
    make_skewz_mat(k, t.skew[2]);
    mul_mat_mat_self(k, t.matrix);
    mul_mat_mat_self(t.rotation, t.matrix);
}

namespace
{

constexpr float kMinimumWeight = 0.0005f;
// Keeps the sums finite whatever a file or an extrapolating morph puts into a transform.
constexpr float kMaximumWeight = 1e30f;

// How much a small cube around each of 125 sample points is stretched by the map, summed.
float volume(const FlameTransform& t)
{
    static const float kCoords[5] = {-0.5f, -0.3f, -0.1f, 0.1f, 0.3f};
    FlameMap map;
    prepare_map(t, map);
    float sum = 0.0f;
    for (float x0 : kCoords)
        for (float y0 : kCoords)
            for (float z0 : kCoords) {
                const float corner[4][3] = {
                    {x0, y0, z0}, {x0 + 0.1f, y0, z0}, {x0, y0 + 0.1f, z0}, {x0, y0, z0 + 0.1f}};
                float q[4][3];
                for (int i = 0; i < 4; ++i)
                    apply_map_for_volume(map, corner[i], q[i]);
                float d1[3], d2[3], d3[3], c[3];
                sub_vectors(q[3], q[0], d1);
                sub_vectors(q[3], q[1], d2);
                sub_vectors(q[3], q[2], d3);
                cross_product(d2, d3, c);
                sum += std::fabs(dot_product(d1, c)) / 6.0f;
            }
    return sum;
}

float probability_weight(const FlameTransform& t)
{
    const float w = volume(t) * t.weight;
    if (!(w >= kMinimumWeight)) // NaN included
        return kMinimumWeight;
    return w > kMaximumWeight ? kMaximumWeight : w;
}

} // namespace

void compute_probabilities(FlameDescription& d)
{
    const int32_t n = d.transformCount;
    const int32_t c = symmetry_count(d);
    const int32_t ordinary = n - c;
    float w[kMaxTransforms];
    float total = 0.0f;
    for (int32_t j = 0; j < n; ++j)
        compute_matrix(d.transforms[j]);
    for (int32_t j = 0; j < ordinary; ++j) {
        w[j] = probability_weight(d.transforms[j]);
        total += w[j];
    }
    for (int32_t j = 0; j < n; ++j)
        d.brightnessStep[j] = j < ordinary ? float(std::log((1.0 / n) / (double(w[j]) / total))) : 0.0f;

    const double k = double(kSelectMax) / ((c + 1) * double(total));
    double s = 0.0;
    for (int32_t j = 0; j < n; ++j) {
        s += j < ordinary ? w[j] : total;
        const double threshold = k * s;
        d.selectTable[j] = threshold >= kSelectMax ? kSelectMax : int32_t(threshold);
    }
    d.selectTable[n - 1] = kSelectMax;
}

bool any_animated(const FlameDescription& d)
{
    for (int32_t j = 0; j < d.transformCount; ++j)
        if (is_animated(d.transforms[j]))
            return true;
    return false;
}

} // namespace emberfold
