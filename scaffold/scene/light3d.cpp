#include "scene/light3d.h"

#include "scene/visitor3d.h"

Light3D::Light3D()
    : ambient(0xff101010u), diffuse(0xff808080u), specular(0xffffffffu), constantAttenuation(1.0f),
      linearAttenuation(0.0f), quadraticAttenuation(0.0f)
{
}

int Light3D::GetType() const
{
    return kNodeTypeLight;
}

void Light3D::Accept(Visitor3D& visitor)
{
    visitor.VisitLight(this);
}

void Light3D::SetAmbient(uint32_t color)
{
    ambient = color;
}

uint32_t Light3D::GetAmbient() const
{
    return ambient;
}

void Light3D::SetDiffuse(uint32_t color)
{
    diffuse = color;
}

uint32_t Light3D::GetDiffuse() const
{
    return diffuse;
}

void Light3D::SetSpecular(uint32_t color)
{
    specular = color;
}

uint32_t Light3D::GetSpecular() const
{
    return specular;
}
