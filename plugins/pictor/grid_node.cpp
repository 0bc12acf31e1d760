#include "grid_node.h"
#include "tex_coord.h"

#include "scene/texture.h"

#include <vortel/records.h>

#include <GL/glew.h>

bool is_drawable_grid(const TextureGridRecord* grid)
{
    return grid && grid->positions && grid->columns >= 2 && grid->rows >= 2 &&
           int64_t(grid->columns) * grid->rows <= GridNode::kMaxPoints;
}

GridNode::GridNode(const Texture& texture, const TextureGridRecord& grid)
    : columns(grid.columns), rows(grid.rows), textureWidth(texture.width), textureHeight(texture.height),
      textureId(texture.id), cullMode_(GL_BACK)
{
    const size_t points = size_t(columns) * size_t(rows);
    positions_.assign(grid.positions, grid.positions + points * 3);
    texCoords_.resize(points * 2);
    if (grid.colors) {
        colors_.resize(points * 4);
        for (size_t i = 0; i < points; ++i) {
            colors_[i * 4 + 0] = grid.colors[i * 4 + 1];
            colors_[i * 4 + 1] = grid.colors[i * 4 + 2];
            colors_[i * 4 + 2] = grid.colors[i * 4 + 3];
            colors_[i * 4 + 3] = grid.colors[i * 4 + 0];
        }
    }
    // Strip j zig-zags between rows j and j + 1: (j, 0), (j + 1, 0), (j, 1), (j + 1, 1), ...
    const int strips = rows - 1;
    const int perStrip = 2 * columns;
    indices_.resize(size_t(strips) * size_t(perStrip));
    for (int j = 0; j < strips; ++j)
        for (int k = 0; k < perStrip; ++k)
            indices_[size_t(j) * perStrip + k] = uint16_t(columns * (j + k % 2) + k / 2);
    stripCounts_.assign(size_t(strips), perStrip);
    stripFirsts_.assign(size_t(strips), 0);
    for (int j = 0; j < strips; ++j)
        stripPointers_.push_back(indices_.data() + size_t(j) * perStrip);
}

void GridNode::SetCulled(bool culled)
{
    culled_ = culled;
}
void GridNode::SetCullMode(uint32_t face)
{
    cullMode_ = face;
}

void GridNode::SetColor(uint32_t value)
{
    Poly3D::SetColor(value);
    for (size_t i = 0; i < colors_.size(); i += 4) {
        colors_[i + 0] = uint8_t(value >> 16);
        colors_[i + 1] = uint8_t(value >> 8);
        colors_[i + 2] = uint8_t(value);
    }
}

void* GridNode::GetTexCoords()
{
    const int32_t s = int32_t(texCoordScale);
    for (int32_t r = 0; r < rows; ++r) {
        // Row 0 is the sheet's top edge (its strips then face +z) and takes the texture's top row, t = 0.
        const int32_t t = int32_t(int64_t(r) * s / (rows - 1));
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t sc = int32_t(int64_t(c) * s / (columns - 1));
            int16_t* out = &texCoords_[(size_t(r) * columns + c) * 2];
            out[0] = tex_coord(double(sc) + offS);
            out[1] = tex_coord(double(t) + offT);
        }
    }
    return texCoords_.data();
}

uint32_t GridNode::GetPrimitiveType()
{
    return GL_QUAD_STRIP;
}
void* GridNode::GetVertices()
{
    return positions_.data();
}
bool GridNode::HasIndices()
{
    return true;
}
uint32_t GridNode::GetIndexType()
{
    return GL_UNSIGNED_SHORT;
}
int GridNode::GetBatchCount()
{
    return rows - 1;
}
int* GridNode::GetBatchCounts()
{
    return stripCounts_.data();
}
int* GridNode::GetBatchFirsts()
{
    return stripFirsts_.data();
}
void** GridNode::GetIndexPointers()
{
    return stripPointers_.data();
}
bool GridNode::HasColors()
{
    return !colors_.empty();
}
void* GridNode::GetColors()
{
    return colors_.empty() ? nullptr : colors_.data();
}
bool GridNode::HasTexture()
{
    return true;
}
uint32_t GridNode::GetTextureId()
{
    return textureId;
}
bool GridNode::IsCulled()
{
    return culled_;
}
uint32_t GridNode::GetCullMode()
{
    return cullMode_;
}
