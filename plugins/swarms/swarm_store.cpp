#include "swarm_store.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <effects/resource_cache.h>
#include <new>
#include <scene/math3d.h>

namespace swarms
{

Services gServices;
LegacyRand gRand;
ResourceCache* gCache = nullptr;

void log_message(const char* format, ...)
{
    if (!gServices.Log)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    gServices.Log(text);
}

SwarmRecord* new_swarm(const char* name, bool staticFlag)
{
    if (!gCache)
        return nullptr;
    SwarmRecord* r = new SwarmRecord{};
    if (gCache->add(r, name, staticFlag) < 0) {
        delete r;
        return nullptr;
    }
    return r;
}

void free_swarm(void* record)
{
    SwarmRecord* r = static_cast<SwarmRecord*>(record);
    delete[] r->positions;
    delete[] r->colors;
    delete[] r->orientations;
    delete r;
}

bool set_point_count(SwarmRecord* r, int32_t count)
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
            log_message("Swarms: not enough memory for %d points; the swarm is left empty\n", count);
            return false;
        }
    }
    return true;
}

void drop_colors(SwarmRecord* r)
{
    delete[] r->colors;
    r->colors = nullptr;
}

void drop_orientations(SwarmRecord* r)
{
    delete[] r->orientations;
    r->orientations = nullptr;
}

bool ensure_colors(SwarmRecord* r)
{
    if (!r->colors && r->count > 0) {
        r->colors = new (std::nothrow) uint8_t[size_t(r->count) * 4];
        if (!r->colors) {
            log_message("Swarms: not enough memory for the colours of %d points\n", r->count);
            return false;
        }
    }
    return r->colors || r->count == 0;
}

bool ensure_orientations(SwarmRecord* r)
{
    if (!r->orientations && r->count > 0) {
        r->orientations = new (std::nothrow) float[size_t(r->count) * 9];
        if (!r->orientations) {
            log_message("Swarms: not enough memory for the orientations of %d points\n", r->count);
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
