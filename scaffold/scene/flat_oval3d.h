// FlatOval3D: a flat oval (an ellipse with rounded or squarer sides) in the node's x-y plane, centred on
// its origin, drawn as one GL_TRIANGLE_FAN around the centre.
//
// The rim is four mirrored copies of one cubic Bezier quarter from (rx, 0) to (0, ry) with control points
// (rx, k*ry) and (k*rx, ry), k = roundness (about 0.55 gives an ellipse). The fan has 4*segments + 2
// vertices: the centre, then the rim, closing on its first rim vertex.
//
// The vertex array is built on the first GetVertices call and kept: later changes of rx, ry, segments or
// roundness have no effect.
#pragma once

#include "scene/poly3d.h"

class FlatOval3D : public Poly3D
{
public:
    static constexpr int kMinSegments = 2;
    static constexpr int kMaxSegments = 65536;

    // segments is clamped to kMinSegments .. kMaxSegments (segments per quarter of the rim).
    FlatOval3D(int rx, int ry, int segments, float roundness, uint32_t color);
    ~FlatOval3D() override;
    FlatOval3D(const FlatOval3D&) = delete;
    FlatOval3D& operator=(const FlatOval3D&) = delete;

    uint32_t GetPrimitiveType() override;
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;

    int rx;
    int ry;
    int segments;
    float roundness;
    int vertexCount;
    int first = 0;
    float* vertices = nullptr; // owned; null until the first GetVertices

private:
    void buildVertices();
};
