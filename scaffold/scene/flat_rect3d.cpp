#include "scene/flat_rect3d.h"

#include <GL/glew.h>

FlatRect3D::FlatRect3D(int width, int height, uint32_t color) : width(width), height(height), vertices{}
{
    SetColor(color);
}

uint32_t FlatRect3D::GetPrimitiveType()
{
    return GL_QUADS;
}

void* FlatRect3D::GetVertices()
{
    const float hw = float(width / 2), hh = float(height / 2);
    const float corners[4 * 3] = {-hw, hh, 0, hw, hh, 0, hw, -hh, 0, -hw, -hh, 0};
    for (int i = 0; i < 12; ++i)
        vertices[i] = corners[i];
    return vertices;
}

bool FlatRect3D::HasIndices()
{
    return false;
}
int FlatRect3D::GetBatchCount()
{
    return 1;
}
int* FlatRect3D::GetBatchCounts()
{
    return &vertexCount_;
}
int* FlatRect3D::GetBatchFirsts()
{
    return &first_;
}
void** FlatRect3D::GetIndexPointers()
{
    return nullptr;
}
