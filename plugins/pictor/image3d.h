// Image3D: a texture shown on a flat quad the size of the texture in scene units (one unit per pixel),
// centred on the node's origin in its x-y plane, always drawn white with the node's opacity as alpha.
// The default texture coordinates put t = 0 along the top edge (+y), so a 'TXTR' shows upright.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>

class Texture;

class Image3D : public Poly3D
{
public:
    explicit Image3D(Texture* texture); // size and GL name from the texture (not owned, not kept)
    Image3D(uint32_t textureId, int32_t width, int32_t height);

    // Shows another texture (or the same one, resized) on this node: size and GL name are taken again,
    // texture coordinates, placement and blending are kept. The texture is not owned, not kept.
    void SetTexture(Texture* texture);

    // Shows the texture rectangle with corner (a, b) and size (c, d), in texture coordinates 0..1:
    // vertex 0 <- (a, b + d), 1 <- (a + c, b + d), 2 <- (a + c, b), 3 <- (a, b). Note that (0, 0, 1, 1)
    // gives the default coordinates mirrored top to bottom.
    void SetTexArray(float a, float b, float c, float d);

    uint32_t GetPrimitiveType() override; // GL_QUADS
    // (-w/2, h/2, 0), (w/2, h/2, 0), (w/2, -h/2, 0), (-w/2, -h/2, 0)
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    uint32_t GetIndexType() override;
    bool HasColors() override;
    bool HasTexture() override;
    bool HasTexCoords() override;
    void* GetTexCoords() override;
    uint32_t GetTextureId() override;
    uint32_t GetColor() override; // (opacity << 24) | 0x00FFFFFF
    uint32_t GetColorMask() override;

    int32_t width;
    int32_t height;
    uint32_t textureId;
    float vertices[4 * 3];
    int16_t texCoords[4 * 2]; // units of 1/texCoordScale
    int32_t colorMask = 15;   // bit 3 alpha, bit 2 red, bit 1 green, bit 0 blue

private:
    int batchCount_ = 4;
    int batchFirst_ = 0;
};
