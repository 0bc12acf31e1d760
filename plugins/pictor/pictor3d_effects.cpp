// Pictor3D and Pictor3DAlpha: a texture on an Image3D quad node hung into a 3D group.
#include "image3d.h"
#include "pictor_effects.h"
#include "placement.h"

#include "scene/axis_marker3d.h"
#include "scene/texture.h"

#include <vortel/plugin_helper.h>

namespace
{
struct PictorRecord {
    vortel::Held texture;
    Image3D* node = nullptr;
    AxisMarker3D* marker = nullptr;
};

struct PictorLook {
    int32_t opacity, blendSrc, blendDst, opaque;
    bool alphaOnly;
};

bool run_pictor(StateStruct* state, void** privateData, int32_t texture, const PictorLook& look,
                const pictor::Placement& where)
{
    state->status = 1;
    auto* record = static_cast<PictorRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new PictorRecord;
        *privateData = record;
        record->texture.acquire(kTypeTexture, texture, "Pictor3D", "image");
        if (record->texture.get())
            record->node = new Image3D(record->texture.as<Texture>());
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
    if (!record || !record->texture.get() || !record->node)
        return true;
    if (record->texture.refresh("Image")) {
        state->status = 2;
        // No quad can be shown without a texture: the event shows nothing from now on.
        if (!record->texture.get()) {
            delete record->node;
            record->node = nullptr;
            return true;
        }
        // The quad is kept: a texture that is never static (an off-screen buffer) is looked up every
        // frame, and only its name and size can have changed.
        record->node->SetTexture(record->texture.as<Texture>());
    }
    Image3D& node = *record->node;
    node.SetBlendSrc(uint32_t(look.blendSrc));
    node.SetBlendDst(uint32_t(look.blendDst));
    node.SetOpacity(look.opacity);
    node.forceOpaque = look.opaque != 0;
    if (look.alphaOnly)
        node.colorMask = 8;
    pictor::place_node(node, record->marker, where);
    Node3D* nodes[] = {&node};
    pictor::hang_nodes(nodes, 1, record->marker, where, "Pictor3D");
    return true;
}
} // namespace

VORTEL_EXPORT bool Pictor3D(StateStruct* state, void** privateData, int32_t texture, int32_t x, int32_t y,
                            int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t opacity,
                            int32_t blendSrc, int32_t blendDst, int32_t opaque, int32_t scale, int32_t group,
                            int32_t showMarker)
{
    return run_pictor(state, privateData, texture, {opacity, blendSrc, blendDst, opaque, false},
                      {x, y, z, qa, qb, qc, qd, scale, group, showMarker});
}

VORTEL_EXPORT bool Pictor3DAlpha(StateStruct* state, void** privateData, int32_t texture, int32_t x,
                                 int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd,
                                 int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t opaque,
                                 int32_t scale, int32_t group, int32_t showMarker)
{
    return run_pictor(state, privateData, texture, {opacity, blendSrc, blendDst, opaque, true},
                      {x, y, z, qa, qb, qc, qd, scale, group, showMarker});
}
