#include "effects/group_effects.h"

#include "common/fixed_point.h"
#include "effects/group_maker.h"
#include "scene/kaleido_group_node3d.h"
#include "scene/symmetry_group_node3d.h"

VORTEL_EXPORT bool Make3DGroup(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                               int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale,
                               int32_t parent, int32_t showMarker)
{
    GroupNode3D* group;
    return make_group(state, privateData, name, {x, y, z, qa, qb, qc, qd, scale}, parent, showMarker,
                      GroupKind::Plain, &group);
}

VORTEL_EXPORT bool Make3DKaleido(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                                 int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale,
                                 int32_t parent, int32_t showMarker, int32_t copies, int32_t stepOffset,
                                 int32_t sx, int32_t sy, int32_t sz, int32_t sqa, int32_t sqb, int32_t sqc,
                                 int32_t sqd, int32_t sscale)
{
    GroupNode3D* group;
    if (!make_group(state, privateData, name, {x, y, z, qa, qb, qc, qd, scale}, parent, showMarker,
                    GroupKind::Kaleido, &group))
        return false;
    if (auto* kaleido = static_cast<KaleidoGroupNode3D*>(group)) {
        kaleido->copies = copies;
        kaleido->stepOffset = stepOffset;
        fixed_position(sx, sy, sz, kaleido->stepPosition);
        fixed_rotation_scale(sqa, sqb, sqc, sqd, sscale, kaleido->stepMatrix);
    }
    return true;
}

VORTEL_EXPORT bool MakeSymmetryGroup(StateStruct* state, void** privateData, int32_t name, int32_t x,
                                     int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd,
                                     int32_t scale, int32_t parent, int32_t showMarker, int32_t axis,
                                     int32_t angle)
{
    GroupNode3D* group;
    if (!make_group(state, privateData, name, {x, y, z, qa, qb, qc, qd, scale}, parent, showMarker,
                    GroupKind::Symmetry, &group))
        return false;
    if (auto* symmetry = static_cast<SymmetryGroupNode3D*>(group)) {
        symmetry->axis = axis;
        symmetry->angle = float(angle) * kAngleUnit;
    }
    return true;
}
