// Operations that make a new swarm from one or two others: concatenation, rigid move, split, morph.
#include <algorithm>
#include <cstring>
#include <scene/math3d.h>

#include "effect_frame.h"
#include "swarm_effects.h"

using namespace swarms;

namespace
{

struct AddBlock : OutputBlock {
    int32_t na = 0, nb = 0;
    bool warned = false;
};
struct MoveBlock : OutputBlock {
    int32_t words[8] = {};
    bool warned = false;
};
struct SplitBlock : OutputBlock {
    int32_t k = -1;
    bool warned = false;
};
struct MorphBlock : OutputBlock {
    int32_t na = 0, nb = 0, position = 0, spread = 0;
    bool warned = false;
};

bool same_uniform_color(const SwarmRecord* a, const SwarmRecord* b)
{
    return a->alpha == b->alpha && a->red == b->red && a->green == b->green && a->blue == b->blue;
}

void copy_uniform_color(const SwarmRecord* from, SwarmRecord* to)
{
    set_uniform_color(to, from->alpha, from->red, from->green, from->blue);
}

// Points first .. first + count - 1 of `source` into points at..at + count - 1 of `r`: colours (the
// source's own or its uniform bytes) when r has colours, orientations (the source's own or identities)
// when r has orientations.
void copy_points(const SwarmRecord* source, int32_t first, int32_t count, SwarmRecord* r, int32_t at)
{
    if (count <= 0)
        return;
    std::memcpy(r->positions + 3 * at, source->positions + 3 * first, sizeof(float) * 3 * count);
    if (r->colors) {
        if (source->colors)
            std::memcpy(r->colors + 4 * at, source->colors + 4 * first, 4 * size_t(count));
        else
            fill_color(r->colors + 4 * at, count, &source->alpha);
    }
    if (r->orientations) {
        if (source->orientations)
            std::memcpy(r->orientations + 9 * at, source->orientations + 9 * first,
                        sizeof(float) * 9 * count);
        else
            fill_identity(r->orientations + 9 * at, count);
    }
}

// Gives an output `count` points and the per-point arrays wanted (frees those not wanted). False, with the
// output left empty and the shortage logged in effect's name, when memory is short.
bool shape_output(SwarmRecord* r, int32_t count, bool colors, bool orientations, const char* effect)
{
    if (!colors)
        drop_colors(r);
    if (!orientations)
        drop_orientations(r);
    if (set_point_count(r, count, effect) && (!colors || ensure_colors(r, effect)) &&
        (!orientations || ensure_orientations(r, effect)))
        return true;
    set_point_count(r, 0, effect);
    return false;
}

// One split output: points first .. first + count - 1 of the source, with its per-point arrays. False
// when memory is short.
bool build_part(const SwarmRecord* source, int32_t first, int32_t count, SwarmRecord* r)
{
    if (!shape_output(r, count, source->colors, source->orientations, "SplitSwarms"))
        return false;
    if (!source->colors)
        copy_uniform_color(source, r);
    copy_points(source, first, count, r, 0);
    return true;
}

uint8_t lerp_byte(double t, uint8_t b1, uint8_t b2)
{
    return uint8_t(int32_t(t * (b2 - b1) + b1));
}

double clamp01(double t)
{
    return std::min(1.0, std::max(0.0, t));
}

void morph_points(const SwarmRecord* a, const SwarmRecord* b, int32_t position, int32_t spread,
                  SwarmRecord* r)
{
    static const float kHalfTurnZ[4] = {0, 0, 1, 0};
    for (int32_t i = 0; i < r->count; ++i) {
        const double t = clamp01(double(int64_t(position) + int64_t(i) * spread) * 0.001);
        const float* p1 = a->positions + 3 * i;
        const float* p2 = b->positions + 3 * i;
        for (int c = 0; c < 3; ++c)
            r->positions[3 * i + c] = float(p1[c] + t * (p2[c] - p1[c]));
        if (r->colors) {
            const uint8_t* c1 = point_color(a, i);
            const uint8_t* c2 = point_color(b, i);
            for (int c = 0; c < 4; ++c)
                r->colors[4 * i + c] = lerp_byte(t, c1[c], c2[c]);
        }
        if (r->orientations) {
            // A side without orientations contributes a half turn about z, not the identity.
            float q1[4], q2[4], q[4];
            if (a->orientations)
                mat_to_quat3(a->orientations + 9 * i, q1);
            else
                std::copy(kHalfTurnZ, kHalfTurnZ + 4, q1);
            if (b->orientations)
                mat_to_quat3(b->orientations + 9 * i, q2);
            else
                std::copy(kHalfTurnZ, kHalfTurnZ + 4, q2);
            slerp(q1, q2, float(t), q);
            quat_to_mat3(q, r->orientations + 9 * i);
        }
    }
}

} // namespace

VORTEL_EXPORT bool AddSwarms(StateStruct* state, void** privateData, int32_t output, int32_t first,
                             int32_t second)
{
    bool result;
    auto* b = enter_output_effect<AddBlock>(state, privateData, &output, 1, "AddSwarms", &result);
    if (!b)
        return result;
    vortel::Held sa = held_swarm(first, "AddSwarms");
    vortel::Held sb = held_swarm(second, "AddSwarms");
    const SwarmRecord* a = sa.as<SwarmRecord>();
    const SwarmRecord* c = sb.as<SwarmRecord>();
    if (!a || !c)
        return kDone;
    if (source_is_output(b, a, "AddSwarms", &b->warned) || source_is_output(b, c, "AddSwarms", &b->warned)) {
        state->status = -1;
        return kDone;
    }
    if (b->built && sa.is_static() && sb.is_static() && a->count == b->na && c->count == b->nb)
        return kDone;
    state->status = 2;
    SwarmRecord* r = b->out[0].record;
    b->na = a->count;
    b->nb = c->count;
    b->built = true;
    const int64_t total = int64_t(a->count) + c->count;
    if (total > kMaxSwarmPoints) {
        if (!b->warned)
            vortel::log("AddSwarms: %lld points are more than one swarm holds; the swarm is left empty\n",
                        static_cast<long long>(total));
        b->warned = true;
        set_point_count(r, 0, "AddSwarms");
        return kDone;
    }
    const bool colors = a->colors || c->colors || !same_uniform_color(a, c);
    if (!shape_output(r, int32_t(total), colors, a->orientations || c->orientations, "AddSwarms")) {
        state->status = -1;
        return kDone;
    }
    if (!colors)
        copy_uniform_color(a, r);
    copy_points(a, 0, a->count, r, 0);
    copy_points(c, 0, c->count, r, a->count);
    return kDone;
}

VORTEL_EXPORT bool MoveSwarm(StateStruct* state, void** privateData, int32_t output, int32_t source, int32_t,
                             int32_t tx, int32_t ty, int32_t tz, int32_t qx, int32_t qy, int32_t qz,
                             int32_t qw, int32_t scale)
{
    bool result;
    auto* b = enter_output_effect<MoveBlock>(state, privateData, &output, 1, "MoveSwarm", &result);
    if (!b)
        return result;
    vortel::Held ss = held_swarm(source, "MoveSwarm");
    const SwarmRecord* s = ss.as<SwarmRecord>();
    if (!s)
        return kDone;
    if (source_is_output(b, s, "MoveSwarm", &b->warned)) {
        state->status = -1;
        return kDone;
    }
    const int32_t words[8] = {tx, ty, tz, qx, qy, qz, qw, scale};
    if (b->built && ss.is_static() && std::equal(words, words + 8, b->words))
        return kDone;
    state->status = 2;
    std::copy(words, words + 8, b->words);
    b->built = true;
    SwarmRecord* r = b->out[0].record;
    if (!shape_output(r, s->count, s->colors, s->orientations, "MoveSwarm")) {
        state->status = -1;
        return kDone;
    }
    const float t[3] = {tx * 0.001f, ty * 0.001f, tz * 0.001f};
    float q[4] = {qx * 0.0001f, qy * 0.0001f, qz * 0.0001f, qw * 0.0001f};
    unit_quat_self(q);
    float m[9], sm[9];
    quat_to_mat3(q, m);
    const float k = scale * 0.00001f;
    make_scale_mat(sm, k, k, k);
    mul_mat_mat_self(sm, m);
    for (int32_t i = 0; i < s->count; ++i) {
        float* out = r->positions + 3 * i;
        mul_mat_vec(s->positions + 3 * i, m, out);
        add_vectors_self(t, out);
    }
    if (s->colors && s->count > 0)
        std::memcpy(r->colors, s->colors, 4 * size_t(s->count));
    else
        copy_uniform_color(s, r);
    // Each point's own rotation and scale turn with the swarm.
    for (int32_t i = 0; r->orientations && i < s->count; ++i) {
        copy_mat(s->orientations + 9 * i, r->orientations + 9 * i);
        mul_mat_mat_self(m, r->orientations + 9 * i);
    }
    return kDone;
}

VORTEL_EXPORT bool SplitSwarm(StateStruct* state, void** privateData, int32_t firstOutput,
                              int32_t secondOutput, int32_t source, int32_t k)
{
    bool result;
    const int32_t names[2] = {firstOutput, secondOutput};
    auto* b = enter_output_effect<SplitBlock>(state, privateData, names, 2, "SplitSwarms", &result, true);
    if (!b)
        return result;
    vortel::Held ss = held_swarm(source, "SplitSwarms");
    const SwarmRecord* s = ss.as<SwarmRecord>();
    if (!s)
        return kDone;
    if (source_is_output(b, s, "SplitSwarms", &b->warned)) {
        state->status = -1;
        return kDone;
    }
    state->status = 2;
    const int32_t split = std::min(std::max(k, 0), s->count);
    const bool firstBuilt = build_part(s, 0, split, b->out[0].record);
    if (!build_part(s, split, s->count - split, b->out[1].record) || !firstBuilt)
        state->status = -1;
    b->k = split;
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MorphSwarms(StateStruct* state, void** privateData, int32_t output, int32_t first,
                               int32_t second, int32_t position, int32_t spread)
{
    bool result;
    auto* b = enter_output_effect<MorphBlock>(state, privateData, &output, 1, "MorphSwarms", &result);
    if (!b)
        return result;
    vortel::Held sa = held_swarm(first, "MorphSwarms");
    vortel::Held sb = held_swarm(second, "MorphSwarms");
    const SwarmRecord* a = sa.as<SwarmRecord>();
    const SwarmRecord* c = sb.as<SwarmRecord>();
    if (!a || !c)
        return kDone;
    if (source_is_output(b, a, "MorphSwarms", &b->warned) ||
        source_is_output(b, c, "MorphSwarms", &b->warned)) {
        state->status = -1;
        return kDone;
    }
    if (b->built && sa.is_static() && sb.is_static() && a->count == b->na && c->count == b->nb &&
        position == b->position && spread == b->spread)
        return kDone;
    state->status = 2;
    b->na = a->count;
    b->nb = c->count;
    b->position = position;
    b->spread = spread;
    b->built = true;
    SwarmRecord* r = b->out[0].record;
    const bool colors = a->colors || c->colors || (spread != 0 && !same_uniform_color(a, c));
    if (!shape_output(r, std::min(a->count, c->count), colors, a->orientations || c->orientations,
                      "MorphSwarms")) {
        state->status = -1;
        return kDone;
    }
    if (!colors) {
        const double t0 = clamp01(position * 0.001);
        set_uniform_color(r, lerp_byte(t0, a->alpha, c->alpha), lerp_byte(t0, a->red, c->red),
                          lerp_byte(t0, a->green, c->green), lerp_byte(t0, a->blue, c->blue));
    }
    morph_points(a, c, position, spread, r);
    return kDone;
}
