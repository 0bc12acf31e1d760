#include "scene/flat_triangle3d.h"

#include <GL/glew.h>

FlatTriangle3D::FlatTriangle3D(int base, int height, uint32_t color) : height(height), base(base), vertices{}
{
    SetColor(color);
}

uint32_t FlatTriangle3D::GetPrimitiveType()
{
    return GL_TRIANGLES;
}

void* FlatTriangle3D::GetVertices()
{
    const float hb = float(base / 2);
    const float corners[3 * 3] = {0, float(height), 0, hb, 0, 0, -hb, 0, 0};
    for (int i = 0; i < 9; ++i)
        vertices[i] = corners[i];
    return vertices;
}

bool FlatTriangle3D::HasIndices()
{
    return false;
}
int FlatTriangle3D::GetBatchCount()
{
    return 1;
}
int* FlatTriangle3D::GetBatchCounts()
{
    return &vertexCount_;
}
int* FlatTriangle3D::GetBatchFirsts()
{
    return &first_;
}
void** FlatTriangle3D::GetIndexPointers()
{
    return nullptr;
}
