// FlatRect3D: a flat rectangle in the node's x-y plane, centred on its origin, drawn as one GL_QUADS batch.
// The corners follow `width` and `height` (scene units, halved by integer division) on every draw.
#pragma once

#include "scene/poly3d.h"

class FlatRect3D : public Poly3D
{
public:
    FlatRect3D(int width, int height, uint32_t color);

    uint32_t GetPrimitiveType() override;
    void* GetVertices() override; // rewritten from width and height on every call
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;

    int width;
    int height;
    float vertices[4 * 3];

private:
    int vertexCount_ = 4;
    int first_ = 0;
};
