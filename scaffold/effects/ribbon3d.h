// Ribbon3D: a band through the points of a swarm, drawn as GL_QUAD_STRIP batches. Each point j gives two
// vertices, (x, y - 0.05 w, z) and (x, y + 0.05 w, z), so the band is 0.1 w scene units high along y.
// The points are cut into strips of `pointsPerStrip` points (the last one shorter); consecutive strips
// are not joined, so the band has a gap between them.
//
// Contracts
//  - Made through Build and refilled through Rebuild, both copying the swarm's positions: later moves of
//    the swarm's points need a Rebuild. The swarm record is not kept.
//  - Rebuild keeps the node and its arrays; it allocates only when the swarm has more points (or the
//    ribbon more strips) than any build of this node before, so a swarm of steady size is followed without
//    touching the heap. Pointers from GetVertices, GetColors and the batch arrays stay valid until then.
//  - Colours: with per-point colours the ribbon has vertex colours (bytes R, G, B, A; the swarm's are
//    A, R, G, B), else one colour 0xAARRGGBB from the swarm's uniform bytes. SetOpacity (clamped to
//    0..255) writes the alpha of that colour and of every vertex colour.
#pragma once

#include "scene/poly3d.h"

#include <cstdint>
#include <vortel/records.h>

class Ribbon3D : public Poly3D
{
public:
    // A ribbon over the swarm's points, or null when the swarm has no points (nothing to draw) or memory
    // runs out. width in scene units x 10; pointsPerStrip is raised to 2 and lowered to the point count.
    static Ribbon3D* Build(const SwarmRecord& swarm, int32_t width, int32_t pointsPerStrip);
    // Whether the swarm has points a ribbon can be built over (1 .. 2^29 of them, with positions): when it
    // has and Build still gives null, memory ran out.
    static bool HasPoints(const SwarmRecord& swarm);
    ~Ribbon3D() override;
    Ribbon3D(const Ribbon3D&) = delete;
    Ribbon3D& operator=(const Ribbon3D&) = delete;

    // Gives this node the vertices, strips and colours that Build(swarm, width, pointsPerStrip) would give
    // a new one; placement and blending are kept, and the colours' alpha is the swarm's: call SetOpacity
    // after it. False, with the node unchanged, when Build would give null.
    bool Rebuild(const SwarmRecord& swarm, int32_t width, int32_t pointsPerStrip);

    // Copies the swarm's colours again (per-point colours to both vertices of each point, or the uniform
    // colour, dropping vertex colours the swarm no longer has), alpha included: call SetOpacity after it.
    // False, with nothing changed, when the swarm's point count is not the ribbon's: rebuild it.
    bool RefreshColors(const SwarmRecord& swarm);

    uint32_t GetPrimitiveType() override; // GL_QUAD_STRIP
    void* GetVertices() override;
    bool HasIndices() override;
    int GetBatchCount() override; // StripCount()
    int* GetBatchCounts() override;
    int* GetBatchFirsts() override;
    void** GetIndexPointers() override;
    bool HasColors() override;
    void* GetColors() override;
    void SetOpacity(int32_t opacity) override;

    int32_t PointCount() const { return pointCount_; }
    int32_t PointsPerStrip() const { return pointsPerStrip_; }
    int32_t StripCount() const { return stripCount_; }

private:
    Ribbon3D() = default;

    int32_t pointCount_ = 0;
    int32_t pointsPerStrip_ = 0;
    int32_t stripCount_ = 0;
    // Capacities, in points and strips, of the arrays below; they only grow.
    int32_t pointCapacity_ = 0;
    int32_t colorCapacity_ = 0;
    int32_t stripCapacity_ = 0;
    bool hasColors_ = false;

    float* vertices_ = nullptr; // 2 per point, x y z each
    uint8_t* colors_ = nullptr; // 2 per point, R G B A each; kept while unused, read only with hasColors_
    int* counts_ = nullptr;     // per strip
    int* firsts_ = nullptr;     // per strip
};
