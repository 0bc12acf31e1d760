#include "effects/camera_light_effects.h"

#include "common/fixed_point.h"
#include "common/marker_colors.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/light3d.h"
#include "scene/math3d.h"

#include <vortel/plugin_helper.h>

namespace
{

constexpr float kAttenuationUnit = 0.0001f;

// Kept in privateData from the first call to the last; owns both nodes.
struct LightRecord {
    Light3D* light;
    AxisMarker3D* marker;
};

} // namespace

VORTEL_EXPORT bool SetLight3D(StateStruct* state, void** privateData, int32_t x, int32_t y, int32_t z,
                              int32_t aR, int32_t aG, int32_t aB, int32_t dR, int32_t dG, int32_t dB,
                              int32_t sR, int32_t sG, int32_t sB, int32_t k0, int32_t k1, int32_t k2,
                              int32_t group, int32_t showMarker)
{
    auto* record = static_cast<LightRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        *privateData =
            new LightRecord{new Light3D(), new AxisMarker3D(kMarkerColorX, kMarkerColorY, kMarkerColorZ)};
        return true;
    }
    state->status = 1;
    if (vortel::is_last_call(state)) {
        if (record) {
            delete record->light;
            delete record->marker;
            delete record;
            *privateData = nullptr;
        }
        return true;
    }
    if (!record || !record->light)
        return true;

    Light3D* light = record->light;
    light->SetAmbient(opaque_color(aR, aG, aB));
    light->SetDiffuse(opaque_color(dR, dG, dB));
    light->SetSpecular(opaque_color(sR, sG, sB));
    light->constantAttenuation = float(k0) * kAttenuationUnit;
    light->linearAttenuation = float(k1) * kAttenuationUnit;
    light->quadraticAttenuation = float(k2) * kAttenuationUnit;
    fixed_position(x, y, z, light->position);
    const bool marked = (showMarker & 0xFF) != 0 && record->marker;
    if (marked) {
        copy_vec(light->position, record->marker->position);
        copy_mat(light->matrix, record->marker->matrix);
    }
    if (auto* into = vortel::look_up<GroupNode3D>(kType3DGroup, group, "SetLight3D", "3D group")) {
        into->AddChild(light);
        if (marked)
            into->AddChild(record->marker);
    }
    return true;
}
