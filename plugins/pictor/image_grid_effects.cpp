// ImageGrid3D and DualImageGrid3D: textures stretched over a 'GRID' sheet, the dual one with a second
// texture on the back, each side culled so only the side facing the camera shows.
#include "grid_node.h"
#include "pictor_effects.h"
#include "placement.h"

#include "scene/axis_marker3d.h"
#include "scene/texture.h"

#include <vortel/plugin_helper.h>
#include <vortel/records.h>

#include <GL/glew.h>

#include <new>

namespace
{
constexpr int kFront = 0;
constexpr int kBack = 1;

// One record for both effects: the single one uses only the front side.
struct GridRecord {
    vortel::Held textures[2];
    vortel::Held grid;
    GridNode* nodes[2] = {nullptr, nullptr};
    AxisMarker3D* marker = nullptr;
};

struct GridLook {
    int32_t offS, offT, red, green, blue, opacity, blendSrc, blendDst;
};

GridNode* make_node(const vortel::Held& texture, const vortel::Held& grid)
{
    const auto* sheet = grid.as<const TextureGridRecord>();
    if (!texture.get() || !is_drawable_grid(sheet))
        return nullptr;
    return new GridNode(*texture.as<const Texture>(), *sheet);
}

void delete_nodes(GridRecord& record)
{
    for (GridNode*& node : record.nodes) {
        delete node;
        node = nullptr;
    }
}

// Makes the node of each side; a side that cannot be drawn leaves it and the later ones null. The nodes'
// arrays are sized by the grid: false (logged, no nodes) when memory for them is short.
bool build_nodes(GridRecord& record, int sides, const char* effect)
{
    delete_nodes(record);
    try {
        for (int side = 0; side < sides; ++side) {
            record.nodes[side] = make_node(record.textures[side], record.grid);
            if (!record.nodes[side])
                return true;
        }
    } catch (const std::bad_alloc&) {
        delete_nodes(record);
        const auto* sheet = record.grid.as<const TextureGridRecord>();
        vortel::log("%s: not enough memory for a grid of %d x %d points\n", effect, sheet->columns,
                    sheet->rows);
        return false;
    }
    return true;
}

void apply_look(GridNode& node, const GridLook& look)
{
    node.SetBlendSrc(uint32_t(look.blendSrc));
    node.SetBlendDst(uint32_t(look.blendDst));
    node.SetOpacity(look.opacity);
    node.SetColor((uint32_t(look.opacity & 0xFF) << 24) | (uint32_t(look.red & 0xFF) << 16) |
                  (uint32_t(look.green & 0xFF) << 8) | uint32_t(look.blue & 0xFF));
    node.SetOpacity(look.opacity);
    node.offS = float(look.offS) * 0.01f;
    node.offT = float(look.offT) * 0.01f;
}

// texture: the first acquisition (and the effect's name in its messages); textureAgain: the
// re-acquisition; grid: the grid and group acquisitions.
struct Callers {
    const char* texture;
    const char* textureAgain;
    const char* grid;
};

bool run_grid(StateStruct* state, void** privateData, const int32_t* textures, int sides, int32_t grid,
              const GridLook& look, const pictor::Placement& where, const Callers& callers)
{
    state->status = 1;
    auto* record = static_cast<GridRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new GridRecord;
        *privateData = record;
        for (int side = 0; side < sides; ++side)
            record->textures[side].acquire(kTypeTexture, textures[side], callers.texture, "image");
        record->grid.acquire(kTypeGrid, grid, callers.grid, "texture grid");
        if (!build_nodes(*record, sides, callers.texture))
            state->status = -1;
        record->marker = pictor::make_marker();
        return true;
    }
    if (vortel::is_last_call(state)) {
        if (record) {
            delete_nodes(*record);
            delete record->marker;
            delete record;
            *privateData = nullptr;
        }
        return true;
    }
    if (!record || !record->grid.get())
        return true;
    for (int side = 0; side < sides; ++side)
        if (!record->textures[side].get() || !record->nodes[side])
            return true;
    bool changed = false;
    for (int side = 0; side < sides; ++side)
        changed |= record->textures[side].refresh(callers.textureAgain);
    changed |= record->grid.refresh(callers.grid);
    if (changed) {
        state->status = 2;
        if (!build_nodes(*record, sides, callers.texture)) {
            state->status = -1;
            return true;
        }
        for (int side = 0; side < sides; ++side)
            if (!record->nodes[side])
                return true;
    }
    for (int side = 0; side < sides; ++side) {
        GridNode& node = *record->nodes[side];
        apply_look(node, look);
        if (sides == 2) {
            node.SetCulled(true);
            node.SetCullMode(side == kFront ? GL_BACK : GL_FRONT);
        }
        pictor::place_node(node, side == 0 ? record->marker : nullptr, where);
    }
    Node3D* nodes[] = {record->nodes[kFront], sides == 2 ? record->nodes[kBack] : nullptr};
    pictor::hang_nodes(nodes, sides, record->marker, where, callers.grid);
    return true;
}
} // namespace

VORTEL_EXPORT bool ImageGrid3D(StateStruct* state, void** privateData, int32_t texture, int32_t grid,
                               int32_t offS, int32_t offT, int32_t red, int32_t green, int32_t blue,
                               int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                               int32_t qd, int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t scale,
                               int32_t group, int32_t showMarker)
{
    const int32_t textures[] = {texture};
    return run_grid(
        state, privateData, textures, 1, grid, {offS, offT, red, green, blue, opacity, blendSrc, blendDst},
        {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, {"ImageGrid3D", "ImageGrid3D", "ImageGrid3D"});
}

VORTEL_EXPORT bool DualImageGrid3D(StateStruct* state, void** privateData, int32_t front, int32_t back,
                                   int32_t grid, int32_t offS, int32_t offT, int32_t red, int32_t green,
                                   int32_t blue, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb,
                                   int32_t qc, int32_t qd, int32_t opacity, int32_t blendSrc,
                                   int32_t blendDst, int32_t scale, int32_t group, int32_t showMarker)
{
    const int32_t textures[] = {front, back};
    return run_grid(
        state, privateData, textures, 2, grid, {offS, offT, red, green, blue, opacity, blendSrc, blendDst},
        {x, y, z, qa, qb, qc, qd, scale, group, showMarker}, {"DualImageGrid3D", "Image", "ImageGrid3D"});
}
