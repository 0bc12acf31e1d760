// What ShowFlame and MorphFlame share: the texture they draw with and the calls around their own work,
// placing the mesh and its coordinate cross, and hanging both in the target group.
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

// The 'TXTR' resource (a Texture) an effect draws its squares with, held from its first call to its last.
struct HeldTexture {
    void* resource = nullptr; // null when the registry had none (it has logged why)
    bool isStatic = false;

    // First call: acquires the texture at text index `index` for `caller`; a negative index stands for no
    // texture and looks nothing up (so nothing is logged).
    void acquire(int32_t index, const char* caller);
    // Last call: releases what acquire got, with the same index.
    void release(int32_t index);
    // Its GL name, 0 for none.
    uint32_t id() const;
};

// The running and last calls of an effect whose first call leaves a Block (holding a HeldTexture
// `texture`) in *privateData, or null after logging why it failed. True when the call has nothing more to
// do: the first call failed (status -1), or this is the last call (the texture is released, the block
// deleted and the slot cleared). The effect then returns true.
template <class Block> bool call_is_over(StateStruct* state, void** privateData, int32_t textureIndex)
{
    Block* block = static_cast<Block*>(*privateData);
    if (!block) {
        state->status = -1;
        return true;
    }
    if (state->phase >= 0)
        return false;
    block->texture.release(textureIndex);
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
// fits the settings, else a new one (the old one deleted; unhang it first).
void renew_mesh(FlameMesh*& mesh, const FlameDescription& description, const FlameMeshSettings& settings);

// Takes every entry of mesh out of group, so a mesh about to be deleted is not drawn from a group that
// a Clear3D has not emptied.
void unhang(GroupNode3D* group, FlameMesh* mesh);

// Hangs the mesh (and the cross when shown) in group; a null group sets status -1.
void hang(StateStruct* state, GroupNode3D* group, FlameMesh* mesh, AxisMarker3D* cross, bool showCross);

} // namespace emberfold
