#include "placement.h"

#include "common/fixed_point.h"
#include "common/marker_colors.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"

#include <vortel/plugin_helper.h>

namespace pictor
{

AxisMarker3D* make_marker()
{
    return new AxisMarker3D(kMarkerColorX, kMarkerColorY, kMarkerColorZ);
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
    auto* group = vortel::look_up<GroupNode3D>(kType3DGroup, where.group, caller, "3D group");
    if (!group)
        return;
    for (int i = 0; i < count; ++i)
        if (nodes[i])
            group->AddChild(nodes[i]);
    if (marker && (where.showMarker & 0xFF) != 0)
        group->AddChild(marker);
}

} // namespace pictor
