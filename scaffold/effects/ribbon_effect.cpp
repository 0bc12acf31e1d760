// ShowRibbons3D: a ribbon through the points of a swarm, hung into a 3D group every running call.
#include "effects/primitive_effects.h"

#include "effects/primitive_placement.h"
#include "effects/ribbon3d.h"
#include "effects/scene_state.h"
#include "scene/axis_marker3d.h"

#include <new>
#include <vortel/records.h>

namespace
{

constexpr const char* kCaller = "ShowRibbons3D";

// Kept in privateData from the first call to the last; owns the ribbon and the marker.
struct RibbonRecord {
    bool staticSwarm;   // written by the acquire
    SwarmRecord* swarm; // null when the swarm was not found
    Ribbon3D* ribbon;   // null while there is nothing to draw
    AxisMarker3D* marker;
    // The text index of the first call: later calls look up and give back that swarm whatever their
    // swarm word says, so a changed word can neither release someone else's swarm nor leave a pointer
    // to a swarm this event holds no reference to.
    int32_t swarmIndex;
    bool holding; // the first call's acquisition is still to be released
};

SwarmRecord* acquire_swarm(int32_t swarm, bool* staticFlag)
{
    return static_cast<SwarmRecord*>(
        gServices.AcquireByIndex(kTypeSwarm, swarm, nullptr, false, kCaller, "swarm", staticFlag));
}

void first_call(StateStruct* state, void** privateData, int32_t swarm, int32_t width, int32_t pointsPerStrip)
{
    state->status = 2;
    auto* record = new (std::nothrow) RibbonRecord{false, nullptr, nullptr, nullptr, swarm, false};
    *privateData = record;
    if (!record)
        return;
    record->swarm = acquire_swarm(swarm, &record->staticSwarm);
    record->holding = record->swarm != nullptr;
    if (record->swarm)
        record->ribbon = Ribbon3D::Build(*record->swarm, width, pointsPerStrip);
    record->marker = new (std::nothrow) AxisMarker3D(kMarkerColorX, kMarkerColorY, kMarkerColorZ);
}

void last_call(void** privateData)
{
    auto* record = static_cast<RibbonRecord*>(*privateData);
    if (record) {
        // Only our own acquisition may be released: a swarm we never found belongs to its producer alone.
        if (record->holding)
            gServices.ReleaseByIndex(kTypeSwarm, record->swarmIndex, nullptr);
        delete record->ribbon;
        delete record->marker;
        delete record;
    }
    *privateData = nullptr;
}

} // namespace

VORTEL_EXPORT bool ShowRibbons3D(StateStruct* state, void** privateData, int32_t swarm, int32_t width,
                                 int32_t pointsPerStrip, int32_t x, int32_t y, int32_t z, int32_t qa,
                                 int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                                 int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    state->status = 1;
    if (state->phase == 0) {
        first_call(state, privateData, swarm, width, pointsPerStrip);
        return true;
    }
    if (state->phase < 0) {
        last_call(privateData);
        return true;
    }
    auto* record = static_cast<RibbonRecord*>(*privateData);
    if (!record || !record->swarm)
        return true;
    // A static swarm keeps its points, so only its colours are copied again. A static swarm that had no
    // points keeps having none; any other swarm may have moved and the ribbon is rebuilt, in place while
    // there is one, so that a swarm made anew each frame costs no allocation.
    const bool refresh =
        record->staticSwarm && record->ribbon && record->ribbon->RefreshColors(*record->swarm);
    if (!refresh && (!record->staticSwarm || record->ribbon)) {
        state->status = 2;
        record->swarm = acquire_swarm(record->swarmIndex, &record->staticSwarm);
        if (record->swarm)
            gServices.ReleaseByIndex(kTypeSwarm, record->swarmIndex, nullptr);
        const bool rebuilt =
            record->swarm && record->ribbon && record->ribbon->Rebuild(*record->swarm, width, pointsPerStrip);
        if (!rebuilt) {
            delete record->ribbon;
            record->ribbon = record->swarm ? Ribbon3D::Build(*record->swarm, width, pointsPerStrip) : nullptr;
        }
    }
    if (!record->ribbon)
        return true;
    // Only the quaternion's direction counts, so its unit (x 0.0001 here) does not matter.
    hang_primitive(*record->ribbon, record->marker, {blendSrc, blendDst, true, opacity},
                   {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, kCaller);
    return true;
}
