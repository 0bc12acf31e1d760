#include "effects/model_effect.h"

#include "common/fixed_point.h"
#include "effects/primitive_placement.h"
#include "effects/scene_state.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/mesh3d.h"

namespace
{

struct ObjectRecord {
    GroupNode3D wrapper;
    GroupNode3D* model = nullptr;
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
    if (state->phase == 0) {
        state->status = 2;
        delete record;
        record = new ObjectRecord();
        *privateData = record;
        bool flag = false;
        record->model = static_cast<GroupNode3D*>(
            gServices.AcquireByIndex(kTypeObject, model, nullptr, false, "Object3D", "3D object", &flag));
        return true;
    }
    if (!record)
        return true;
    if (state->phase < 0) {
        if (record->model)
            gServices.ReleaseByIndex(kTypeObject, model, nullptr);
        delete record;
        *privateData = nullptr;
        return true;
    }
    if (!record->model)
        return true;

    GroupNode3D& wrapper = record->wrapper;
    wrapper.RemoveAllChildren();
    for (int i = 0; i < record->model->GetChildCount(); ++i)
        wrapper.AddChild(record->model->GetChild(i));

    MaterialRecord* named = nullptr;
    bool flag = false;
    if (material > 0)
        named = static_cast<MaterialRecord*>(
            gServices.AcquireByIndex(kTypeMaterial, material, nullptr, false, "Object3D", "material", &flag));
    dress_meshes(wrapper, named, primitive_color(alpha, red, green, blue), alpha, blendSrc, blendDst);

    fixed_position(x, y, z, wrapper.position);
    fixed_rotation_scale(qa, qb, qc, qd, scale, wrapper.matrix);
    const bool marked = (showMarker & 0xFF) != 0;
    if (marked) {
        copy_vec(wrapper.position, record->marker.position);
        copy_mat(wrapper.matrix, record->marker.matrix);
    }
    auto* target = static_cast<GroupNode3D*>(
        gServices.AcquireByIndex(kType3DGroup, group, nullptr, false, "Obj3D", "3D group", &flag));
    if (target) {
        target->AddChild(&wrapper);
        if (marked)
            target->AddChild(&record->marker);
    }
    if (named)
        gServices.ReleaseByIndex(kTypeMaterial, material, nullptr);
    return true;
}
