// What ShowFlame and MorphFlame share: the texture they draw with, placing the mesh and its coordinate
// cross, and hanging both in the target group.
#pragma once

#include "flame_mesh.h"

#include <cstdint>
#include <vortel/plugin.h>

class AxisMarker3D;
class GroupNode3D;
class Texture;

namespace emberfold
{

// The marker colours of every effect's coordinate cross (0xAARRGGBB).
AxisMarker3D* make_cross();

// The GL name of an acquired 'TXTR' resource (a Texture), 0 for none.
uint32_t texture_id(void* texture);

// position <- (x, y, z) * 0.001; matrix <- S * rotation with S the uniform scale scale * 0.00001.
void place_mesh(FlameMesh& mesh, int32_t x, int32_t y, int32_t z, const float* rotation, int32_t scale);

// The '3DWR' group at text index `group`, or null (the registry has logged why). Never released: the
// group table owns it and it stays while the demo runs.
GroupNode3D* acquire_group(int32_t group, const char* requester);

// Takes every entry of mesh out of group, so a mesh about to be deleted is not drawn from a group that
// a Clear3D has not emptied.
void unhang(GroupNode3D* group, FlameMesh* mesh);

// Hangs the mesh (and the cross when shown) in group; a null group sets status -1.
void hang(StateStruct* state, GroupNode3D* group, FlameMesh* mesh, AxisMarker3D* cross, bool showCross);

} // namespace emberfold
