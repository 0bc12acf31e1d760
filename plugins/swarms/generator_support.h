// What the nine generators share: the size check and the common first steps of a rebuild.
#pragma once

#include <cstdint>

#include "swarm_store.h"

namespace swarms
{

// A point count a record can hold: 0 .. kMaxSwarmPoints.
inline bool buildable(int64_t count)
{
    return count >= 0 && count <= kMaxSwarmPoints;
}

// The count a generator builds for a wanted count: the count itself, or 0 when it cannot be built.
// Comparing this (not the wanted count) with the record's count keeps an unbuildable request from
// rebuilding, and logging, on every frame.
inline int32_t built_count(int64_t wanted)
{
    return buildable(wanted) ? int32_t(wanted) : 0;
}

// Starts a rebuild with status 2: positions for exactly `wanted` points, no per-point colours, opaque
// white. When `problem` is set or `wanted` cannot be built, the swarm is left empty and one line
// "<effect>: <problem or the count>; the swarm is left empty" is logged. When memory for the points is
// short the swarm is left empty too, with status -1. True when there are points to write.
bool begin_rebuild(StateStruct* state, SwarmRecord* r, int64_t wanted, const char* effect,
                   const char* problem = nullptr);

} // namespace swarms
