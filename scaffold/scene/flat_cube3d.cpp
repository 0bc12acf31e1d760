#include "scene/flat_cube3d.h"

#include "scene/math3d.h"
#include "scene/math3d_internal.h"

#include <GL/glew.h>

void compute_strip_normals(const float* vertices, const uint16_t* const* strips, int stripCount,
                           const int* stripCounts, int vertexCount, float* normalsOut)
{
    // Walking the triangles once and updating their corners gives every vertex its triangles in the same
    // order as walking all strips once per vertex would, so the running means come out the same.
    int* seen = new int[size_t(vertexCount > 0 ? vertexCount : 0)]();
    for (int v = 0; v < 3 * vertexCount; ++v)
        normalsOut[v] = 0;
    auto accumulate = [&](int v, const float* n) {
        const float count = float(seen[v]);
        float* mean = normalsOut + 3 * v;
        for (int c = 0; c < 3; ++c)
            mean[c] = n[c] / (count + 1) + mean[c] * count / (count + 1);
        ++seen[v];
    };
    for (int s = 0; s < stripCount; ++s) {
        const uint16_t* strip = strips[s];
        for (int j = 2; j < stripCounts[s]; ++j) {
            int a = strip[j - 2], b = strip[j - 1], c = strip[j];
            if (j % 2 == 1) {
                const int t = b;
                b = c;
                c = t;
            }
            if (a >= vertexCount || b >= vertexCount || c >= vertexCount)
                continue;
            float ab[3], ac[3], n[3];
            sub_vectors(vertices + 3 * b, vertices + 3 * a, ab);
            sub_vectors(vertices + 3 * c, vertices + 3 * a, ac);
            cross_product(ab, ac, n);
            unit_vector_self(n);
            accumulate(a, n);
            if (b != a)
                accumulate(b, n);
            if (c != a && c != b)
                accumulate(c, n);
        }
    }
    delete[] seen;
}

FlatCube3D::FlatCube3D(int size, uint32_t color)
{
    SetColor(color);
    const float s = float(size);
    // Per face: which axis is fixed, its sign, and the two running axes (j outer, k inner).
    struct Face {
        int fixed, sign, jAxis, kAxis;
        uint16_t order[4];
    };
    static const Face faces[6] = {
        {0, -1, 1, 2, {0, 1, 2, 3}}, {0, 1, 1, 2, {0, 2, 1, 3}}, {2, 1, 0, 1, {0, 2, 1, 3}},
        {2, -1, 0, 1, {0, 1, 2, 3}}, {1, 1, 0, 2, {0, 1, 2, 3}}, {1, -1, 0, 2, {0, 2, 1, 3}},
    };
    int v = 0;
    for (int f = 0; f < 6; ++f) {
        const Face& face = faces[f];
        for (int j = -1; j <= 1; j += 2) {
            for (int k = -1; k <= 1; k += 2, ++v) {
                float* p = vertices + 3 * v;
                p[face.fixed] = s * float(face.sign);
                p[face.jAxis] = s * float(j);
                p[face.kAxis] = s * float(k);
            }
        }
        for (int i = 0; i < 4; ++i)
            strips[f][i] = uint16_t(4 * f + face.order[i]);
        stripPointers[f] = strips[f];
        stripCounts[f] = 4;
    }
    const uint16_t* stripList[6] = {strips[0], strips[1], strips[2], strips[3], strips[4], strips[5]};
    compute_strip_normals(vertices, stripList, 6, stripCounts, 24, normals);
}

uint32_t FlatCube3D::GetPrimitiveType()
{
    return GL_TRIANGLE_STRIP;
}
void* FlatCube3D::GetVertices()
{
    return vertices;
}
bool FlatCube3D::HasIndices()
{
    return true;
}
int FlatCube3D::GetBatchCount()
{
    return 6;
}
int* FlatCube3D::GetBatchCounts()
{
    return stripCounts;
}
int* FlatCube3D::GetBatchFirsts()
{
    return firsts_;
}
void** FlatCube3D::GetIndexPointers()
{
    return stripPointers;
}
bool FlatCube3D::IsCulled()
{
    return true;
}
bool FlatCube3D::HasNormals()
{
    return true;
}
void* FlatCube3D::GetNormals()
{
    return normals;
}
bool FlatCube3D::UsesShaders()
{
    return true;
}
uint32_t FlatCube3D::GetProgram()
{
    return 0;
}
