// Mesh3D: an indexed triangle mesh built corner by corner (the model importer makes one per OBJ object),
// drawn as one GL_TRIANGLES batch with back faces culled, optionally with normals (lit) and texture
// coordinates (u, v floats, scale 1.0).
//
// Contracts
//  - A mesh either has normals on every vertex or on none, and likewise texture coordinates: the first
//    vertex decides. AddVertex/AddTriangle refuse corners that disagree (return -1 / false, mesh unchanged).
//  - Indices are 16-bit, so a mesh holds at most 65536 distinct vertices; a triangle that would need
//    more is refused. The number of indices (triangles) is not limited otherwise.
//  - Equal corners are shared: AddVertex returns the first vertex whose position (and normal and texture
//    coordinate) compare equal as floats (+0 equals -0, NaN equals nothing). The lookup is hashed, so
//    building is linear in the number of corners.
//  - With vertex-buffer objects (useBuffers, and the GL has them) the data is uploaded on the first
//    GetVertices after a change; the Get* answers are then byte offsets into the bound buffers. The
//    constructor and the destructor need the GL context when buffers are used.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>
#include <vector>

class Mesh3D : public Poly3D
{
public:
    static constexpr int kMaxVertices = 65536;

    explicit Mesh3D(bool useBuffers);
    ~Mesh3D() override;
    Mesh3D(const Mesh3D&) = delete;
    Mesh3D& operator=(const Mesh3D&) = delete;

    // position: 3 floats; texCoord: 2 floats or null; normal: 3 floats or null. Returns the vertex index,
    // or -1 when refused (see above).
    int AddVertex(const float* position, const float* texCoord, const float* normal);
    // Adds the triangle (p0, p1, p2) with per-corner texture coordinates and normals (all three or none
    // of each). Returns false, leaving the mesh unchanged, when refused.
    bool AddTriangle(const float* p0, const float* t0, const float* n0, const float* p1, const float* t1,
                     const float* n1, const float* p2, const float* t2, const float* n2);

    int GetVertexCount() const { return vertexCount_; }
    int GetIndexCount() const { return indexCount_; }

    uint32_t GetPrimitiveType() override; // GL_TRIANGLES
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    uint32_t GetVertexBuffer() override;
    uint32_t GetIndexBuffer() override;
    bool HasTexture() override; // true when the mesh has texture coordinates
    void* GetTexCoords() override;
    uint32_t GetTextureId() override;   // the material's texture when it has one, else textureId
    uint32_t GetTextureType() override; // GL_FLOAT
    bool IsCulled() override;
    bool HasNormals() override;
    void* GetNormals() override;

    uint32_t textureId = 0; // GL texture name used when no material gives one; not owned

private:
    struct Corner {
        const float* position;
        const float* texCoord;
        const float* normal;
    };
    bool fitsLayout(const Corner& corner) const;
    bool sameCorner(const Corner& a, const Corner& b) const;
    bool matches(int vertex, const Corner& corner) const;
    uint32_t hashOf(const Corner& corner) const;
    int find(const Corner& corner, uint32_t hash) const;
    void remember(int vertex, uint32_t hash);
    void upload();

    std::vector<float> positions_;
    int vertexCount_ = 0;
    std::vector<uint16_t> indices_;
    int indexCount_ = 0;
    std::vector<float> normals_;   // empty when the mesh has none
    std::vector<float> texCoords_; // empty when the mesh has none
    bool hasNormals_ = false;
    bool hasTexCoords_ = false;
    uint32_t vertexBuffer_ = 0;
    uint32_t indexBuffer_ = 0;
    bool buffersFilled_ = false;

    std::vector<int32_t> lookup_;  // open-addressing table of vertex indices, -1 = empty
    std::vector<uint32_t> hashes_; // per vertex, so the table can grow without rehashing the data
    int first_ = 0;
    void* indexPointer_ = nullptr;
};
