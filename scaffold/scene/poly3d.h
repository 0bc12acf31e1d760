// Poly3D: the scene-graph leaf that the RenderVisitor draws. It stores no geometry of its own; it is an
// interface through which the renderer asks a mesh what to draw and how. Concrete meshes override what
// they have and inherit the defaults below for the rest.
//
// Contracts
//  - The virtual operations are part of the binary interface shared with other plug-ins that derive their
//    own meshes: their order and signatures never change.
//  - Pointers handed out (vertices, colours, normals, texture coordinates, index lists, batch counts and
//    firsts) point into the mesh's own storage and stay valid until the mesh changes or is destroyed.
//    When the mesh uses vertex-buffer objects they are byte offsets into the bound buffer instead.
//  - GL enums travel as uint32_t so that this header needs no GL header.
//  - Colours are 0xAARRGGBB; per-vertex colour arrays are 4 bytes per vertex in memory order R, G, B, A.
//  - `material` is not owned.
#pragma once

#include "scene/material_record.h"
#include "scene/node3d.h"

#include <cstdint>

class Poly3D : public Node3D
{
public:
    Poly3D();
    ~Poly3D() override;

    int GetType() const override;             // kNodeTypePoly (2) for every mesh
    void Accept(Visitor3D& visitor) override; // VisitPoly(this)

    // [SECTION] Geometry
    virtual uint32_t GetPrimitiveType() = 0; // GL primitive, 0 = GL_POINTS
    virtual void* GetVertices() = 0;         // x, y, z floats, or an offset into GetVertexBuffer()
    virtual int GetVertexStride();           // bytes; default 0 (tightly packed)
    virtual bool HasIndices() = 0;
    virtual int GetBatchCount() = 0;       // number of draw batches
    virtual int* GetBatchCounts() = 0;     // per batch: vertex count, or index count when indexed
    virtual int* GetBatchFirsts() = 0;     // per batch: first vertex (unindexed batches)
    virtual uint32_t GetIndexType();       // default GL_UNSIGNED_SHORT
    virtual void** GetIndexPointers() = 0; // per batch: index array, or offset into GetIndexBuffer()
    virtual uint32_t GetVertexBuffer();    // GL buffer name, 0 = none (default)
    virtual uint32_t GetIndexBuffer();     // GL buffer name, 0 = none (default)

    // [SECTION] Colour
    virtual bool HasColors();  // per-vertex colours; default false
    virtual void* GetColors(); // default null
    virtual void SetColor(uint32_t color);
    virtual uint32_t GetColor();     // (opacity << 24) | (color & 0x00ffffff)
    virtual int GetColorStride();    // bytes; default 0
    virtual uint32_t GetColorMask(); // bit 2 red, bit 1 green, bit 0 blue, bit 3 alpha; default 15

    // [SECTION] Texture
    virtual bool HasTexture();         // default false
    virtual bool HasTexCoords();       // default HasTexture()
    virtual void* GetTexCoords();      // 2 values per vertex, or a buffer offset; default 0
    virtual uint32_t GetTextureId();   // GL texture name; default 0
    virtual uint32_t GetTextureType(); // GL type of the coordinates; default GL_SHORT
    virtual float GetTexCoordScale();  // coordinates are divided by this; default texCoordScale

    // [SECTION] Point sprites
    virtual bool HasBatchPointSizes();     // every batch is a sprite batch of its own size; default false
    virtual float GetPointSize(int batch); // scene units; default 10

    // [SECTION] Blending
    virtual bool IsTransparant(); // drawn after the opaque meshes, back to front
    virtual bool NeedsBlending();
    virtual uint32_t GetBlendEquation();
    virtual uint32_t GetBlendSrc();
    virtual uint32_t GetBlendDst();
    virtual void SetOpacity(int32_t opacity); // clamped to 0..255
    virtual void SetBlendEquation(uint32_t equation);
    virtual void SetBlendSrc(uint32_t factor);
    virtual void SetBlendDst(uint32_t factor);

    // [SECTION] Culling, lighting, shaders
    virtual bool IsCulled();            // default false
    virtual uint32_t GetCullMode();     // default GL_BACK
    virtual bool HasNormals();          // default false; normals switch lighting on
    virtual void* GetNormals();         // x, y, z floats, or a buffer offset; default 0
    virtual int GetNormalStride();      // bytes; default 0
    virtual bool UsesShaders();         // default false (program 0 is bound)
    virtual uint32_t GetProgram();      // GL program name; default 0
    virtual void SetShaderParameters(); // called after the program is bound; default nothing

    uint32_t color = 0xffffffff; // its alpha byte is ignored: opacity gives the alpha of GetColor
    int32_t opacity = 255;
    uint32_t blendSrc = 1;           // GL_ONE
    uint32_t blendDst = 0;           // GL_ZERO
    uint32_t blendEquation = 0x8006; // GL_FUNC_ADD
    int32_t forceOpaque = 0;         // non-zero: never transparent (may still blend)
    float texCoordScale = 2048.0f;   // GL_SHORT coordinates with 2048 = 1.0
    MaterialRecord* material = nullptr;
};
