#include "swarm_store.h"

#include "common/resource_cache.h"
#include <cstring>
#include <new>
#include <scene/math3d.h>

namespace swarms
{

LegacyRand gRand;
ResourceCache* gCache = nullptr;

namespace
{

// What the plug-in keeps beside each record it makes. The colour array outlives drop_colors, so that a
// swarm rebuilt and coloured again every frame reuses it instead of allocating one per frame; r->colors
// is either null or colorStore.
struct StoredSwarm : SwarmRecord {
    uint8_t* colorStore = nullptr;
    int32_t colorCapacity = 0; // points
};

StoredSwarm* stored(SwarmRecord* r)
{
    return static_cast<StoredSwarm*>(r);
}

} // namespace

SwarmRecord* new_swarm(const char* name, bool staticFlag)
{
    if (!gCache)
        return nullptr;
    StoredSwarm* r = new StoredSwarm{};
    if (gCache->add(r, name, staticFlag) < 0) {
        delete r;
        return nullptr;
    }
    return r;
}

void free_swarm(void* record)
{
    StoredSwarm* r = stored(static_cast<SwarmRecord*>(record));
    delete[] r->positions;
    delete[] r->colorStore;
    delete[] r->orientations;
    delete r;
}

bool set_point_count(SwarmRecord* r, int32_t count, const char* effect)
{
    if (count != r->count) {
        delete[] r->positions;
        r->positions = nullptr;
        drop_colors(r);
        drop_orientations(r);
    }
    r->count = count;
    if (!r->positions && count > 0) {
        r->positions = new (std::nothrow) float[size_t(count) * 3];
        if (!r->positions) {
            r->count = 0;
            vortel::log("%s: not enough memory for %d points; the swarm is left empty\n", effect, count);
            return false;
        }
    }
    return true;
}

void drop_colors(SwarmRecord* r)
{
    r->colors = nullptr;
}

void drop_orientations(SwarmRecord* r)
{
    delete[] r->orientations;
    r->orientations = nullptr;
}

bool ensure_colors(SwarmRecord* r, const char* effect)
{
    StoredSwarm* s = stored(r);
    if (!r->colors && r->count > s->colorCapacity) {
        delete[] s->colorStore;
        s->colorStore = new (std::nothrow) uint8_t[size_t(r->count) * 4];
        s->colorCapacity = s->colorStore ? r->count : 0;
        if (!s->colorStore) {
            vortel::log("%s: not enough memory for the colours of %d points\n", effect, r->count);
            return false;
        }
    }
    if (!r->colors && r->count > 0)
        r->colors = s->colorStore;
    return r->colors || r->count == 0;
}

bool ensure_orientations(SwarmRecord* r, const char* effect)
{
    if (!r->orientations && r->count > 0) {
        r->orientations = new (std::nothrow) float[size_t(r->count) * 9];
        if (!r->orientations) {
            vortel::log("%s: not enough memory for the orientations of %d points\n", effect, r->count);
            return false;
        }
    }
    return r->orientations || r->count == 0;
}

void set_uniform_color(SwarmRecord* r, uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
{
    r->alpha = alpha;
    r->red = red;
    r->green = green;
    r->blue = blue;
}

void fill_identity(float* matrices, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        make_normal_mat(matrices + 9 * i);
}

void fill_color(uint8_t* colors, int32_t count, const uint8_t* argb)
{
    for (int32_t i = 0; i < count; ++i)
        std::memcpy(colors + 4 * i, argb, 4);
}

} // namespace swarms
