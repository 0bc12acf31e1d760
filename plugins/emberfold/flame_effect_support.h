// What ShowFlame and MorphFlame share: the texture they draw with and the calls around their own work,
// placing the mesh and its coordinate cross, and hanging both in the target group.
#pragma once

#include "flame_mesh.h"

#include <cstdint>
#include <vortel/plugin_helper.h>

class AxisMarker3D;
class GroupNode3D;
class Texture;

namespace emberfold
{

// The marker colours of every effect's coordinate cross (0xAARRGGBB).
AxisMarker3D* make_cross();

// The first call's texture: the 'TXTR' resource (a Texture) at text index `index`, held in `texture` until
// the last call. A negative index stands for no texture and looks nothing up (so nothing is logged).
void acquire_texture(vortel::Held& texture, int32_t index, const char* caller);
// The GL name of the held texture, 0 for none.
uint32_t texture_id(const vortel::Held& texture);

// The running and last calls of an effect whose first call leaves a Block in *privateData, or null after
// logging why it failed. True when the call has nothing more to do: the first call failed (status -1), or
// this is the last call (the block is deleted, releasing what it holds, and the slot cleared). The effect
// then returns true.
template <class Block> bool call_is_over(StateStruct* state, void** privateData)
{
    Block* block = static_cast<Block*>(*privateData);
    if (!block) {
        state->status = -1;
        return true;
    }
    if (!vortel::is_last_call(state))
        return false;
    delete block;
    *privateData = nullptr;
    return true;
}

// position <- (x, y, z) * 0.001; matrix <- S * rotation with S the uniform scale scale * 0.00001.
void place_mesh(FlameMesh& mesh, int32_t x, int32_t y, int32_t z, const float* rotation, int32_t scale);

// The '3DWR' group at text index `group`, or null (the registry has logged why). Never released: the
// group table owns it and it stays while the demo runs.
GroupNode3D* acquire_group(int32_t group, const char* requester);

// mesh <- a mesh of description made with settings: the one there is, reshaped in place, when its layout
// fits the settings, else a new one (the old one deleted; unhang it first). False, with mesh null, when
// there is no memory for the new mesh's points: `effect` logs that once (`reported` remembers it until a
// mesh is made again) and the caller fails this call.
bool renew_mesh(FlameMesh*& mesh, const FlameDescription& description, const FlameMeshSettings& settings,
                const char* effect, bool& reported);

// Takes every entry of mesh out of group, so a mesh about to be deleted is not drawn from a group that
// a Clear3D has not emptied.
void unhang(GroupNode3D* group, FlameMesh* mesh);

// Hangs the mesh (and the cross when shown) in group; a null group sets status -1.
void hang(StateStruct* state, GroupNode3D* group, FlameMesh* mesh, AxisMarker3D* cross, bool showCross);

} // namespace emberfold
