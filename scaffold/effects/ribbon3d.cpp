#include "effects/ribbon3d.h"

#include <GL/glew.h>

#include <algorithm>
#include <new>

namespace
{

constexpr float kHalfWidthUnit = 0.05f;

int32_t strips_for(int32_t points, int32_t perStrip)
{
    return int32_t((int64_t(points) + perStrip - 1) / perStrip);
}

} // namespace

Ribbon3D::~Ribbon3D()
{
    delete[] vertices_;
    delete[] colors_;
    delete[] counts_;
    delete[] firsts_;
}

Ribbon3D* Ribbon3D::Build(const SwarmRecord& swarm, int32_t width, int32_t pointsPerStrip)
{
    auto* ribbon = new Ribbon3D;
    if (!ribbon->Rebuild(swarm, width, pointsPerStrip)) {
        delete ribbon;
        return nullptr;
    }
    return ribbon;
}

bool Ribbon3D::HasPoints(const SwarmRecord& swarm)
{
    // Two vertices per point must stay countable in an int.
    return swarm.count > 0 && swarm.positions && swarm.count <= (1 << 29);
}

bool Ribbon3D::Rebuild(const SwarmRecord& swarm, int32_t width, int32_t pointsPerStrip)
{
    if (!HasPoints(swarm))
        return false;
    const int32_t n = swarm.count;
    const int32_t perStrip = std::min(std::max(pointsPerStrip, 2), n);
    const int32_t strips = strips_for(n, perStrip);
    // Everything that must grow is allocated before anything changes, so a refusal leaves the node whole.
    const bool growPoints = n > pointCapacity_;
    const bool growStrips = strips > stripCapacity_;
    float* vertices = growPoints ? new (std::nothrow) float[size_t(n) * 6] : vertices_;
    int* counts = growStrips ? new (std::nothrow) int[size_t(strips)] : counts_;
    int* firsts = growStrips ? new (std::nothrow) int[size_t(strips)] : firsts_;
    if (!vertices || !counts || !firsts) {
        if (growPoints)
            delete[] vertices;
        if (growStrips) {
            delete[] counts;
            delete[] firsts;
        }
        return false;
    }
    if (growPoints) {
        delete[] vertices_;
        vertices_ = vertices;
        pointCapacity_ = n;
    }
    if (growStrips) {
        delete[] counts_;
        delete[] firsts_;
        counts_ = counts;
        firsts_ = firsts;
        stripCapacity_ = strips;
    }

    pointCount_ = n;
    pointsPerStrip_ = perStrip;
    stripCount_ = strips;
    const float half = kHalfWidthUnit * float(width);
    for (int32_t j = 0; j < n; ++j) {
        const float* p = swarm.positions + size_t(j) * 3;
        float* v = vertices_ + size_t(j) * 6;
        v[0] = p[0], v[1] = p[1] - half, v[2] = p[2];
        v[3] = p[0], v[4] = p[1] + half, v[5] = p[2];
    }
    for (int32_t k = 0; k < strips; ++k) {
        firsts_[k] = 2 * perStrip * k;
        counts_[k] = 2 * std::min(perStrip, n - perStrip * k);
    }
    RefreshColors(swarm);
    return true;
}

bool Ribbon3D::RefreshColors(const SwarmRecord& swarm)
{
    if (swarm.count != pointCount_)
        return false;
    if (swarm.colors && pointCount_ > colorCapacity_) {
        delete[] colors_;
        colors_ = new (std::nothrow) uint8_t[size_t(pointCount_) * 8];
        colorCapacity_ = colors_ ? pointCount_ : 0;
    }
    // Without memory for vertex colours the ribbon falls back to the uniform colour.
    hasColors_ = swarm.colors && colors_;
    if (hasColors_) {
        for (int32_t j = 0; j < pointCount_; ++j) {
            const uint8_t* argb = swarm.colors + size_t(j) * 4;
            uint8_t* rgba = colors_ + size_t(j) * 8;
            rgba[0] = rgba[4] = argb[1];
            rgba[1] = rgba[5] = argb[2];
            rgba[2] = rgba[6] = argb[3];
            rgba[3] = rgba[7] = argb[0];
        }
    }
    SetColor((uint32_t(swarm.alpha) << 24) | (uint32_t(swarm.red) << 16) | (uint32_t(swarm.green) << 8) |
             uint32_t(swarm.blue));
    return true;
}

void Ribbon3D::SetOpacity(int32_t value)
{
    Poly3D::SetOpacity(value);
    color = (color & 0x00FFFFFFu) | (uint32_t(opacity) << 24);
    if (!hasColors_)
        return;
    for (int32_t v = 0; v < 2 * pointCount_; ++v)
        colors_[size_t(v) * 4 + 3] = uint8_t(opacity);
}

uint32_t Ribbon3D::GetPrimitiveType()
{
    return GL_QUAD_STRIP;
}
void* Ribbon3D::GetVertices()
{
    return vertices_;
}
bool Ribbon3D::HasIndices()
{
    return false;
}
int Ribbon3D::GetBatchCount()
{
    return stripCount_;
}
int* Ribbon3D::GetBatchCounts()
{
    return counts_;
}
int* Ribbon3D::GetBatchFirsts()
{
    return firsts_;
}
void** Ribbon3D::GetIndexPointers()
{
    return nullptr;
}
bool Ribbon3D::HasColors()
{
    return hasColors_;
}
void* Ribbon3D::GetColors()
{
    return hasColors_ ? colors_ : nullptr;
}
