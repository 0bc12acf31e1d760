// Generators of point sets laid out by counting: lattice cube, sphere rings, star field, random box, line.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "effect_frame.h"
#include "generator_support.h"
#include "legacy_rand_block.h"
#include "swarm_effects.h"

using namespace swarms;

namespace
{

constexpr float kPi = 3.1415927f;

struct CubeBlock : OutputBlock {
    int32_t spacing = 0, solid = 0;
};
struct SphereBlock : OutputBlock {
    int32_t radius = 0, perRing = 0, rings = 0;
};
struct StarfieldBlock : OutputBlock {
    int32_t halfExtent = 0, reserved = 0;
};
struct RandBlock : OutputBlock {
    int32_t rangeX = 0, rangeY = 0, rangeZ = 0, seed = 0;
};
struct LineBlock : OutputBlock {
    int32_t words[8] = {};
};

// n^3 when solid or n <= 2, else the 6n^2 - 12n + 8 points on the surface. n is capped where the
// count could overflow; such a count is unbuildable anyway.
int64_t cube_count(int32_t n, bool solid)
{
    const int64_t m = std::min<int64_t>(n, 1 << 20);
    return (solid || m <= 2) ? m * m * m : 6 * m * m - 12 * m + 8;
}

void write_cube(float* out, int32_t n, int32_t spacing, bool solid)
{
    const double half = (n - 1) * double(spacing) * 0.5;
    auto coord = [&](int32_t m) { return float(double(m) * spacing - half); };
    auto interior = [&](int32_t m) { return m != 0 && m != n - 1; };
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j)
            for (int32_t k = 0; k < n; ++k) {
                if (!solid && interior(i) && interior(j) && interior(k))
                    continue;
                *out++ = coord(i);
                *out++ = coord(j);
                *out++ = coord(k);
            }
}

// False (logged) when there is no memory for the longitude table.
bool write_sphere(float* out, float radius, int32_t perRing, int32_t rings)
{
    // One cos/sin table for the longitudes serves every ring.
    std::unique_ptr<float[]> longitude(new (std::nothrow) float[size_t(perRing) * 2]);
    if (!longitude) {
        vortel::log("MakeSphereSwarm: not enough memory for a table of %d longitudes\n", perRing);
        return false;
    }
    for (int32_t p = 0; p < perRing; ++p) {
        const float angle = 2 * kPi * float(p) / float(perRing);
        longitude[2 * p] = std::cos(angle);
        longitude[2 * p + 1] = std::sin(angle);
    }
    *out++ = 0;
    *out++ = -radius;
    *out++ = 0;
    for (int32_t q = 0; q < rings; ++q) {
        const float phi = float(q + 1) * kPi / float(rings + 1) - kPi / 2;
        const float ringRadius = std::cos(phi) * radius;
        const float y = radius * std::sin(phi);
        for (int32_t p = 0; p < perRing; ++p) {
            *out++ = ringRadius * longitude[2 * p];
            *out++ = y;
            *out++ = ringRadius * longitude[2 * p + 1];
        }
    }
    *out++ = 0;
    *out++ = radius;
    *out++ = 0;
    return true;
}

// A multiplicative congruential generator modulo 2^31 - 1, restarted at every rebuild.
void write_starfield(float* out, int32_t count, int32_t h)
{
    const uint64_t modulus = 2 * uint64_t(h);
    uint64_t s = 1983300529u;
    for (int64_t c = 0; c < int64_t(count) * 3; ++c) {
        out[c] = float(int64_t(s % modulus) - h);
        s = (s * 950706376u) % 2147483647u;
    }
}

// rand() mod d - d / 2 for a draw x in 0 .. 32767 and d >= 1, without a division: q = (x * m) >> 32
// with m = floor(2^32 / d) + 1 is exactly floor(x / d) while x and d stay below 2^15 (the excess
// x * (m - 2^32 / d) / 2^32 < 2^-17 never reaches the next integer); m = 0 gives q = 0 for larger d.
struct CenteredMod {
    explicit CenteredMod(int32_t divisor)
        : m(divisor > LegacyRand::kMax ? 0 : (uint64_t(1) << 32) / uint32_t(divisor) + 1), d(divisor),
          half(divisor / 2)
    {
    }
    float operator()(int32_t x) const
    {
        const int32_t q = int32_t((uint64_t(x) * m) >> 32);
        return float(x - q * d - half);
    }
    uint64_t m;
    int32_t d, half;
};

// rand() mod range - range / 2 per coordinate, drawn x, y, z point by point from the legacy sequence
// seeded with `seed`; the plug-in's rand is left where those draws leave it.
void write_rand(float* out, int32_t count, uint32_t seed, const int32_t (&range)[3])
{
    const CenteredMod mod[3] = {CenteredMod(range[0]), CenteredMod(range[1]), CenteredMod(range[2])};
    LegacyRandBlock draws(seed);
    constexpr int32_t kPointsPerBlock = 1024;
    int32_t values[3 * kPointsPerBlock];
    for (int32_t first = 0; first < count; first += kPointsPerBlock) {
        const int32_t n = std::min(kPointsPerBlock, count - first);
        draws.fill(values, 3 * n);
        for (int32_t c = 0; c < 3 * n; c += 3)
            for (int k = 0; k < 3; ++k)
                *out++ = mod[k](values[c + k]);
    }
    gRand.srand(draws.state());
}

} // namespace

VORTEL_EXPORT bool MakeCubeSwarm(StateStruct* state, void** privateData, int32_t name, int32_t n,
                                 int32_t spacing, int32_t solid)
{
    bool result;
    auto* b = enter_output_effect<CubeBlock>(state, privateData, &name, 1, "MakeCubeSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    n = std::max(n, 1);
    const int64_t wanted = cube_count(n, solid != 0);
    if (b->built && r->count == built_count(wanted) && spacing == b->spacing && solid == b->solid)
        return kDone;
    if (begin_rebuild(state, r, wanted, "MakeCubeSwarm"))
        write_cube(r->positions, n, spacing, solid != 0);
    b->spacing = spacing;
    b->solid = solid;
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeSphereSwarm(StateStruct* state, void** privateData, int32_t name, int32_t radius,
                                   int32_t pointsPerRing, int32_t rings)
{
    bool result;
    auto* b = enter_output_effect<SphereBlock>(state, privateData, &name, 1, "MakeSphereSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    if (b->built && radius == b->radius && pointsPerRing == b->perRing && rings == b->rings)
        return kDone;
    const bool negative = pointsPerRing < 0 || rings < 0;
    const int64_t wanted = negative ? 0 : int64_t(pointsPerRing) * rings + 2;
    if (begin_rebuild(state, r, wanted, "MakeSphereSwarm",
                      negative ? "points per ring and ring count must not be negative" : nullptr) &&
        !write_sphere(r->positions, float(radius), pointsPerRing, rings)) {
        set_point_count(r, 0, "MakeSphereSwarm");
        state->status = -1;
    }
    b->radius = radius;
    b->perRing = pointsPerRing;
    b->rings = rings;
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeStarfieldSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                      int32_t halfExtent, int32_t reserved)
{
    bool result;
    auto* b =
        enter_output_effect<StarfieldBlock>(state, privateData, &name, 1, "MakeStarfieldSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    const int32_t h = halfExtent == 0 ? 1 : halfExtent;
    const char* problem = h < 0 ? "the half extent must not be negative" : nullptr;
    const int32_t builds = problem ? 0 : built_count(count);
    if (b->built && r->count == builds && halfExtent == b->halfExtent && reserved == b->reserved)
        return kDone;
    if (begin_rebuild(state, r, count, "MakeStarfieldSwarm", problem))
        write_starfield(r->positions, r->count, h);
    b->halfExtent = halfExtent;
    b->reserved = reserved;
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool MakeRandSwarm(StateStruct* state, void** privateData, int32_t name, int32_t count,
                                 int32_t rangeX, int32_t rangeY, int32_t rangeZ, int32_t seed)
{
    // Seeded on every call, whatever happens next, so the plug-in's draw sequence is the same each frame.
    gRand.srand(uint32_t(seed));
    bool result;
    auto* b = enter_output_effect<RandBlock>(state, privateData, &name, 1, "MakeRandSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    if (b->built && r->count == built_count(count) && rangeX == b->rangeX && rangeY == b->rangeY &&
        rangeZ == b->rangeZ && seed == b->seed)
        return kDone;
    if (begin_rebuild(state, r, count, "MakeRandSwarm"))
        write_rand(r->positions, r->count, uint32_t(seed),
                   {std::max(rangeX, 1), std::max(rangeY, 1), std::max(rangeZ, 1)});
    b->rangeX = rangeX;
    b->rangeY = rangeY;
    b->rangeZ = rangeZ;
    b->seed = seed;
    b->built = true;
    return kDone;
}

VORTEL_EXPORT bool DrawLineSwarm(StateStruct* state, void** privateData, int32_t name, int32_t reserved1,
                                 int32_t reserved2, int32_t x1, int32_t y1, int32_t z1, int32_t x2,
                                 int32_t y2, int32_t z2)
{
    bool result;
    auto* b = enter_output_effect<LineBlock>(state, privateData, &name, 1, "DrawLineSwarm", &result);
    if (!b)
        return result;
    SwarmRecord* r = b->out[0].record;
    const int32_t words[8] = {reserved1, reserved2, x1, y1, z1, x2, y2, z2};
    if (b->built && std::equal(words, words + 8, b->words))
        return kDone;
    if (begin_rebuild(state, r, 2, "DrawLineSwarm")) {
        const float ends[6] = {float(x1), float(y1), float(z1), float(x2), float(y2), float(z2)};
        std::copy(ends, ends + 6, r->positions);
    }
    std::copy(words, words + 8, b->words);
    b->built = true;
    return kDone;
}
