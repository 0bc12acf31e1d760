// QuadNode: a square mesh centred on the node's origin in its x-y plane, showing a whole texture.
// The texture's first row (t = 0, a picture's top row in every 'TXTR') lies along +y, its left column
// along -x, so the texture shows upright.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>

class QuadNode : public Poly3D
{
public:
    // textureId: a GL texture name the caller keeps alive for as long as the node is drawn.
    // edge: side length in scene units.
    QuadNode(uint32_t textureId, float edge);

    void SetEdge(float edge);

    uint32_t GetPrimitiveType() override; // GL_QUADS
    void* GetVertices() override { return vertices_; }
    bool HasIndices() override { return false; }
    int GetBatchCount() override { return 1; }
    int* GetBatchCounts() override { return &vertexCount_; }
    int* GetBatchFirsts() override { return &firstVertex_; }
    void** GetIndexPointers() override { return nullptr; }
    bool HasTexture() override { return true; }
    void* GetTexCoords() override { return texCoords_; }
    uint32_t GetTextureId() override { return textureId_; }
    uint32_t GetTextureType() override;                // GL_FLOAT
    float GetTexCoordScale() override { return 1.0f; } // the coordinates are plain 0..1

private:
    uint32_t textureId_;
    float vertices_[4 * 3];
    // Corners bottom left, bottom right, top right, top left.
    float texCoords_[4 * 2] = {0, 1, 1, 1, 1, 0, 0, 0};
    int vertexCount_ = 4;
    int firstVertex_ = 0;
};
