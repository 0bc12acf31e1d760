#include "effects/group_effects.h"

#include "common/fixed_point.h"
#include "effects/effect_messages.h"
#include "effects/group_maker.h"
#include "scene/math3d.h"
#include "scene/swarm_group_node3d.h"

#include <algorithm>
#include <climits>
#include <new>
#include <vortel/plugin_helper.h>

namespace
{

// Argument words read through GetParam for the per-point extra transforms.
constexpr int32_t kOffsetWord = 15;     // 15..17: offset x, y, z
constexpr int32_t kQuaternionWord = 18; // 18..21: quaternion
constexpr int32_t kScaleWord = 22;

int32_t clamp_time(int64_t t)
{
    return int32_t(std::clamp<int64_t>(t, INT32_MIN, INT32_MAX));
}

// Entries needed so that every point of the swarm the group can draw gets one: entry j belongs to point
// first + j, and points at or past the swarm's count are never drawn.
int32_t extra_entries(int32_t count, int32_t first, int32_t swarmCount)
{
    const int64_t drawable = int64_t(swarmCount) - first;
    return int32_t(std::max<int64_t>(0, std::min<int64_t>(count, drawable)));
}

// False, after the message, when memory for the transforms runs out; the group keeps those it had.
bool set_extra_transforms(const StateStruct& state, SwarmGroupNode3D& group, int32_t count, int32_t timeStep)
{
    const int32_t entries = extra_entries(count, group.firstPoint, group.swarm->count);
    float* matrices = entries > 0 ? new (std::nothrow) float[size_t(entries) * 9] : nullptr;
    float* offsets = entries > 0 ? new (std::nothrow) float[size_t(entries) * 3] : nullptr;
    if (entries > 0 && (!matrices || !offsets)) {
        delete[] matrices;
        delete[] offsets;
        vortel::log(msg::kSwarmGroupNoMemory, int(entries));
        return false;
    }
    for (int32_t j = 0; j < entries; ++j) {
        const int64_t step = int64_t(j) * timeStep;
        const int32_t t = clamp_time(int64_t(state.startTime) + state.localTime + step);
        const int32_t scaleTime = clamp_time(int64_t(state.startTime) + step);
        fixed_position(state.GetParam(t, kOffsetWord), state.GetParam(t, kOffsetWord + 1),
                       state.GetParam(t, kOffsetWord + 2), offsets + 3 * j);
        fixed_rotation_scale(state.GetParam(t, kQuaternionWord), state.GetParam(t, kQuaternionWord + 1),
                             state.GetParam(t, kQuaternionWord + 2), state.GetParam(t, kQuaternionWord + 3),
                             state.GetParam(scaleTime, kScaleWord), matrices + 9 * j);
    }
    // The group takes the entry count from pointCount at the moment of the hand-over.
    group.pointCount = entries;
    group.SetExtraTransforms(matrices, offsets);
    group.pointCount = count;
    return true;
}

} // namespace

VORTEL_EXPORT bool MakeSwarmGroup(StateStruct* state, void** privateData, int32_t name, int32_t swarm,
                                  int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                                  int32_t qd, int32_t scale, int32_t parent, int32_t showMarker,
                                  int32_t count, int32_t first, int32_t timeStep)
{
    GroupNode3D* group;
    if (!make_group(state, privateData, name, {x, y, z, qa, qb, qc, qd, scale}, parent, showMarker,
                    GroupKind::Swarm, &group))
        return false;
    if (!group)
        return true;
    auto* swarmGroup = static_cast<SwarmGroupNode3D*>(group);
    const vortel::Held held(kTypeSwarm, swarm, "MakeSwarmGroup", "swarm");
    auto* record = held.as<SwarmRecord>();
    if (!record) {
        swarmGroup->swarm =
            nullptr; // the swarm it followed may be gone: draw nothing rather than stale points
        state->status = -1;
        return false;
    }
    swarmGroup->swarm = record;
    swarmGroup->pointCount = count;
    swarmGroup->firstPoint = first;
    if (timeStep != 0 && state->GetParam && !set_extra_transforms(*state, *swarmGroup, count, timeStep)) {
        state->status = -1;
        return false;
    }
    return true;
}
