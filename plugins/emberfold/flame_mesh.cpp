// [SECTION] Construction and GL buffer
// [SECTION] Generation and layout
// [SECTION] Poly3D answers
#include "flame_mesh.h"

#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>
#include <algorithm>
#include <cstring>
#include <new>

namespace emberfold
{

namespace
{

int32_t clamp_int(int32_t v, int32_t low, int32_t high)
{
    return v < low ? low : (v > high ? high : v);
}

// Points are generated in walk order into this buffer and copied out batch by batch. It is kept from
// mesh to mesh (effects run on the main thread only), so meshes rebuilt every frame do not fault in
// fresh pages for it each time. Each mesh reserves its points when it is made, so generating (which
// happens while the scene is drawn) never allocates.
std::unique_ptr<FlameMesh::Vertex[]> gGenerationBuffer;
int32_t gGenerationCapacity = 0;

bool reserve_generation_buffer(int32_t count)
{
    if (count <= gGenerationCapacity)
        return true;
    FlameMesh::Vertex* grown = new (std::nothrow) FlameMesh::Vertex[size_t(count)];
    if (!grown)
        return false;
    gGenerationBuffer.reset(grown);
    gGenerationCapacity = count;
    return true;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Construction and GL buffer
//-----------------------------------------------------------------------------

FlameMesh::FlameMesh(const FlameDescription& description, const FlameMeshSettings& s)
    : flame(new FlameDescription(description)), colourMode(s.colourMode), pointsMode(s.pointsMode),
      pointCount(clamp_int(s.pointCount, 0, kMaxPoints)), alpha(clamp_int(s.alpha, 0, 255)),
      largestSize(s.largestSize), smallestSize(s.smallestSize),
      batchCount(clamp_int(s.batchCount, 1, kMaxBatches)), textureId(s.textureId), animated(s.animated),
      bufferRequested_(s.useVertexBuffer)
{
    defaultBlending();
    fillPalette();
    random_table();

    // Every point and vertex is written before it is read, so the large arrays start uninitialised. Their
    // size comes from the effect's point count: without memory for all of them the mesh holds no points.
    const size_t n = size_t(pointCount);
    vertices.reset(new (std::nothrow) Vertex[pointsMode ? n : 4 * n]);
    if (!pointsMode) {
        squareCentres_.reset(new (std::nothrow) Vertex[n]);
        texCoords.reset(new (std::nothrow) int16_t[8 * n]);
    }
    brightness.reset(new (std::nothrow) float[n]);
    bucket.reset(new (std::nothrow) uint8_t[n]);
    batchSizes.reset(new (std::nothrow) int32_t[size_t(batchCount)]());
    batchCounts_.reset(new (std::nothrow) int32_t[size_t(batchCount)]());
    batchFirsts_.reset(new (std::nothrow) int32_t[size_t(batchCount)]());
    complete_ = vertices && brightness && bucket && batchSizes && batchCounts_ && batchFirsts_ &&
                (pointsMode || (squareCentres_ && texCoords)) && reserve_generation_buffer(pointCount);
    if (!complete_) {
        pointCount = 0;
        batchCount = 0;
        return;
    }
    if (!pointsMode) {
        const int16_t S = int16_t(texCoordScale);
        // The corners run bottom left, bottom right, top right, top left (cornerOffsets); t = 0 is the
        // texture's top row, so the texture stands upright on every square.
        const int16_t corners[8] = {0, S, S, S, S, 0, 0, 0};
        for (size_t i = 0; i < n; ++i)
            for (int k = 0; k < 8; ++k)
                texCoords[8 * i + k] = corners[k];
    }
    if (s.useVertexBuffer && glGenBuffersARB)
        glGenBuffersARB(1, &vertexBuffer);
}

FlameMesh::~FlameMesh()
{
    if (vertexBuffer != 0 && glDeleteBuffersARB)
        glDeleteBuffersARB(1, &vertexBuffer);
}

bool FlameMesh::Fits(const FlameMeshSettings& s) const
{
    return clamp_int(s.pointCount, 0, kMaxPoints) == pointCount && s.pointsMode == pointsMode &&
           s.useVertexBuffer == bufferRequested_ && s.animated == animated &&
           clamp_int(s.batchCount, 1, kMaxBatches) == batchCount;
}

void FlameMesh::Reshape(const FlameDescription& description, const FlameMeshSettings& s)
{
    *flame = description;
    colourMode = s.colourMode;
    alpha = clamp_int(s.alpha, 0, 255);
    largestSize = s.largestSize;
    smallestSize = s.smallestSize;
    textureId = s.textureId;
    defaultBlending();
    fillPalette();
    generated = false;
}

// Squares and points are added onto what is drawn, whatever the blending of the mesh before.
void FlameMesh::defaultBlending()
{
    blendSrc = GL_SRC_ALPHA;
    blendDst = GL_ONE;
    blendEquation = GL_FUNC_ADD;
}

void FlameMesh::fillPalette()
{
    flame->palette.FillPalette(palette_, 256, false);
    for (uint32_t& colour : palette_)
        colour = (colour & 0x00ffffffu) | (uint32_t(alpha) << 24);
}

// Leaves the buffer bound: the renderer has bound it already and reads the arrays from it next.
void FlameMesh::upload()
{
    if (vertexBuffer == 0)
        return;
    const size_t n = size_t(pointCount);
    const size_t vertexBytes = (pointsMode ? 16 : 64) * n;
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
    if (!bufferAllocated_) {
        const GLenum usage = (animated || !pointsMode) ? GL_STREAM_DRAW_ARB : GL_STATIC_DRAW_ARB;
        glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(pointsMode ? 16 * n : 80 * n), nullptr, usage);
        bufferAllocated_ = true;
        // Squares keep their texture coordinates for life; only their corners move with the camera.
        if (!pointsMode)
            glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, GLintptrARB(vertexBytes), GLsizeiptrARB(16 * n),
                               texCoords.get());
    }
    glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(vertexBytes), vertices.get());
}

//-----------------------------------------------------------------------------
// [SECTION] Generation and layout
//-----------------------------------------------------------------------------

void FlameMesh::Generate()
{
    if (generated)
        return;
    static_assert(sizeof(Vertex) == 4 * sizeof(float), "a point is generated as four floats");
    Vertex* walk = gGenerationBuffer.get();
    const FlamePoints out{reinterpret_cast<float*>(walk), brightness.get(), bucket.get()};
    generate_flame_points(*flame, pointCount, colourMode, batchCount, out);
    sortIntoBatches(walk);
    paint();
    generated = true;
}

// Batches in order 0 .. B-1, each batch's points in walk order (a stable counting sort).
void FlameMesh::sortIntoBatches(const Vertex* walk)
{
    for (int32_t k = 0; k < batchCount; ++k)
        batchSizes[k] = 0;
    for (int32_t i = 0; i < pointCount; ++i)
        ++batchSizes[bucket[i]];
    const int32_t perPoint = pointsMode ? 1 : 4;
    int32_t next[kMaxBatches];
    for (int32_t k = 0, first = 0; k < batchCount; ++k) {
        next[k] = first;
        batchFirsts_[k] = first * perPoint;
        batchCounts_[k] = batchSizes[k] * perPoint;
        first += batchSizes[k];
    }
    Vertex* sorted = points();
    if (batchCount == 1) {
        std::copy(walk, walk + pointCount, sorted); // no points: walk is null, and nothing is copied
        return;
    }
    for (int32_t i = 0; i < pointCount; ++i)
        sorted[next[bucket[i]]++] = walk[i];
}

// The colour coordinate in each point's colour slot becomes the palette colour's bytes R, G, B, A.
void FlameMesh::paint()
{
    Vertex* p = points();
    for (int32_t i = 0; i < pointCount; ++i) {
        float coordinate;
        std::memcpy(&coordinate, p[i].rgba, sizeof coordinate);
        const uint32_t c = palette_[palette_index(coordinate)]; // 0xAABBGGRR
        p[i].rgba[0] = uint8_t(c);
        p[i].rgba[1] = uint8_t(c >> 8);
        p[i].rgba[2] = uint8_t(c >> 16);
        p[i].rgba[3] = uint8_t(c >> 24);
    }
}

void FlameMesh::layOutSquares(const float corners[4][3])
{
    const Vertex* p = squareCentres_.get();
    Vertex* v = vertices.get();
    for (int32_t i = 0; i < pointCount; ++i, ++p)
        for (int k = 0; k < 4; ++k, ++v) {
            *v = *p;
            v->x += corners[k][0];
            v->y += corners[k][1];
            v->z += corners[k][2];
        }
}

// Corner offsets in mesh space that appear as an upright square of edge largestSize to the viewer:
// the inverse of (view * mesh world) applied to (+-h, +-h, 0).
void FlameMesh::cornerOffsets(float corners[4][3])
{
    float world[9];
    copy_mat(matrix, world);
    int depth = 0;
    for (GroupNode3D* group = parent; group && depth < kMaxGroupDepth; group = group->parent, ++depth)
        mul_mat_mat_self(group->matrix, world);
    RootNode3D* root = GetRoot();
    Camera3D* camera = root ? root->GetCam() : nullptr;
    if (camera) {
        float view[9];
        inverse(camera->worldMatrix, view);
        mul_mat_mat_self(view, world);
    }
    float facing[9];
    inverse(world, facing);
    const float h = largestSize / 2;
    const float square[4][3] = {{-h, -h, 0}, {h, -h, 0}, {h, h, 0}, {-h, h, 0}};
    for (int k = 0; k < 4; ++k)
        mul_mat_vec(square[k], facing, corners[k]);
}

void* FlameMesh::GetVertices()
{
    const bool fresh = !generated;
    Generate();
    if (!pointsMode) {
        float corners[4][3];
        cornerOffsets(corners);
        layOutSquares(corners);
        upload();
    } else if (fresh) {
        upload();
    } else if (vertexBuffer != 0) {
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
    }
    return vertexBuffer != 0 ? nullptr : vertices.get();
}

void FlameMesh::SetOpacity(int32_t value)
{
    alpha = clamp_int(value, 0, 255);
    fillPalette();
    const size_t vertexCount = size_t(pointCount) * (pointsMode ? 1 : 4);
    if (!generated)
        return; // the points take the new alpha when they are made
    for (size_t i = 0; i < vertexCount; ++i)
        vertices[i].rgba[3] = uint8_t(alpha);
    if (!pointsMode)
        for (int32_t i = 0; i < pointCount; ++i)
            squareCentres_[i].rgba[3] = uint8_t(alpha);
    if (vertexBuffer != 0 && bufferAllocated_) {
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
        glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(16 * vertexCount), vertices.get());
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Poly3D answers
//-----------------------------------------------------------------------------

uint32_t FlameMesh::GetPrimitiveType()
{
    return pointsMode ? GL_POINTS : GL_QUADS;
}
int FlameMesh::GetVertexStride()
{
    return 16;
}
bool FlameMesh::HasIndices()
{
    return false;
}
int FlameMesh::GetBatchCount()
{
    return batchCount;
}
int* FlameMesh::GetBatchCounts()
{
    return batchCounts_.get();
}
int* FlameMesh::GetBatchFirsts()
{
    return batchFirsts_.get();
}
uint32_t FlameMesh::GetIndexType()
{
    return GL_UNSIGNED_SHORT;
}
void** FlameMesh::GetIndexPointers()
{
    return nullptr;
}
uint32_t FlameMesh::GetVertexBuffer()
{
    return vertexBuffer;
}
bool FlameMesh::HasColors()
{
    return true;
}
void* FlameMesh::GetColors()
{
    if (vertexBuffer != 0)
        return reinterpret_cast<void*>(uintptr_t(12));
    return reinterpret_cast<uint8_t*>(vertices.get()) + 12;
}
int FlameMesh::GetColorStride()
{
    return 16;
}
bool FlameMesh::HasTexture()
{
    return true;
}
bool FlameMesh::HasTexCoords()
{
    return !pointsMode;
}
void* FlameMesh::GetTexCoords()
{
    if (vertexBuffer != 0)
        return reinterpret_cast<void*>(uintptr_t(64) * uintptr_t(pointCount));
    return texCoords.get();
}
uint32_t FlameMesh::GetTextureId()
{
    return textureId;
}
bool FlameMesh::HasBatchPointSizes()
{
    return true;
}
float FlameMesh::GetPointSize(int batch)
{
    if (batchCount < 2)
        return largestSize;
    return smallestSize + (largestSize - smallestSize) * float(batch) / float(batchCount - 1);
}

} // namespace emberfold
