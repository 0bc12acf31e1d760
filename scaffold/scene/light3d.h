// Light3D: a positional light at the node's world position. Colours are 0xAARRGGBB.
//
// Virtual slots after those of Node3D (0-3): 4 SetAmbient, 5 GetAmbient, 6 SetDiffuse, 7 GetDiffuse,
// 8 SetSpecular, 9 GetSpecular. The attenuation factors are written directly.
#pragma once

#include "scene/node3d.h"

#include <cstdint>

class Light3D : public Node3D
{
public:
    Light3D(); // ambient 0xff101010, diffuse 0xff808080, specular 0xffffffff, attenuation 1, 0, 0

    int GetType() const override;             // kNodeTypeLight
    void Accept(Visitor3D& visitor) override; // VisitLight(this)

    virtual void SetAmbient(uint32_t color);
    virtual uint32_t GetAmbient() const;
    virtual void SetDiffuse(uint32_t color);
    virtual uint32_t GetDiffuse() const;
    virtual void SetSpecular(uint32_t color);
    virtual uint32_t GetSpecular() const;

    uint32_t ambient;
    uint32_t diffuse;
    uint32_t specular;
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
};
