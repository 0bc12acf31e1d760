// MorphFlame: a flame between two descriptions, generated again on every running call. The mesh is kept
// and regenerated in place while its layout (point count, points or squares, buffer, batches) stays.
#include "emberfold_effects.h"
#include "flame_effect_support.h"
#include "flame_file.h"
#include "flame_mesh.h"
#include "flame_morph.h"

#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"

#include <GL/glew.h>
#include <initializer_list>
#include <memory>

using namespace emberfold;

namespace
{

struct MorphFlameBlock {
    FlameDescription first;
    FlameDescription second;
    FlameDescription result; // blended again on every running call
    FlameMesh* mesh = nullptr;
    AxisMarker3D* cross = nullptr;
    vortel::Held texture;
    bool reportedMemory = false; // the last mesh could not be made, and that was logged

    ~MorphFlameBlock()
    {
        delete mesh;
        delete cross;
    }
};

} // namespace

VORTEL_EXPORT bool MorphFlame(StateStruct* state, void** privateData, int32_t name1, int32_t name2,
                              int32_t amount, int32_t x, int32_t y, int32_t z, int32_t qx, int32_t qy,
                              int32_t qz, int32_t qw, int32_t pair0, int32_t pair1, int32_t pair2, int32_t,
                              int32_t pair3, int32_t pair4, int32_t pair5, int32_t pair6, int32_t, int32_t,
                              int32_t, int32_t, int32_t pointCount, int32_t pointsFlag, int32_t bufferFlag,
                              int32_t colourMode, int32_t time, int32_t alpha, int32_t scale,
                              int32_t largestSize, int32_t smallestSize, int32_t batchCount, int32_t group,
                              int32_t crossFlag, int32_t texture, int32_t blendEquation)
{
    state->status = 1;
    const char* fileName1 = vortel::text(name1);
    const char* fileName2 = vortel::text(name2);
    if (!fileName1 || !fileName2) {
        vortel::log("MorphIFS: Couldn't get the name for the IFS nr %d", fileName1 ? name2 : name1);
        state->status = -1;
        return false;
    }
    auto* block = static_cast<MorphFlameBlock*>(*privateData);

    if (vortel::is_first_call(state)) {
        if (block)
            return true;
        std::unique_ptr<MorphFlameBlock> fresh(new MorphFlameBlock);
        make_default_description(fresh->first);
        make_default_description(fresh->second);
        const char* failed = !read_flame_description(fresh->first, fileName1)    ? fileName1
                             : !read_flame_description(fresh->second, fileName2) ? fileName2
                                                                                 : nullptr;
        if (failed) {
            vortel::log("ShowIFS: Could not load IFS fractal %s !", failed);
            state->status = -1;
            *privateData = nullptr;
            return false;
        }
        acquire_texture(fresh->texture, texture, "MorphIFS");
        fresh->cross = make_cross();
        *privateData = fresh.release();
        return true;
    }
    if (call_is_over<MorphFlameBlock>(state, privateData))
        return true;

    // 1.-5. Animate both and blend.
    for (FlameDescription* d : {&block->first, &block->second})
        for (int32_t j = 0; j < d->transformCount; ++j)
            animate_transform(d->transforms[j], time);
    const int32_t packed[kPairingParameters] = {pair0, pair1, pair2, pair3, pair4, pair5, pair6};
    uint8_t pairs[kPairingIndices];
    unpack_pairing(packed, pairs);
    morph_descriptions(block->first, block->second, amount, pairs, block->result);

    // 6. New points every call, in a new mesh only when the layout changed.
    GroupNode3D* target = acquire_group(group, "ShowIFS");
    unhang(target, block->mesh);
    FlameMeshSettings settings;
    settings.pointCount = pointCount;
    settings.colourMode = colourMode;
    settings.pointsMode = pointsFlag != 0;
    settings.useVertexBuffer = bufferFlag != 0;
    settings.animated = true;
    settings.alpha = alpha;
    settings.largestSize = float(largestSize) * 0.01f;
    settings.smallestSize = float(smallestSize) * 0.01f;
    settings.batchCount = batchCount;
    settings.textureId = texture_id(block->texture);
    if (!renew_mesh(block->mesh, block->result, settings, "MorphFlame", block->reportedMemory)) {
        state->status = -1;
        return true;
    }
    // 0 is no blend equation GL knows; the mesh then keeps adding.
    block->mesh->SetBlendEquation(blendEquation != 0 ? uint32_t(blendEquation) : GL_FUNC_ADD);

    // 7.-9. Place (the quaternion as given, not normalised) and hang.
    const float q[4] = {float(qx) * 0.0001f, float(qy) * 0.0001f, float(qz) * 0.0001f, float(qw) * 0.0001f};
    float rotation[9];
    quat_to_mat3(q, rotation);
    place_mesh(*block->mesh, x, y, z, rotation, scale);
    hang(state, target, block->mesh, block->cross, crossFlag != 0);
    return true;
}
