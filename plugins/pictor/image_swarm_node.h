// ImageSwarmNode: one picture of a texture at each of n swarm points, either as point sprites (one vertex
// per point) or as texture-sized quads facing the node's z axis. Quad j (0-based) is scaled by
// 1 + (j + 1) * growth, so a swarm can fan out into growing copies.
//
// The positions are copied at construction: a swarm that moves is seen after the node is rebuilt.
// Colours come from the swarm's per-point colours (bytes A, R, G, B), or the uniform colour when it has none.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>
#include <vector>

class Texture;

class ImageSwarmNode : public Poly3D
{
public:
    // positions: at least first + n points of x, y, z; colors: null or as many points of A, R, G, B.
    ImageSwarmNode(const Texture& texture, int32_t n, int32_t first, bool sprites, const float* positions,
                   const uint8_t* colors, uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue,
                   float growth);

    // Refills the per-vertex colours from colors (the swarm's array from point 0; null: drop them and use
    // the uniform colour).
    void RefreshColors(const uint8_t* colors, uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);

    uint32_t GetPrimitiveType() override; // GL_POINTS for sprites, GL_QUADS otherwise
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    bool HasColors() override;
    void* GetColors() override;                // R, G, B, A per vertex
    uint32_t GetColor() override;              // the uniform colour 0xAARRGGBB
    void SetOpacity(int32_t opacity) override; // alpha of the uniform colour and of every vertex colour
    bool HasTexture() override;
    bool HasTexCoords() override; // quads only: sprites take their coordinates from GL
    void* GetTexCoords() override;
    uint32_t GetTextureId() override;

    int32_t count;
    int32_t width;
    int32_t height;
    uint32_t textureId;
    bool sprites;

private:
    int verticesPerPoint() const { return sprites ? 1 : 4; }

    std::vector<float> vertices_;
    std::vector<uint8_t> colors_; // empty: uniform colour
    std::vector<int16_t> texCoords_;
    uint32_t uniformColor_;
    int32_t first_;
    int vertexCount_;
    int batchFirst_ = 0;
};
