#include "pictor_services.h"

#include "common/fixed_point.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"

namespace pictor
{

Services gServices;

namespace
{
void* acquire(uint32_t type, int32_t index, const char* caller, const char* typeName, bool* isStatic)
{
    if (!gServices.AcquireByIndex)
        return nullptr;
    return gServices.AcquireByIndex(type, index, nullptr, false, caller, typeName, isStatic);
}

void release(uint32_t type, int32_t index)
{
    if (gServices.ReleaseByIndex)
        gServices.ReleaseByIndex(type, index, nullptr);
}
} // namespace

void HeldResource::take(uint32_t type_, int32_t index_, const char* caller, const char* typeName_)
{
    type = type_;
    index = index_;
    typeName = typeName_;
    isStatic = false;
    record = acquire(type, index, caller, typeName, &isStatic);
    held = record != nullptr;
}

bool HeldResource::refresh(const char* caller)
{
    if (!held || isStatic)
        return false;
    record = acquire(type, index, caller, typeName, &isStatic);
    if (record)
        release(type, index);
    return true;
}

void HeldResource::drop()
{
    if (held)
        release(type, index);
    held = false;
    record = nullptr;
}

AxisMarker3D* make_marker()
{
    return new AxisMarker3D(0xFF8080FF, 0xFF80FF80, 0xFFFF8080);
}

void place_node(Node3D& node, AxisMarker3D* marker, const Placement& where)
{
    fixed_position(where.x, where.y, where.z, node.position);
    fixed_rotation_scale(where.qa, where.qb, where.qc, where.qd, where.scale, node.matrix);
    if (marker && (where.showMarker & 0xFF) != 0) {
        copy_vec(node.position, marker->position);
        copy_mat(node.matrix, marker->matrix);
    }
}

void hang_nodes(Node3D* const* nodes, int count, AxisMarker3D* marker, const Placement& where,
                const char* caller)
{
    bool isStatic = false;
    auto* group =
        static_cast<GroupNode3D*>(acquire(kType3DGroup, where.group, caller, "3D group", &isStatic));
    if (!group)
        return;
    for (int i = 0; i < count; ++i)
        if (nodes[i])
            group->AddChild(nodes[i]);
    if (marker && (where.showMarker & 0xFF) != 0)
        group->AddChild(marker);
}

} // namespace pictor
