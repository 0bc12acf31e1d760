// ImageSwarm3D: a picture of a texture at every point of a swarm.
#include "image_swarm_node.h"
#include "pictor_effects.h"
#include "placement.h"

#include "scene/axis_marker3d.h"
#include "scene/texture.h"

#include <vortel/plugin_helper.h>
#include <vortel/records.h>

#include <algorithm>
#include <new>

namespace
{
struct SwarmShape {
    int32_t sprites, count, first;
    bool operator==(const SwarmShape& o) const
    {
        return sprites == o.sprites && count == o.count && first == o.first;
    }
};

struct ImageSwarmRecord {
    vortel::Held texture;
    vortel::Held swarm;
    ImageSwarmNode* node = nullptr;
    AxisMarker3D* marker = nullptr;
    SwarmShape builtWith{};
};

// Points the node can show: count from first, cut at the end of the swarm; 0 for a first outside it.
int32_t points_to_show(const SwarmRecord* swarm, int32_t count, int32_t first)
{
    if (!swarm || first < 0 || first >= swarm->count || !swarm->positions)
        return 0;
    return std::min(count, swarm->count - first);
}

// The node's arrays are sized by the swarm: false (logged, no node) when memory for them is short.
bool build_node(ImageSwarmRecord& record, const SwarmShape& shape, int32_t growth)
{
    delete record.node;
    record.node = nullptr;
    const auto* texture = record.texture.as<const Texture>();
    const auto* swarm = record.swarm.as<const SwarmRecord>();
    const int32_t n = points_to_show(swarm, shape.count, shape.first);
    record.builtWith = shape;
    if (!texture || n < 1)
        return true;
    try {
        record.node =
            new ImageSwarmNode(*texture, n, shape.first, shape.sprites != 0, swarm->positions, swarm->colors,
                               swarm->alpha, swarm->red, swarm->green, swarm->blue, float(growth) * 0.001f);
    } catch (const std::bad_alloc&) {
        vortel::log("ImageSwarm3D: not enough memory for the pictures of %d points\n", n);
        return false;
    }
    return true;
}
} // namespace

VORTEL_EXPORT bool ImageSwarm3D(StateStruct* state, void** privateData, int32_t texture, int32_t count,
                                int32_t first, int32_t swarm, int32_t sprites, int32_t x, int32_t y,
                                int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t opacity,
                                int32_t blendSrc, int32_t blendDst, int32_t scale, int32_t growth,
                                int32_t group, int32_t showMarker)
{
    state->status = 1;
    auto* record = static_cast<ImageSwarmRecord*>(*privateData);
    const SwarmShape shape{sprites, count, first};
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new ImageSwarmRecord;
        *privateData = record;
        record->texture.acquire(kTypeTexture, texture, "ImageSwarm3D", "image");
        record->swarm.acquire(kTypeSwarm, swarm, "ImageSwarm3D", "swarm");
        if (!build_node(*record, shape, growth))
            state->status = -1;
        record->marker = pictor::make_marker();
        return true;
    }
    if (vortel::is_last_call(state)) {
        if (record) {
            delete record->node;
            delete record->marker;
            delete record;
            *privateData = nullptr;
        }
        return true;
    }
    if (!record || !record->texture.get() || !record->swarm.get() || !record->node)
        return true;
    const bool textureChanged = record->texture.refresh("Image");
    const bool swarmChanged = record->swarm.refresh("ImageSwarm3D");
    if (textureChanged || swarmChanged || !(shape == record->builtWith)) {
        state->status = 2;
        if (!build_node(*record, shape, growth))
            state->status = -1;
        if (!record->node)
            return true;
    } else {
        const auto* points = record->swarm.as<const SwarmRecord>();
        try {
            record->node->RefreshColors(points->colors, points->alpha, points->red, points->green,
                                        points->blue);
        } catch (const std::bad_alloc&) {
            vortel::log("ImageSwarm3D: not enough memory for the colours of %d points\n",
                        record->node->count);
            state->status = -1;
            return true;
        }
    }
    ImageSwarmNode& node = *record->node;
    node.SetBlendSrc(uint32_t(blendSrc));
    node.SetBlendDst(uint32_t(blendDst));
    node.SetOpacity(opacity);
    const pictor::Placement where{x, y, z, qa, qb, qc, qd, scale, group, showMarker};
    pictor::place_node(node, record->marker, where);
    Node3D* nodes[] = {&node};
    pictor::hang_nodes(nodes, 1, record->marker, where, "ImageSwarm3D");
    return true;
}
