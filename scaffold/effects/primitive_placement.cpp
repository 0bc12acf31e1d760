#include "effects/primitive_placement.h"

#include "common/fixed_point.h"
#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"

#include <vortel/plugin_helper.h>

void hang_primitive(Poly3D& node, AxisMarker3D* marker, const PrimitiveLook& look,
                    const PrimitivePlacement& where, const char* caller)
{
    node.SetBlendSrc(uint32_t(look.blendSrc));
    node.SetBlendDst(uint32_t(look.blendDst));
    if (look.hasOpacity)
        node.SetOpacity(look.opacity);
    fixed_position(where.x, where.y, where.z, node.position);
    fixed_rotation_scale(where.qa, where.qb, where.qc, where.qd, where.scale, node.matrix);
    const bool marked = (where.showMarker & 0xFF) != 0 && marker;
    if (marked) {
        copy_vec(node.position, marker->position);
        copy_mat(node.matrix, marker->matrix);
    }
    auto* group = vortel::look_up<GroupNode3D>(kType3DGroup, where.group, caller, "3D group");
    if (!group)
        return;
    group->AddChild(&node);
    if (marked)
        group->AddChild(marker);
}

uint32_t primitive_color(int32_t alpha, int32_t red, int32_t green, int32_t blue)
{
    return (uint32_t(alpha & 0xFF) << 24) | (uint32_t(red & 0xFF) << 16) | (uint32_t(green & 0xFF) << 8) |
           uint32_t(blue & 0xFF);
}
