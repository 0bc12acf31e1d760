// FlameMesh: a Poly3D that draws a flame description as N coloured points (GL points, point-sprite size
// batches) or as N camera-facing textured squares.
//
// The points come from a walk over the description's maps driven by a process-wide table of 2^18 legacy
// rand values: a warm-up of 150 steps, a first block of N mod 256 (+ 256 when N >= 256) points from the
// walk, then passes of 256 points, each made transform by transform from the 256 points of the block
// before it. Every point carries a brightness in [0.2, 1]; brightness picks its size batch.
//
// Contracts
//  - Sizes are scene units (GetPointSize; the square edge is largestSize). Colours come from the
//    palette's 256-entry table with alpha `alpha` (0..255).
//  - N is clamped to 0 .. kMaxPoints and the batch count to 1 .. kMaxBatches. Without memory for N points
//    the mesh is made with none (complete() false) and draws nothing.
//  - With useVertexBuffer (and a GL that has buffers) construction creates one GL buffer, the destructor
//    deletes it: construct and destroy with the GL context current. Geometry pointers are then offsets.
//  - Points are generated once (first GetVertices); squares mode lays the squares out again on every
//    GetVertices so they face the camera of the scene the mesh hangs in (RootNode3D::GetCam).
//  - SetOpacity rewrites only the alpha bytes; it never generates points.
//  - Reshape takes a new description into the same arrays and buffer (for flames that change every frame):
//    the points are generated again on the next GetVertices, which refills the vertex buffer.
#pragma once

#include "flame_description.h"
#include "flame_points.h"
#include "scene/poly3d.h"

#include <cstdint>
#include <memory>

namespace emberfold
{

constexpr int32_t kMaxPoints = 1 << 22;
constexpr int32_t kMaxBatches = 256;

struct FlameMeshSettings {
    int32_t pointCount = 0;
    int32_t colourMode = 0; // 1: a point's colour coordinate is averaged with the one before
    bool pointsMode = true;
    bool useVertexBuffer = false;
    bool animated = false; // stream-draw buffer usage
    int32_t alpha = 255;
    float largestSize = 0.01f;
    float smallestSize = 0.01f;
    int32_t batchCount = 1;
    uint32_t textureId = 0;
};

class FlameMesh : public Poly3D
{
public:
    struct alignas(16) Vertex {
        float x, y, z;
        uint8_t rgba[4];
    };

    FlameMesh(const FlameDescription& description, const FlameMeshSettings& settings);
    ~FlameMesh() override;
    FlameMesh(const FlameMesh&) = delete;
    FlameMesh& operator=(const FlameMesh&) = delete;

    uint32_t GetPrimitiveType() override; // GL_POINTS, or GL_QUADS for squares
    void* GetVertices() override;
    int GetVertexStride() override;
    bool HasIndices() override;
    int GetBatchCount() override;
    int* GetBatchCounts() override; // vertices per batch
    int* GetBatchFirsts() override;
    uint32_t GetIndexType() override;
    void** GetIndexPointers() override;
    uint32_t GetVertexBuffer() override;
    bool HasColors() override;
    void* GetColors() override;
    int GetColorStride() override;
    bool HasTexture() override;
    bool HasTexCoords() override;
    void* GetTexCoords() override;
    uint32_t GetTextureId() override;
    bool HasBatchPointSizes() override;
    float GetPointSize(int batch) override;
    void SetOpacity(int32_t opacity) override;

    // False when the point arrays could not be allocated: the mesh then holds no points and no batches.
    bool complete() const { return complete_; }

    // Generates the points now (GetVertices does it on first use).
    void Generate();

    // True when a mesh made with these settings would have the same arrays and buffer: the same point
    // count, points or squares, vertex-buffer use, buffer usage (animated) and batch count, after clamping.
    bool Fits(const FlameMeshSettings& settings) const;
    // The mesh as if made anew from description and settings, in place: colour mode, alpha, sizes and
    // texture are taken, blending is the default again, the points are generated again on the next
    // GetVertices. Only when Fits(settings).
    void Reshape(const FlameDescription& description, const FlameMeshSettings& settings);

    int32_t reserved = 0;
    std::unique_ptr<FlameDescription> flame; // the description as it was at construction
    int32_t colourMode;
    bool pointsMode;
    int32_t pointCount;
    int32_t alpha;
    float largestSize;
    float smallestSize;
    int32_t batchCount;
    bool generated = false;
    uint32_t textureId;
    std::unique_ptr<Vertex[]> vertices;   // batch order; 4 per point in squares mode
    std::unique_ptr<float[]> brightness;  // per point, generation order
    std::unique_ptr<uint8_t[]> bucket;    // per point batch, generation order
    std::unique_ptr<int16_t[]> texCoords; // squares mode: 8 per point
    std::unique_ptr<int32_t[]> batchSizes;
    uint32_t vertexBuffer = 0;
    bool animated;

private:
    Vertex* points() { return pointsMode ? vertices.get() : squareCentres_.get(); }
    void fillPalette();
    void defaultBlending();
    void sortIntoBatches(const Vertex* walk);
    void paint();
    void layOutSquares(const float corners[4][3]);
    void cornerOffsets(float corners[4][3]);
    void upload();

    std::unique_ptr<Vertex[]> squareCentres_; // squares mode: the points, in batch order
    std::unique_ptr<int32_t[]> batchCounts_;
    std::unique_ptr<int32_t[]> batchFirsts_;
    uint32_t palette_[256];
    bool bufferAllocated_ = false;
    bool complete_ = false;
    bool bufferRequested_; // settings.useVertexBuffer, whether or not the GL had buffers
};

} // namespace emberfold
