#include "effects/group_maker.h"

#include "common/fixed_point.h"
#include "common/marker_colors.h"
#include "effects/effect_messages.h"
#include "effects/scaffold_state.h"
#include "scene/axis_marker3d.h"
#include "scene/kaleido_group_node3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"
#include "scene/swarm_group_node3d.h"
#include "scene/symmetry_group_node3d.h"

#include <vortel/plugin_helper.h>

namespace
{

// Kept in privateData from the first call to the last.
struct GroupRecord {
    AxisMarker3D* marker = nullptr;
    GroupNode3D* group = nullptr; // the group this event's first call made; null when it was refused
};

GroupNode3D* new_group(GroupKind kind)
{
    switch (kind) {
    case GroupKind::Kaleido:
        return new KaleidoGroupNode3D();
    case GroupKind::Swarm:
        return new SwarmGroupNode3D();
    case GroupKind::Symmetry:
        return new SymmetryGroupNode3D();
    case GroupKind::Plain:
        break;
    }
    return new GroupNode3D();
}

bool fail(StateStruct* state)
{
    state->status = -1;
    return false;
}

bool first_call(StateStruct* state, void** privateData, const char* name, int32_t showMarker, GroupKind kind,
                GroupNode3D** group)
{
    GroupRecord* record = new GroupRecord();
    *privateData = record;
    if (gScaffold.find_group(name) >= 0) {
        vortel::log(msg::kGroupExists, name);
        return fail(state);
    }
    GroupNode3D* made = new_group(kind);
    if (!gScaffold.append_group(name, made)) {
        delete made;
        vortel::log(msg::kGroupTableFull, name, int(ScaffoldState::kMaxGroups));
        return fail(state);
    }
    record->group = made;
    if (showMarker)
        record->marker = new AxisMarker3D(kMarkerColorX, kMarkerColorY, kMarkerColorZ);
    *group = made;
    return true;
}

bool last_call(void** privateData)
{
    GroupRecord* record = static_cast<GroupRecord*>(*privateData);
    if (!record)
        return true;
    if (record->group) {
        gScaffold.remove_group_at(gScaffold.group_slot_of(record->group));
        record->group->RemoveAllChildren();
        delete record->group;
    }
    delete record->marker;
    delete record;
    *privateData = nullptr;
    return true;
}

bool running_call(StateStruct* state, void** privateData, const GroupPlacement& placement, int32_t parent,
                  int32_t showMarker, GroupNode3D** group)
{
    GroupNode3D* parentGroup = gScaffold.sceneRoot;
    if (parent != 0) {
        const char* parentName = vortel::text(parent);
        if (!parentName) {
            vortel::log(msg::kGroupNoName, int(parent));
            return fail(state);
        }
        const int32_t index = gScaffold.find_group(parentName);
        if (index < 0) {
            vortel::log(msg::kGroupNoParent, parentName);
            return fail(state);
        }
        parentGroup = gScaffold.groups[index];
    }
    GroupRecord* record = static_cast<GroupRecord*>(*privateData);
    if (!record || !record->group)
        return true;
    GroupNode3D* own = record->group;
    own->RemoveAllChildren();
    fixed_position(placement.x, placement.y, placement.z, own->position);
    fixed_rotation_scale(placement.qa, placement.qb, placement.qc, placement.qd, placement.scale,
                         own->matrix);
    if (showMarker && record->marker) {
        copy_vec(own->position, record->marker->position);
        copy_mat(own->matrix, record->marker->matrix);
    }
    if (parentGroup) {
        parentGroup->AddChild(own);
        if (showMarker && record->marker)
            parentGroup->AddChild(record->marker);
    }
    *group = own;
    return true;
}

} // namespace

bool make_group(StateStruct* state, void** privateData, int32_t name, const GroupPlacement& placement,
                int32_t parent, int32_t showMarker, GroupKind kind, GroupNode3D** group)
{
    *group = nullptr;
    state->status = 1;
    const char* groupName = vortel::text(name);
    if (!groupName) {
        vortel::log(msg::kGroupNoName, int(name));
        return fail(state);
    }
    if (vortel::is_first_call(state))
        return first_call(state, privateData, groupName, showMarker, kind, group);
    if (vortel::is_last_call(state))
        return last_call(privateData);
    return running_call(state, privateData, placement, parent, showMarker, group);
}
