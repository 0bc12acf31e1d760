#include "image3d.h"
#include "tex_coord.h"

#include "scene/texture.h"

#include <GL/glew.h>

Image3D::Image3D(Texture* texture) : Image3D(texture->id, texture->width, texture->height) {}

Image3D::Image3D(uint32_t textureId_, int32_t width_, int32_t height_)
    : width(width_), height(height_), textureId(textureId_), vertices{}
{
    const int16_t s = int16_t(int32_t(texCoordScale));
    const int16_t defaults[8] = {0, 0, s, 0, s, s, 0, s};
    for (int i = 0; i < 8; ++i)
        texCoords[i] = defaults[i];
}

void Image3D::SetTexture(Texture* texture)
{
    textureId = texture->id;
    width = texture->width;
    height = texture->height;
}

void Image3D::SetTexArray(float a, float b, float c, float d)
{
    const float s = float(int32_t(texCoordScale));
    const float corners[8] = {a, b + d, a + c, b + d, a + c, b, a, b};
    for (int i = 0; i < 8; ++i)
        texCoords[i] = tex_coord(double(corners[i]) * s);
}

uint32_t Image3D::GetPrimitiveType()
{
    return GL_QUADS;
}

void* Image3D::GetVertices()
{
    const float hw = float(width) / 2.0f;
    const float hh = float(height) / 2.0f;
    const float corners[12] = {-hw, hh, 0, hw, hh, 0, hw, -hh, 0, -hw, -hh, 0};
    for (int i = 0; i < 12; ++i)
        vertices[i] = corners[i];
    return vertices;
}

bool Image3D::HasIndices()
{
    return false;
}
int Image3D::GetBatchCount()
{
    return 1;
}
int* Image3D::GetBatchCounts()
{
    return &batchCount_;
}
int* Image3D::GetBatchFirsts()
{
    return &batchFirst_;
}
void** Image3D::GetIndexPointers()
{
    return nullptr;
}
uint32_t Image3D::GetIndexType()
{
    return GL_UNSIGNED_SHORT;
}
bool Image3D::HasColors()
{
    return false;
}
bool Image3D::HasTexture()
{
    return true;
}
bool Image3D::HasTexCoords()
{
    return true;
}
void* Image3D::GetTexCoords()
{
    return texCoords;
}
uint32_t Image3D::GetTextureId()
{
    return textureId;
}
uint32_t Image3D::GetColor()
{
    return (uint32_t(opacity) << 24) | 0x00FFFFFFu;
}
uint32_t Image3D::GetColorMask()
{
    return uint32_t(colorMask);
}
