#include "flame_morph.h"

#include "scene/math3d.h"

namespace emberfold
{

uint32_t blend_colour(uint32_t a, uint32_t b, int32_t m)
{
    if (m < 0)
        return a;
    if (m > 1000)
        return b;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t x = (a >> shift) & 0xffu, y = (b >> shift) & 0xffu;
        out |= ((x * uint32_t(1000 - m) + y * uint32_t(m)) / 1000u) << shift;
    }
    return out;
}

void unpack_pairing(const int32_t* parameters, uint8_t* pairs)
{
    for (int k = 0; k < kPairingParameters; ++k)
        for (int i = 0; i < 4; ++i)
            pairs[4 * k + i] = uint8_t(uint32_t(parameters[k]) >> (24 - 8 * i));
}

namespace
{

void blend_transform(const FlameTransform& a, const FlameTransform& b, int32_t m, FlameTransform& out)
{
    // Amounts outside 0 .. 1000 extrapolate, as far as a 32-bit amount goes: 1000 - m needs 64 bits.
    const float u = float(1000 - int64_t(m)), v = float(m);
    out = b;
    out.colour = (a.colour * u + b.colour * v) * 0.001f;
    for (int i = 0; i < 3; ++i) {
        out.scale[i] = (u * a.scale[i] + v * b.scale[i]) * 0.001f;
        out.skew[i] = (u * a.skew[i] + v * b.skew[i]) * 0.001f;
        out.translation[i] = (u * a.translation[i] + v * b.translation[i]) * 0.001f;
    }
    float qa[4], qb[4], q[4];
    mat_to_quat3(a.rotation, qa);
    unit_quat_self(qa);
    mat_to_quat3(b.rotation, qb);
    unit_quat_self(qb);
    for (int i = 0; i < 4; ++i)
        q[i] = (u * qa[i] + v * qb[i]) * 0.001f;
    unit_quat_self(q);
    quat_to_mat3(q, out.rotation);
    for (int i = 0; i < kVariationSlots; ++i)
        out.variations[i] = (u * a.variations[i] + v * b.variations[i]) * 0.001f;
}

// Inner stops only; the first and last entries are the palette's ends.
void blend_palettes(const VirtPalette& p1, const VirtPalette& p2, int32_t m, VirtPalette& out)
{
    while (out.count > 2)
        out.RemoveColor(1);
    out.ChangeColor(0, blend_colour(p1.GetColor(0.0f), p2.GetColor(0.0f), m));
    out.ChangeColor(1, blend_colour(p1.GetColor(1.0f), p2.GetColor(1.0f), m));
    // Together the two palettes may hold more stops than one palette has room for: the rest are left out.
    for (int32_t i = 1; i < p1.count - 1 && out.count < VirtPalette::kMaxColors; ++i)
        out.AddColor(p1.positions[i], blend_colour(p1.colors[i], p2.GetColor(p1.positions[i]), m));
    for (int32_t i = 1; i < p2.count - 1 && out.count < VirtPalette::kMaxColors; ++i)
        out.AddColor(p2.positions[i], blend_colour(p1.GetColor(p2.positions[i]), p2.colors[i], m));
}

} // namespace

void morph_descriptions(const FlameDescription& d1, const FlameDescription& d2, int32_t m,
                        const uint8_t* pairs, FlameDescription& out)
{
    make_default_description(out);
    const int32_t na = d1.transformCount, nb = d2.transformCount;
    out.transformCount = na > nb ? na : nb;
    for (int32_t i = 0; i < out.transformCount; ++i) {
        const int32_t pair = i < kPairingIndices ? pairs[i] : i;
        const FlameTransform* a;
        const FlameTransform* b;
        if (nb < na) {
            a = &d1.transforms[i];
            b = &d2.transforms[pair < nb - 1 ? pair : nb - 1];
        } else {
            a = &d1.transforms[pair < na - 1 ? pair : na - 1];
            b = &d2.transforms[i];
        }
        blend_transform(*a, *b, m, out.transforms[i]);
    }
    blend_palettes(d1.palette, d2.palette, m, out.palette);
    out.symmetry = 0;
    compute_probabilities(out);
}

} // namespace emberfold
