// AxisMarker3D: a coordinate cross that shows where a node sits while a demo is being made. Three long
// axis lines (±10000 scene units) through the node's origin in colorX, colorY and colorZ, plus a grey
// line from the origin towards the parent's origin, drawn as GL_LINES with per-vertex colours.
// Copy the watched node's `matrix` and `position` into the marker's to place it.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>

class AxisMarker3D : public Poly3D
{
public:
    AxisMarker3D(uint32_t colorX, uint32_t colorY, uint32_t colorZ); // 0xAARRGGBB

    uint32_t GetPrimitiveType() override; // GL_LINES
    void* GetVertices() override;         // rebuilds vertices and colours from the node's current transform
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    bool HasColors() override;
    void* GetColors() override; // R, G, B, A bytes per vertex, as of the last GetVertices

    uint32_t colorX;
    uint32_t colorY;
    uint32_t colorZ;
    float vertices[8 * 3];
    uint8_t colors[8 * 4];

private:
    int vertexCount_ = 8;
    int first_ = 0;
};
