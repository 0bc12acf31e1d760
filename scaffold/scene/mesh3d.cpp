#include "scene/mesh3d.h"

#include <GL/glew.h>
#include <climits>
#include <cstring>

namespace
{

// Float equality treats +0 and -0 as equal, so the hash must see them as the same bits.
uint32_t canonicalBits(float f)
{
    if (f == 0.0f)
        return 0;
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

uint32_t rotl(uint32_t x, int r)
{
    return (x << r) | (x >> (32 - r));
}

// MurmurHash3's 32-bit block step and finaliser.
void hashWords(uint32_t& h, const float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        uint32_t k = canonicalBits(values[i]) * 0xcc9e2d51u;
        k = rotl(k, 15) * 0x1b873593u;
        h = rotl(h ^ k, 13) * 5 + 0xe6546b64u;
    }
}

uint32_t finish(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    return h ^ (h >> 16);
}

bool equalFloats(const float* a, const float* b, int count)
{
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i]))
            return false;
    return true;
}

void* bufferOffset(size_t bytes)
{
    return reinterpret_cast<void*>(bytes);
}

} // namespace

Mesh3D::Mesh3D(bool useBuffers) : lookup_(64, -1)
{
    texCoordScale = 1.0f;
    // Without the extension the mesh falls back to plain arrays rather than calling a null entry point.
    if (useBuffers && glGenBuffersARB) {
        GLuint names[2] = {0, 0};
        glGenBuffersARB(2, names);
        vertexBuffer_ = names[0];
        indexBuffer_ = names[1];
    }
}

Mesh3D::~Mesh3D()
{
    if (vertexBuffer_ != 0 || indexBuffer_ != 0) {
        const GLuint names[2] = {vertexBuffer_, indexBuffer_};
        glDeleteBuffersARB(2, names);
    }
}

bool Mesh3D::fitsLayout(const Corner& corner) const
{
    return (corner.normal != nullptr) == hasNormals_ && (corner.texCoord != nullptr) == hasTexCoords_;
}

bool Mesh3D::sameCorner(const Corner& a, const Corner& b) const
{
    return equalFloats(a.position, b.position, 3) &&
           (!hasTexCoords_ || equalFloats(a.texCoord, b.texCoord, 2)) &&
           (!hasNormals_ || equalFloats(a.normal, b.normal, 3));
}

bool Mesh3D::matches(int vertex, const Corner& corner) const
{
    const Corner stored = {&positions_[3 * size_t(vertex)],
                           hasTexCoords_ ? &texCoords_[2 * size_t(vertex)] : nullptr,
                           hasNormals_ ? &normals_[3 * size_t(vertex)] : nullptr};
    return sameCorner(stored, corner);
}

uint32_t Mesh3D::hashOf(const Corner& corner) const
{
    uint32_t h = 0x2545f491u;
    hashWords(h, corner.position, 3);
    if (hasTexCoords_)
        hashWords(h, corner.texCoord, 2);
    if (hasNormals_)
        hashWords(h, corner.normal, 3);
    return finish(h);
}

int Mesh3D::find(const Corner& corner, uint32_t hash) const
{
    const size_t mask = lookup_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const int32_t vertex = lookup_[slot];
        if (vertex < 0)
            return -1;
        if (hashes_[size_t(vertex)] == hash && matches(vertex, corner))
            return vertex;
    }
}

void Mesh3D::remember(int vertex, uint32_t hash)
{
    // Kept at most half full so probe runs stay short.
    if (size_t(vertexCount_) * 2 > lookup_.size()) {
        lookup_.assign(lookup_.size() * 2, -1);
        for (int v = 0; v < vertexCount_; ++v)
            if (v != vertex)
                remember(v, hashes_[size_t(v)]);
    }
    const size_t mask = lookup_.size() - 1;
    size_t slot = hash & mask;
    while (lookup_[slot] >= 0)
        slot = (slot + 1) & mask;
    lookup_[slot] = vertex;
}

int Mesh3D::AddVertex(const float* position, const float* texCoord, const float* normal)
{
    if (!position)
        return -1;
    const Corner corner = {position, texCoord, normal};
    if (vertexCount_ == 0) {
        hasNormals_ = normal != nullptr;
        hasTexCoords_ = texCoord != nullptr;
    }
    if (!fitsLayout(corner))
        return -1;
    const uint32_t hash = hashOf(corner);
    const int existing = find(corner, hash);
    if (existing >= 0)
        return existing;
    if (vertexCount_ >= kMaxVertices)
        return -1;

    positions_.insert(positions_.end(), position, position + 3);
    if (hasTexCoords_)
        texCoords_.insert(texCoords_.end(), texCoord, texCoord + 2);
    if (hasNormals_)
        normals_.insert(normals_.end(), normal, normal + 3);
    hashes_.push_back(hash);
    const int vertex = vertexCount_++;
    remember(vertex, hash);
    buffersFilled_ = false;
    return vertex;
}

bool Mesh3D::AddTriangle(const float* p0, const float* t0, const float* n0, const float* p1, const float* t1,
                         const float* n1, const float* p2, const float* t2, const float* n2)
{
    const Corner corners[3] = {{p0, t0, n0}, {p1, t1, n1}, {p2, t2, n2}};
    for (const Corner& c : corners) {
        if (!c.position || (c.texCoord != nullptr) != (t0 != nullptr) ||
            (c.normal != nullptr) != (n0 != nullptr))
            return false;
    }
    if (indexCount_ > INT_MAX - 3)
        return false;
    if (vertexCount_ == 0) {
        hasNormals_ = n0 != nullptr;
        hasTexCoords_ = t0 != nullptr;
    } else if (!fitsLayout(corners[0])) {
        return false;
    }

    // Refuse before changing anything when the new corners would not fit in 16-bit indices.
    int newVertices = 0;
    bool isNew[3];
    for (int i = 0; i < 3; ++i) {
        isNew[i] = find(corners[i], hashOf(corners[i])) < 0;
        for (int j = 0; j < i && isNew[i]; ++j)
            if (isNew[j] && sameCorner(corners[i], corners[j]))
                isNew[i] = false;
        newVertices += isNew[i];
    }
    if (vertexCount_ + newVertices > kMaxVertices)
        return false;

    for (const Corner& c : corners)
        indices_.push_back(uint16_t(AddVertex(c.position, c.texCoord, c.normal)));
    indexCount_ += 3;
    buffersFilled_ = false;
    return true;
}

void Mesh3D::upload()
{
    const size_t n = size_t(vertexCount_);
    const size_t positionBytes = 12 * n, normalBytes = hasNormals_ ? 12 * n : 0;
    const size_t texBytes = hasTexCoords_ ? 8 * n : 0;
    // Whoever called us keeps the bindings they had.
    GLint boundVertices = 0, boundIndices = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &boundVertices);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING_ARB, &boundIndices);

    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer_);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(positionBytes + normalBytes + texBytes), nullptr,
                    GL_STATIC_DRAW_ARB);
    glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(positionBytes), positions_.data());
    if (normalBytes)
        glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, GLintptrARB(positionBytes), GLsizeiptrARB(normalBytes),
                           normals_.data());
    if (texBytes)
        glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, GLintptrARB(positionBytes + normalBytes),
                           GLsizeiptrARB(texBytes), texCoords_.data());
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer_);
    glBufferDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, GLsizeiptrARB(2 * size_t(indexCount_)), indices_.data(),
                    GL_STATIC_DRAW_ARB);

    glBindBufferARB(GL_ARRAY_BUFFER_ARB, GLuint(boundVertices));
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, GLuint(boundIndices));
    buffersFilled_ = true;
}

uint32_t Mesh3D::GetPrimitiveType()
{
    return GL_TRIANGLES;
}

void* Mesh3D::GetVertices()
{
    if (vertexBuffer_ == 0)
        return positions_.data();
    if (!buffersFilled_)
        upload();
    return bufferOffset(0);
}

bool Mesh3D::HasIndices()
{
    return true;
}
int Mesh3D::GetBatchCount()
{
    return 1;
}
int* Mesh3D::GetBatchCounts()
{
    return &indexCount_;
}
int* Mesh3D::GetBatchFirsts()
{
    return &first_;
}

void** Mesh3D::GetIndexPointers()
{
    indexPointer_ = indexBuffer_ != 0 ? bufferOffset(0) : static_cast<void*>(indices_.data());
    return &indexPointer_;
}

uint32_t Mesh3D::GetVertexBuffer()
{
    return vertexBuffer_;
}
uint32_t Mesh3D::GetIndexBuffer()
{
    return indexBuffer_;
}
bool Mesh3D::HasTexture()
{
    return hasTexCoords_;
}

void* Mesh3D::GetTexCoords()
{
    if (!hasTexCoords_)
        return nullptr;
    if (vertexBuffer_ != 0)
        return bufferOffset(12 * size_t(vertexCount_) * (hasNormals_ ? 2 : 1));
    return texCoords_.data();
}

uint32_t Mesh3D::GetTextureId()
{
    if (material && material->textureName != 0)
        return material->textureName;
    return textureId;
}

uint32_t Mesh3D::GetTextureType()
{
    return GL_FLOAT;
}
bool Mesh3D::IsCulled()
{
    return true;
}
bool Mesh3D::HasNormals()
{
    return hasNormals_;
}

void* Mesh3D::GetNormals()
{
    if (!hasNormals_)
        return nullptr;
    if (vertexBuffer_ != 0)
        return bufferOffset(12 * size_t(vertexCount_));
    return normals_.data();
}
