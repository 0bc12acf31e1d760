// FlatTriangle3D: a flat triangle in the node's x-y plane with its base on the x axis, centred on the
// origin, and its apex at (0, height), drawn as one GL_TRIANGLES batch. The corners follow `base` and
// `height` (scene units; the base halved by integer division) on every draw.
#pragma once

#include "scene/poly3d.h"

class FlatTriangle3D : public Poly3D
{
public:
    FlatTriangle3D(int base, int height, uint32_t color);

    uint32_t GetPrimitiveType() override;
    void* GetVertices() override; // rewritten from base and height on every call
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;

    int height;
    int base;
    float vertices[3 * 3];

private:
    int vertexCount_ = 3;
    int first_ = 0;
};
