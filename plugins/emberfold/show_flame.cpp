// ShowFlame: one flame description as points or camera-facing squares in a named 3D group. The mesh is
// kept while nothing that shapes its points changes; alpha and sizes are changed in place, and new points
// are generated into it while its layout stays.
#include "emberfold_effects.h"
#include "flame_effect_support.h"
#include "flame_file.h"
#include "flame_mesh.h"

#include "scene/axis_marker3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"

#include <GL/glew.h>
#include <memory>

using namespace emberfold;

namespace
{

struct MeshBuild {
    int32_t pointCount, pointsFlag, colourMode, time, alpha, largestSize, smallestSize, batchCount;
};

struct ShowFlameBlock {
    FlameDescription description;
    FlameMesh* mesh = nullptr;
    AxisMarker3D* cross = nullptr;
    MeshBuild last{};
    vortel::Held texture;
    bool reportedMemory = false; // the last mesh could not be made, and that was logged

    ~ShowFlameBlock()
    {
        delete mesh;
        delete cross;
    }
};

bool keeps_mesh(const ShowFlameBlock& b, const MeshBuild& now, bool animated)
{
    return b.mesh && now.pointCount == b.last.pointCount && now.pointsFlag == b.last.pointsFlag &&
           now.colourMode == b.last.colourMode && now.batchCount == b.last.batchCount &&
           (now.time == b.last.time || !animated);
}

} // namespace

VORTEL_EXPORT bool ShowFlame(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                             int32_t z, int32_t qx, int32_t qy, int32_t qz, int32_t qw, int32_t pointCount,
                             int32_t pointsFlag, int32_t bufferFlag, int32_t colourMode, int32_t time,
                             int32_t alpha, int32_t scale, int32_t largestSize, int32_t smallestSize,
                             int32_t batchCount, int32_t group, int32_t crossFlag, int32_t texture,
                             int32_t blendEquation)
{
    state->status = 1;
    const char* fileName = vortel::text(name);
    if (!fileName) {
        vortel::log("ShowFlame: Couldn't get the name for the flame fractal nr %d", name);
        state->status = -1;
        return false;
    }
    auto* block = static_cast<ShowFlameBlock*>(*privateData);

    if (vortel::is_first_call(state)) {
        if (block)
            return true;
        std::unique_ptr<ShowFlameBlock> fresh(new ShowFlameBlock);
        make_default_description(fresh->description);
        if (!read_flame_description(fresh->description, fileName)) {
            vortel::log("ShowFlame: Could not load IFS fractal %s !", fileName);
            state->status = -1;
            *privateData = nullptr;
            return false;
        }
        acquire_texture(fresh->texture, texture, "ShowFlame");
        fresh->cross = make_cross();
        *privateData = fresh.release();
        return true;
    }
    if (call_is_over<ShowFlameBlock>(state, privateData))
        return true;

    // 1. Animate.
    FlameDescription& d = block->description;
    for (int32_t j = 0; j < d.transformCount; ++j)
        animate_transform(d.transforms[j], time);
    compute_probabilities(d);
    const bool animated = any_animated(d);

    const MeshBuild now{pointCount, pointsFlag != 0, colourMode,   time,
                        alpha,      largestSize,     smallestSize, batchCount <= 0 ? 1 : batchCount};
    GroupNode3D* target = acquire_group(group, "ShowFlame");
    if (keeps_mesh(*block, now, animated)) {
        // 2. Keep: only what does not move the points.
        if (now.alpha != block->last.alpha) {
            block->mesh->SetOpacity(now.alpha);
            block->last.alpha = now.alpha;
        } else if (now.largestSize != block->last.largestSize ||
                   now.smallestSize != block->last.smallestSize) {
            block->mesh->largestSize = float(now.largestSize) * 0.001f;
            block->mesh->smallestSize = float(now.smallestSize) * 0.001f;
            block->last.largestSize = now.largestSize;
            block->last.smallestSize = now.smallestSize;
        }
    } else {
        // 3. Rebuild: new points, in a new mesh only when the layout changed.
        unhang(target, block->mesh);
        FlameMeshSettings settings;
        settings.pointCount = now.pointCount;
        settings.colourMode = now.colourMode;
        settings.pointsMode = now.pointsFlag != 0;
        settings.useVertexBuffer = bufferFlag != 0;
        settings.animated = animated;
        settings.alpha = now.alpha;
        settings.largestSize = float(now.largestSize) * 0.001f;
        settings.smallestSize = float(now.smallestSize) * 0.001f;
        settings.batchCount = now.batchCount;
        settings.textureId = texture_id(block->texture);
        if (!renew_mesh(block->mesh, d, settings, "ShowFlame", block->reportedMemory)) {
            state->status = -1;
            return true;
        }
        if (blendEquation != 0) {
            block->mesh->SetBlendEquation(uint32_t(blendEquation));
        } else {
            block->mesh->blendSrc = GL_ONE;
            block->mesh->blendDst = GL_ZERO;
        }
        block->last = now;
    }

    // 4.-6. Place and hang.
    float q[4] = {float(qx) * 0.0001f, float(qy) * 0.0001f, float(qz) * 0.0001f, float(qw) * 0.0001f};
    unit_quat_self(q);
    float rotation[9];
    quat_to_mat3(q, rotation);
    place_mesh(*block->mesh, x, y, z, rotation, scale);
    hang(state, target, block->mesh, block->cross, crossFlag != 0);
    return true;
}
