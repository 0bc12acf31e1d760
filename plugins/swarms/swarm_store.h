// The Swarms plug-in's shared state: its own legacy rand, the swarm cache ("SwarmsCache") and the
// operations on a SwarmRecord's arrays. The player's services, the log and the texts come from the plug-in
// helper (vortel/plugin_helper.h).
//
// Records are made only here (new_swarm) and freed only by the cache (free_swarm), never by consumers.
// Array contract: positions and orientations hold exactly `count` entries whenever they are not null,
// colors at least `count` (it may be an array kept from a larger swarm), and no record ever holds more
// than kMaxSwarmPoints points, so every index and size computed from a count fits in 32 bits
// (count * 9 < 2^31).
#pragma once

#include <cstdint>
#include <vortel/legacy_rand.h>
#include <vortel/plugin.h>
#include <vortel/plugin_helper.h>
#include <vortel/records.h>

class ResourceCache;

namespace swarms
{

constexpr int32_t kMaxSwarmPoints = 1 << 24;

extern LegacyRand gRand;      // srand/rand of every effect of this plug-in
extern ResourceCache* gCache; // "SwarmsCache", from Vortel_Init to Vortel_Quit

// A fresh record (count 0, null arrays) added to the cache under `name` with reference count 1.
// Null when the cache refuses the name (already live) or there is no cache; the refusal is logged.
SwarmRecord* new_swarm(const char* name, bool staticFlag);
// The cache's freeFn: frees the three arrays, then the record.
void free_swarm(void* record);

// The arrays below are sized by a swarm, so they are allocated without throwing: when memory is short
// the function logs "<effect>: not enough memory for ..." and returns false, and the effect fails the call
// (status -1) while the demo goes on.

// Makes `positions` hold exactly `count` points: when count differs from r->count the positions,
// colours and orientations are freed first; then positions are allocated if absent; r->count = count.
// count must lie in 0 .. kMaxSwarmPoints. False (and the record left empty, logged) when memory is short.
bool set_point_count(SwarmRecord* r, int32_t count, const char* effect);
// drop_colors leaves the record without per-point colours; the record keeps their array for the next
// ensure_colors, which allocates only when the swarm has more points than that array ever held.
void drop_colors(SwarmRecord* r);
void drop_orientations(SwarmRecord* r);
// Give the record an array for r->count points when absent (contents undefined). False (logged) when
// memory is short. ensure_colors and drop_colors take only records made by new_swarm.
bool ensure_colors(SwarmRecord* r, const char* effect);
bool ensure_orientations(SwarmRecord* r, const char* effect);
void set_uniform_color(SwarmRecord* r, uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
// Writes `count` identity matrices from `matrices` on.
void fill_identity(float* matrices, int32_t count);
// Writes the same four colour bytes into `count` points from `colors` on.
void fill_color(uint8_t* colors, int32_t count, const uint8_t* argb);

// The four colour bytes (alpha, red, green, blue) of point i: its own when the record has per-point
// colours, else the uniform ones.
inline const uint8_t* point_color(const SwarmRecord* r, int32_t i)
{
    return r->colors ? r->colors + 4 * i : &r->alpha;
}

} // namespace swarms
