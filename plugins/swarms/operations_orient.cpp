// In-place orientation of a swarm another event owns: random rotations, random scales, facing a group.
#include <scene/math3d.h>
#include <scene/node3d.h>

#include "effect_frame.h"
#include "swarm_effects.h"

using namespace swarms;

namespace
{

constexpr float kPi = 3.1415927f;

struct OrientBlock {
    int32_t seed = 0;
    bool built = false;
};
struct ResizeBlock {
    int32_t seed = 0, minimum = 0, maximum = 0;
    bool built = false;
};

// Three turns about x, y and z of rand() mod 60000 milliradians each.
void random_rotation(float* m)
{
    float turn[9];
    make_rotx_mat(m, float((gRand.rand() % 60000) * 0.001));
    make_roty_mat(turn, float((gRand.rand() % 60000) * 0.001));
    mul_mat_self_mat(turn, m);
    make_rotz_mat(turn, float((gRand.rand() % 60000) * 0.001));
    mul_mat_self_mat(turn, m);
}

// The matrix that turns a point at p towards the target g.
void facing_matrix(const float* g, const float* p, float* out)
{
    float v[3], r, alpha, beta, turn[9];
    sub_vectors(g, p, v);
    cart_to_polar(v[0], v[2], r, alpha);
    make_roty_mat(out, alpha + kPi / 2);
    make_roty_mat(turn, -alpha - kPi / 2);
    mul_mat_vec_self(turn, v);
    cart_to_polar(v[1], v[2], r, beta);
    make_rotx_mat(turn, beta + kPi / 2);
    mul_mat_self_mat(turn, out);
}

} // namespace

VORTEL_EXPORT bool OrientSwarmRandom(StateStruct* state, void** privateData, int32_t swarm, int32_t seed)
{
    auto* b = enter_inplace_effect<OrientBlock>(state, privateData);
    if (!b)
        return kDone;
    vortel::Held source = held_swarm(swarm, "OrientSwarmRandom");
    SwarmRecord* s = source.as<SwarmRecord>();
    if (!s)
        return kDone;
    if (b->built && source.is_static() && seed == b->seed)
        return kDone;
    state->status = 2;
    b->seed = seed;
    b->built = true;
    gRand.srand(uint32_t(seed));
    if (!ensure_orientations(s, "OrientSwarmRandom")) {
        state->status = -1;
        return kDone;
    }
    for (int32_t i = 0; i < s->count; ++i)
        random_rotation(s->orientations + 9 * i);
    return kDone;
}

VORTEL_EXPORT bool ResizeSwarmRandom(StateStruct* state, void** privateData, int32_t swarm, int32_t minimum,
                                     int32_t maximum, int32_t absolute, int32_t seed)
{
    auto* b = enter_inplace_effect<ResizeBlock>(state, privateData);
    if (!b)
        return kDone;
    vortel::Held source = held_swarm(swarm, "OrientSwarmRandom");
    SwarmRecord* s = source.as<SwarmRecord>();
    if (!s)
        return kDone;
    if (absolute == 0 && b->built && source.is_static() && seed == b->seed && minimum == b->minimum &&
        maximum == b->maximum)
        return kDone;
    state->status = 2;
    b->seed = seed;
    b->minimum = minimum;
    b->maximum = maximum;
    b->built = true;
    gRand.srand(uint32_t(seed));
    const bool fresh = !s->orientations;
    if (!ensure_orientations(s, "ResizeSwarmRandom")) {
        state->status = -1;
        return kDone;
    }
    if (fresh)
        fill_identity(s->orientations, s->count);
    // The range product in 64 bits: wide scale ranges would overflow 32.
    const int64_t range = int64_t(maximum) - minimum;
    for (int32_t i = 0; i < s->count; ++i) {
        const int64_t r = gRand.rand() % 10000;
        const float k = (float(r * range) * 0.00010001f + float(minimum)) * 0.00001f;
        float scale[9];
        make_scale_mat(scale, k, k, k);
        float* m = s->orientations + 9 * i;
        if (absolute != 0)
            copy_mat(scale, m);
        else
            mul_mat_self_mat(scale, m);
    }
    return kDone;
}

VORTEL_EXPORT bool OrientSwarmOnGroup(StateStruct* state, void**, int32_t swarm, int32_t group)
{
    state->status = 1;
    if (vortel::is_last_call(state))
        return kDone;
    vortel::Held source = held_swarm(swarm, "OrientSwarmRandom");
    vortel::Held target(kType3DGroup, group, "OrientSwarmOnGroup", "3D group");
    SwarmRecord* s = source.as<SwarmRecord>();
    // Every '3DWR' resource is a scene node; only its local translation is read.
    const Node3D* node = static_cast<const Node3D*>(target.get());
    if (!s || !node || (source.is_static() && target.is_static())) {
        source.release();
        return kDone;
    }
    state->status = 2;
    if (ensure_orientations(s, "OrientSwarmOnGroup"))
        for (int32_t i = 0; i < s->count; ++i)
            facing_matrix(node->position, s->positions + 3 * i, s->orientations + 9 * i);
    else
        state->status = -1;
    source.release();
    return kDone;
}
