#include "scene/flat_oval3d.h"

#include "scene/math3d.h"

#include <GL/glew.h>

static int clampSegments(int segments)
{
    if (segments < FlatOval3D::kMinSegments)
        return FlatOval3D::kMinSegments;
    return segments > FlatOval3D::kMaxSegments ? FlatOval3D::kMaxSegments : segments;
}

FlatOval3D::FlatOval3D(int rx, int ry, int segments, float roundness, uint32_t color)
    : rx(rx), ry(ry), segments(clampSegments(segments)), roundness(roundness),
      vertexCount(4 * this->segments + 2)
{
    SetColor(color);
}

FlatOval3D::~FlatOval3D()
{
    delete[] vertices;
}

uint32_t FlatOval3D::GetPrimitiveType()
{
    return GL_TRIANGLE_FAN;
}

void* FlatOval3D::GetVertices()
{
    if (!vertices)
        buildVertices();
    return vertices;
}

void FlatOval3D::buildVertices()
{
    const int n = segments;
    vertices = new float[size_t(vertexCount) * 3](); // the centre and every z stay 0
    const float x = float(rx), y = float(ry), k = roundness;
    const float quarter[4 * 3] = {x, 0, 0, x, k * y, 0, k * x, y, 0, 0, y, 0};
    Get_Bezier3D(quarter, 3, 4, n + 1, vertices + 3, 3);

    // Each further quarter mirrors the one before it, walked backwards, so the rim runs on around.
    auto mirror = [this](int dst, int src, int axis) {
        float* d = vertices + 3 * dst;
        const float* s = vertices + 3 * src;
        d[0] = s[0];
        d[1] = s[1];
        d[axis] = -s[axis];
    };
    for (int i = 0; i < n; ++i)
        mirror(n + 2 + i, n - i, 0);
    for (int i = 0; i < n; ++i)
        mirror(2 * n + 2 + i, 2 * n - i, 1);
    for (int i = 0; i < n; ++i)
        mirror(3 * n + 2 + i, 3 * n - i, 0);
}

bool FlatOval3D::HasIndices()
{
    return false;
}
int FlatOval3D::GetBatchCount()
{
    return 1;
}
int* FlatOval3D::GetBatchCounts()
{
    return &vertexCount;
}
int* FlatOval3D::GetBatchFirsts()
{
    return &first;
}
void** FlatOval3D::GetIndexPointers()
{
    return nullptr;
}
