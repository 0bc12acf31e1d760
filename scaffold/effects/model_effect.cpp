#include "effects/model_effect.h"

#include "common/fixed_point.h"
#include "common/marker_colors.h"
#include "effects/primitive_placement.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/mesh3d.h"

#include <vortel/plugin_helper.h>

namespace
{

// Kept in privateData from the first call to the last; holds the model of the first call's text index.
struct ObjectRecord {
    GroupNode3D wrapper;
    vortel::Held model;
    AxisMarker3D marker{kMarkerColorX, kMarkerColorY, kMarkerColorZ};
};

void dress_meshes(GroupNode3D& wrapper, MaterialRecord* material, uint32_t color, int32_t alpha,
                  int32_t blendSrc, int32_t blendDst)
{
    for (int i = 0; i < wrapper.GetChildCount(); ++i) {
        Node3D* child = wrapper.GetChild(i);
        if (child->GetType() != kNodeTypePoly)
            continue;
        Mesh3D* mesh = static_cast<Mesh3D*>(child);
        mesh->material = material;
        if (material)
            continue;
        mesh->SetColor(color);
        mesh->SetBlendSrc(uint32_t(blendSrc));
        mesh->SetBlendDst(uint32_t(blendDst));
        mesh->SetOpacity(alpha);
    }
}

} // namespace

VORTEL_EXPORT bool Object3D(StateStruct* state, void** privateData, int32_t model, int32_t red, int32_t green,
                            int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                            int32_t qd, int32_t alpha, int32_t blendSrc, int32_t blendDst, int32_t scale,
                            int32_t material, int32_t group, int32_t showMarker)
{
    state->status = 1;
    ObjectRecord* record = static_cast<ObjectRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        delete record;
        record = new ObjectRecord();
        *privateData = record;
        record->model.acquire(kTypeObject, model, "Object3D", "3D object");
        return true;
    }
    if (!record)
        return true;
    if (vortel::is_last_call(state)) {
        delete record;
        *privateData = nullptr;
        return true;
    }
    const GroupNode3D* shown = record->model.as<GroupNode3D>();
    if (!shown)
        return true;

    GroupNode3D& wrapper = record->wrapper;
    wrapper.RemoveAllChildren();
    for (int i = 0; i < shown->GetChildCount(); ++i)
        wrapper.AddChild(shown->GetChild(i));

    vortel::Held named;
    if (material > 0)
        named.acquire(kTypeMaterial, material, "Object3D", "material");
    dress_meshes(wrapper, named.as<MaterialRecord>(), primitive_color(alpha, red, green, blue), alpha,
                 blendSrc, blendDst);

    fixed_position(x, y, z, wrapper.position);
    fixed_rotation_scale(qa, qb, qc, qd, scale, wrapper.matrix);
    const bool marked = (showMarker & 0xFF) != 0;
    if (marked) {
        copy_vec(wrapper.position, record->marker.position);
        copy_mat(wrapper.matrix, record->marker.matrix);
    }
    if (auto* into = vortel::look_up<GroupNode3D>(kType3DGroup, group, "Obj3D", "3D group")) {
        into->AddChild(&wrapper);
        if (marked)
            into->AddChild(&record->marker);
    }
    return true;
}
