// [SECTION] Construction and GL buffer
// [SECTION] Generation and layout
// [SECTION] Poly3D answers
#include "flame_mesh.h"

#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>

namespace emberfold
{

namespace
{

int32_t clamp_int(int32_t v, int32_t low, int32_t high)
{
    return v < low ? low : (v > high ? high : v);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Construction and GL buffer
//-----------------------------------------------------------------------------

FlameMesh::FlameMesh(const FlameDescription& description, const FlameMeshSettings& s)
    : flame(new FlameDescription(description)), colourMode(s.colourMode), pointsMode(s.pointsMode),
      pointCount(clamp_int(s.pointCount, 0, kMaxPoints)), alpha(clamp_int(s.alpha, 0, 255)),
      largestSize(s.largestSize), smallestSize(s.smallestSize),
      batchCount(clamp_int(s.batchCount, 1, kMaxBatches)), textureId(s.textureId), animated(s.animated)
{
    blendSrc = GL_SRC_ALPHA;
    blendDst = GL_ONE;
    flame->palette.FillPalette(palette_, 256, false);
    for (uint32_t& colour : palette_)
        colour = (colour & 0x00ffffffu) | (uint32_t(alpha) << 24);
    random_table();

    const size_t n = size_t(pointCount);
    const size_t vertexCount = pointsMode ? n : 4 * n;
    vertices.reset(new Vertex[vertexCount]());
    brightness.reset(new float[n]());
    bucket.reset(new uint8_t[n]());
    batchSizes.reset(new int32_t[size_t(batchCount)]());
    batchCounts_.reset(new int32_t[size_t(batchCount)]());
    batchFirsts_.reset(new int32_t[size_t(batchCount)]());
    positions_.reset(new float[3 * n]());
    colourCoords_.reset(new float[n]());
    order_.reset(new int32_t[n]());
    if (!pointsMode) {
        texCoords.reset(new int16_t[8 * n]);
        const int16_t S = int16_t(texCoordScale);
        const int16_t corners[8] = {0, 0, 0, S, S, S, S, 0};
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
    }
    glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(vertexBytes), vertices.get());
    if (!pointsMode)
        glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, GLintptrARB(vertexBytes), GLsizeiptrARB(16 * n),
                           texCoords.get());
}

//-----------------------------------------------------------------------------
// [SECTION] Generation and layout
//-----------------------------------------------------------------------------

void FlameMesh::Generate()
{
    if (generated)
        return;
    const FlamePoints out{positions_.get(), colourCoords_.get(), brightness.get(), bucket.get()};
    generate_flame_points(*flame, pointCount, colourMode, batchCount, out);

    // Batches in order 0 .. B-1, each batch's points in generation order.
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
    for (int32_t i = 0; i < pointCount; ++i)
        order_[next[bucket[i]]++] = i;
    generated = true;
    if (pointsMode) {
        const float none[4][3] = {};
        layOut(none);
    }
}

void FlameMesh::layOut(const float corners[4][3])
{
    const int32_t perPoint = pointsMode ? 1 : 4;
    Vertex* v = vertices.get();
    for (int32_t slot = 0; slot < pointCount; ++slot) {
        const int32_t i = order_[slot];
        const float* p = positions_.get() + 3 * i;
        const uint32_t colour = palette_[palette_index(colourCoords_[i])]; // 0xAABBGGRR
        for (int32_t k = 0; k < perPoint; ++k, ++v) {
            v->x = p[0] + corners[k][0];
            v->y = p[1] + corners[k][1];
            v->z = p[2] + corners[k][2];
            v->rgba[0] = uint8_t(colour);
            v->rgba[1] = uint8_t(colour >> 8);
            v->rgba[2] = uint8_t(colour >> 16);
            v->rgba[3] = uint8_t(colour >> 24);
        }
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
        layOut(corners);
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
    for (uint32_t& colour : palette_)
        colour = (colour & 0x00ffffffu) | (uint32_t(alpha) << 24);
    const size_t vertexCount = size_t(pointCount) * (pointsMode ? 1 : 4);
    for (size_t i = 0; i < vertexCount; ++i)
        vertices[i].rgba[3] = uint8_t(alpha);
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
