// GridNode: a texture stretched over a sheet of columns x rows points ('GRID' record), drawn as rows - 1
// quad strips. Point (r, c) takes texture coordinate (c / (columns - 1), r / (rows - 1)), so row 0 shows
// the top of the picture (t = 0, the 'TXTR' row order), shifted by offS and offT (units of 1/texCoordScale).
//
// The positions (and colours) are copied at construction: a grid whose points move is seen after the node
// is rebuilt. Only sheets of at least 2 x 2 points whose indices fit 16 bits can be drawn (is_drawable_grid).
#pragma once

#include "scene/poly3d.h"

#include <cstdint>
#include <vector>

class Texture;
struct TextureGridRecord;

class GridNode : public Poly3D
{
public:
    static constexpr int32_t kMaxPoints = 65536; // indices are GL_UNSIGNED_SHORT

    GridNode(const Texture& texture, const TextureGridRecord& grid); // grid must be drawable

    virtual void SetCulled(bool culled);
    virtual void SetCullMode(uint32_t face); // GL_FRONT or GL_BACK

    uint32_t GetPrimitiveType() override; // GL_QUAD_STRIP
    void* GetVertices() override;
    bool HasIndices() override;
    uint32_t GetIndexType() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    bool HasColors() override;
    void* GetColors() override;             // R, G, B, A per point
    void SetColor(uint32_t color) override; // also tints every point colour (alphas kept)
    bool HasTexture() override;
    void* GetTexCoords() override; // recomputed with the current offsets
    uint32_t GetTextureId() override;
    bool IsCulled() override;
    uint32_t GetCullMode() override;

    int32_t columns;
    int32_t rows;
    int32_t textureWidth;
    int32_t textureHeight;
    uint32_t textureId;
    float offS = 0; // added to every s, units of 1/texCoordScale
    float offT = 0;

private:
    std::vector<float> positions_;
    std::vector<int16_t> texCoords_;
    std::vector<uint16_t> indices_;
    std::vector<void*> stripPointers_;
    std::vector<uint8_t> colors_; // empty when the grid has no colours
    std::vector<int> stripCounts_;
    std::vector<int> stripFirsts_;
    uint32_t cullMode_;
    bool culled_ = false;
};

// True when a grid record can be shown: positions present, columns and rows at least 2 (the texture
// coordinates divide by columns - 1 and rows - 1) and at most GridNode::kMaxPoints points.
bool is_drawable_grid(const TextureGridRecord* grid);
