#include "flame_effect_support.h"

#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/texture.h"

#include <algorithm>

namespace emberfold
{

AxisMarker3D* make_cross()
{
    return new AxisMarker3D(0xff8080ffu, 0xff80ff80u, 0xffff8080u);
}

void acquire_texture(vortel::Held& texture, int32_t index, const char* caller)
{
    // Points and plain squares need no texture, so "none" looks nothing up.
    if (index >= 0)
        texture.acquire(kTypeTexture, index, caller, "image");
}

uint32_t texture_id(const vortel::Held& texture)
{
    return texture.get() ? texture.as<Texture>()->id : 0;
}

void place_mesh(FlameMesh& mesh, int32_t x, int32_t y, int32_t z, const float* rotation, int32_t scale)
{
    mesh.position[0] = float(x) * 0.001f;
    mesh.position[1] = float(y) * 0.001f;
    mesh.position[2] = float(z) * 0.001f;
    copy_mat(rotation, mesh.matrix);
    const float s = float(scale) * 0.00001f;
    float scaling[9];
    make_scale_mat(scaling, s, s, s);
    mul_mat_mat_self(scaling, mesh.matrix);
}

GroupNode3D* acquire_group(int32_t group, const char* requester)
{
    return vortel::look_up<GroupNode3D>(kType3DGroup, group, requester, "3D group");
}

bool renew_mesh(FlameMesh*& mesh, const FlameDescription& description, const FlameMeshSettings& settings,
                const char* effect, bool& reported)
{
    if (mesh && mesh->Fits(settings)) {
        mesh->Reshape(description, settings);
        return true;
    }
    delete mesh;
    mesh = new FlameMesh(description, settings);
    if (mesh->complete()) {
        reported = false;
        return true;
    }
    if (!reported)
        vortel::log("%s: not enough memory for a flame of %d points", effect,
                    int(std::clamp(settings.pointCount, 0, kMaxPoints)));
    reported = true;
    delete mesh;
    mesh = nullptr;
    return false;
}

void unhang(GroupNode3D* group, FlameMesh* mesh)
{
    if (group && mesh)
        while (group->RemoveChild(mesh)) {
        }
}

void hang(StateStruct* state, GroupNode3D* group, FlameMesh* mesh, AxisMarker3D* cross, bool showCross)
{
    if (!group) {
        state->status = -1;
        return;
    }
    if (mesh)
        group->AddChild(mesh);
    if (showCross && cross) {
        if (mesh) {
            copy_vec(mesh->position, cross->position);
            copy_mat(mesh->matrix, cross->matrix);
        }
        group->AddChild(cross);
    }
}

} // namespace emberfold
