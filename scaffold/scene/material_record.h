// A lighting material shared between meshes. Records are created and owned by the material caches of the
// basic effects; meshes only point at them and never free them.
#pragma once

#include <cstdint>

struct MaterialRecord {
    float ambient[4];  // RGBA, 0..1
    float diffuse[4];  // RGBA, 0..1
    float specular[4]; // RGBA, 0..1
    float opacity;     // kept from the model file; the renderer does not use it
    float shininess;   // passed to GL as GL_SHININESS
    int32_t illuminationModel;
    uint32_t textureName;      // GL texture name, 0 = none (Mesh3D draws with it when set)
    char textureFileName[256]; // zero-terminated; recorded by the model importer, never loaded
};
static_assert(sizeof(MaterialRecord) == 16 * 4 + 256,
              "MaterialRecord layout: 16 numeric fields, then the name");
