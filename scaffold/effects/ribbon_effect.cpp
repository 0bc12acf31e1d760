// ShowRibbons3D: a ribbon through the points of a swarm, hung into a 3D group every running call.
#include "effects/primitive_effects.h"

#include "common/marker_colors.h"
#include "effects/effect_messages.h"
#include "effects/primitive_placement.h"
#include "effects/ribbon3d.h"
#include "scene/axis_marker3d.h"

#include <vortel/plugin_helper.h>
#include <vortel/records.h>

namespace
{

constexpr const char* kCaller = "ShowRibbons3D";

// Kept in privateData from the first call to the last; owns the ribbon and the marker. The swarm is the
// one of the first call's text index: later calls look up that swarm whatever their swarm word says, so a
// changed word can neither release someone else's swarm nor leave a pointer to a swarm this event holds
// no reference to.
struct RibbonRecord {
    vortel::Held swarm;
    Ribbon3D* ribbon = nullptr; // null while there is nothing to draw
    AxisMarker3D marker{kMarkerColorX, kMarkerColorY, kMarkerColorZ};

    ~RibbonRecord() { delete ribbon; }
};

// Builds (or, while there is a ribbon, refills) the ribbon from the swarm now held; null when the swarm is
// gone or has no points. False, after the message, when memory for its points runs out.
bool build_ribbon(RibbonRecord& record, int32_t width, int32_t pointsPerStrip)
{
    const SwarmRecord* swarm = record.swarm.as<SwarmRecord>();
    if (swarm && record.ribbon && record.ribbon->Rebuild(*swarm, width, pointsPerStrip))
        return true;
    delete record.ribbon;
    record.ribbon = swarm ? Ribbon3D::Build(*swarm, width, pointsPerStrip) : nullptr;
    if (record.ribbon || !swarm || !Ribbon3D::HasPoints(*swarm))
        return true;
    vortel::log(msg::kRibbonNoMemory, int(swarm->count));
    return false;
}

bool fail(StateStruct* state)
{
    state->status = -1;
    return false;
}

} // namespace

VORTEL_EXPORT bool ShowRibbons3D(StateStruct* state, void** privateData, int32_t swarm, int32_t width,
                                 int32_t pointsPerStrip, int32_t x, int32_t y, int32_t z, int32_t qa,
                                 int32_t qb, int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                                 int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    state->status = 1;
    auto* record = static_cast<RibbonRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new RibbonRecord();
        *privateData = record;
        if (record->swarm.acquire(kTypeSwarm, swarm, kCaller, "swarm") &&
            !build_ribbon(*record, width, pointsPerStrip))
            return fail(state);
        return true;
    }
    if (vortel::is_last_call(state)) {
        delete record;
        *privateData = nullptr;
        return true;
    }
    if (!record || !record->swarm.get())
        return true;
    // A static swarm keeps its points, so only its colours are copied again. A static swarm that had no
    // points keeps having none; any other swarm may have moved and the ribbon is rebuilt, in place while
    // there is one, so that a swarm made anew each frame costs no allocation.
    const bool isStatic = record->swarm.is_static();
    const bool colorsRefreshed =
        isStatic && record->ribbon && record->ribbon->RefreshColors(*record->swarm.as<SwarmRecord>());
    if (!colorsRefreshed && (!isStatic || record->ribbon)) {
        state->status = 2;
        record->swarm.look_again(kCaller);
        if (!build_ribbon(*record, width, pointsPerStrip))
            return fail(state);
    }
    if (!record->ribbon)
        return true;
    // Without memory for per-point colours the ribbon would show the uniform colour instead.
    const SwarmRecord* shown = record->swarm.as<SwarmRecord>();
    if (shown && shown->colors && !record->ribbon->HasColors()) {
        vortel::log(msg::kRibbonColorsNoMemory, int(shown->count));
        return fail(state);
    }
    // Only the quaternion's direction counts, so its unit (x 0.0001 here) does not matter.
    hang_primitive(*record->ribbon, &record->marker, {blendSrc, blendDst, true, opacity},
                   {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, kCaller);
    return true;
}
