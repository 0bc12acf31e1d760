#include "scene/axis_marker3d.h"

#include "scene/math3d.h"

#include <GL/glew.h>

AxisMarker3D::AxisMarker3D(uint32_t colorX, uint32_t colorY, uint32_t colorZ)
    : colorX(colorX), colorY(colorY), colorZ(colorZ), vertices{}, colors{}
{
}

uint32_t AxisMarker3D::GetPrimitiveType()
{
    return GL_LINES;
}

void* AxisMarker3D::GetVertices()
{
    const float axes[6 * 3] = {-10000, 0,     0, 10000, 0, 0,      0, -10000, 0,
                               0,      10000, 0, 0,     0, -10000, 0, 0,      10000};
    for (int i = 0; i < 18; ++i)
        vertices[i] = axes[i];
    vertices[18] = vertices[19] = vertices[20] = 0;

    // The parent's origin in the marker's own space, ignoring rotation: -position shrunk by the scale.
    const float unitX[3] = {1, 0, 0};
    float scaledX[3];
    mul_mat_vec(unitX, matrix, scaledX);
    const float scale = vector_length(scaledX);
    for (int c = 0; c < 3; ++c)
        vertices[21 + c] = scale != 0 ? -position[c] / scale : -position[c];

    const uint32_t perVertex[8] = {colorX, colorX, colorY, colorY, colorZ, colorZ, 0xffa0a0a0, 0xffa0a0a0};
    for (int v = 0; v < 8; ++v) {
        colors[4 * v + 0] = uint8_t(perVertex[v] >> 16);
        colors[4 * v + 1] = uint8_t(perVertex[v] >> 8);
        colors[4 * v + 2] = uint8_t(perVertex[v]);
        colors[4 * v + 3] = uint8_t(perVertex[v] >> 24);
    }
    return vertices;
}

bool AxisMarker3D::HasIndices()
{
    return false;
}
int AxisMarker3D::GetBatchCount()
{
    return 1;
}
int* AxisMarker3D::GetBatchCounts()
{
    return &vertexCount_;
}
int* AxisMarker3D::GetBatchFirsts()
{
    return &first_;
}
void** AxisMarker3D::GetIndexPointers()
{
    return nullptr;
}
bool AxisMarker3D::HasColors()
{
    return true;
}
void* AxisMarker3D::GetColors()
{
    return colors;
}
