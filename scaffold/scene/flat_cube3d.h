// FlatCube3D: a cube of edge 2*size centred on the node's origin, drawn as six indexed GL_TRIANGLE_STRIP
// batches (one per face) with per-vertex normals, so it is lit. Faces are wound counter-clockwise seen
// from outside and back faces are culled. Geometry is built once, in the constructor.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>

// Smooth per-vertex normals of indexed triangle strips. Triangle j >= 2 of a strip is (i[j-2], i[j-1],
// i[j]) with its last two corners swapped for odd j, so all triangles of a strip share one winding. Each
// vertex gets the running mean of the unit normals of the triangles that use it (not renormalised);
// a vertex no triangle uses gets (0, 0, 0). Triangles naming a vertex outside 0 .. vertexCount-1 are
// skipped. normalsOut holds 3 floats per vertex.
void compute_strip_normals(const float* vertices, const uint16_t* const* strips, int stripCount,
                           const int* stripCounts, int vertexCount, float* normalsOut);

class FlatCube3D : public Poly3D
{
public:
    FlatCube3D(int size, uint32_t color);

    uint32_t GetPrimitiveType() override; // GL_TRIANGLE_STRIP
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override; // 6
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    bool IsCulled() override; // true, GL_BACK
    bool HasNormals() override;
    void* GetNormals() override;
    bool UsesShaders() override; // true with program 0: the fixed-function pipeline
    uint32_t GetProgram() override;

    float vertices[24 * 3];
    uint16_t strips[6][4];
    void* stripPointers[6];
    int stripCounts[6];
    float normals[24 * 3];

private:
    int firsts_[6] = {};
};
