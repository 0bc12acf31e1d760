#include "scene/poly3d.h"

#include "scene/visitor3d.h"

#include <GL/glew.h>

Poly3D::Poly3D() = default;
Poly3D::~Poly3D() = default;

int Poly3D::GetType() const
{
    return kNodeTypePoly;
}
void Poly3D::Accept(Visitor3D& visitor)
{
    visitor.VisitPoly(this);
}

int Poly3D::GetVertexStride()
{
    return 0;
}
uint32_t Poly3D::GetIndexType()
{
    return GL_UNSIGNED_SHORT;
}
uint32_t Poly3D::GetVertexBuffer()
{
    return 0;
}
uint32_t Poly3D::GetIndexBuffer()
{
    return 0;
}

bool Poly3D::HasColors()
{
    return false;
}
void* Poly3D::GetColors()
{
    return nullptr;
}
void Poly3D::SetColor(uint32_t newColor)
{
    color = newColor;
}
uint32_t Poly3D::GetColor()
{
    return (uint32_t(opacity) << 24) | (color & 0x00ffffffu);
}
int Poly3D::GetColorStride()
{
    return 0;
}
uint32_t Poly3D::GetColorMask()
{
    return 15;
}

bool Poly3D::HasTexture()
{
    return false;
}
bool Poly3D::HasTexCoords()
{
    return HasTexture();
}
void* Poly3D::GetTexCoords()
{
    return nullptr;
}
uint32_t Poly3D::GetTextureId()
{
    return 0;
}
uint32_t Poly3D::GetTextureType()
{
    return GL_SHORT;
}
float Poly3D::GetTexCoordScale()
{
    return texCoordScale;
}

bool Poly3D::HasBatchPointSizes()
{
    return false;
}
float Poly3D::GetPointSize(int)
{
    return 10.0f;
}

bool Poly3D::IsTransparant()
{
    if (forceOpaque != 0)
        return false;
    if (blendDst != GL_ZERO)
        return true;
    // Factors that read the frame buffer make the result depend on what was drawn before.
    return blendSrc == GL_DST_ALPHA || blendSrc == GL_ONE_MINUS_DST_ALPHA || blendSrc == GL_DST_COLOR ||
           blendSrc == GL_ONE_MINUS_DST_COLOR;
}

bool Poly3D::NeedsBlending()
{
    return blendDst != GL_ZERO || blendSrc != GL_ONE;
}
uint32_t Poly3D::GetBlendEquation()
{
    return blendEquation;
}
uint32_t Poly3D::GetBlendSrc()
{
    return blendSrc;
}
uint32_t Poly3D::GetBlendDst()
{
    return blendDst;
}

void Poly3D::SetOpacity(int32_t newOpacity)
{
    opacity = newOpacity < 0 ? 0 : (newOpacity > 255 ? 255 : newOpacity);
}

void Poly3D::SetBlendEquation(uint32_t equation)
{
    blendEquation = equation;
}
void Poly3D::SetBlendSrc(uint32_t factor)
{
    blendSrc = factor;
}
void Poly3D::SetBlendDst(uint32_t factor)
{
    blendDst = factor;
}

bool Poly3D::IsCulled()
{
    return false;
}
uint32_t Poly3D::GetCullMode()
{
    return GL_BACK;
}
bool Poly3D::HasNormals()
{
    return false;
}
void* Poly3D::GetNormals()
{
    return nullptr;
}
int Poly3D::GetNormalStride()
{
    return 0;
}
bool Poly3D::UsesShaders()
{
    return false;
}
uint32_t Poly3D::GetProgram()
{
    return 0;
}
void Poly3D::SetShaderParameters() {}
