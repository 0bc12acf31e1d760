#include "flame_points.h"

#include "flame_map.h"
#include "flame_map_block.h"

#include <cmath>
#include <memory>

namespace emberfold
{

namespace
{

constexpr uint32_t kTableMask = uint32_t(kRandomTableSize - 1);
// The walk waits for a draw that differs from the point's transform; a description where one transform
// takes (nearly) every draw would otherwise wait for ever.
constexpr int kMaxRepeats = 64;

inline float clamp_brightness(float b)
{
    if (!(b >= 0.2f)) // NaN included
        return 0.2f;
    return b > 1.0f ? 1.0f : b;
}

inline bool finite3(const float* p)
{
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// Everything the walk needs per transform, gathered once.
struct Walk {
    const int32_t* table;
    FlameMap maps[kMaxTransforms];
    float colour[kMaxTransforms];
    float step[kMaxTransforms];
    uint8_t pick[kSelectMax + 1]; // transform drawn by each rand value
    int32_t count;
    bool average;
    int32_t batchSpan; // batchCount - 1

    int32_t draw(uint32_t index) const { return pick[table[index & kTableMask]]; }
    uint8_t batch_of(float brightness) const { return uint8_t(int32_t(brightness * float(batchSpan))); }
};

void prepare_walk(const FlameDescription& d, int32_t colourMode, int32_t batchCount, Walk& walk)
{
    walk.table = random_table();
    walk.count = d.transformCount;
    walk.average = colourMode == 1;
    walk.batchSpan = batchCount - 1;
    for (int32_t j = 0; j < d.transformCount; ++j) {
        prepare_map(d.transforms[j], walk.maps[j]);
        walk.colour[j] = d.transforms[j].colour;
        walk.step[j] = d.brightnessStep[j];
    }
    for (int32_t r = 0; r <= kSelectMax; ++r)
        walk.pick[r] = uint8_t(select_transform(d, r));
}

} // namespace

LegacyRand gRand;

const int32_t* random_table()
{
    static std::unique_ptr<int32_t[]> table;
    if (!table) {
        table.reset(new int32_t[kRandomTableSize]);
        for (int32_t i = 0; i < kRandomTableSize; ++i)
            table[i] = gRand.rand();
    }
    return table.get();
}

void pass_shares(const FlameDescription& d, int32_t* shares)
{
    int32_t sum = 0, largest = 0;
    for (int32_t j = 0; j < d.transformCount; ++j) {
        const int32_t below = j > 0 ? d.selectTable[j - 1] : 0;
        const int32_t share = int32_t(256.0f * float(d.selectTable[j] - below) * 0.00003051851f);
        shares[j] = share < 1 ? 1 : share;
        sum += shares[j];
        if (shares[j] > shares[largest])
            largest = j;
    }
    shares[largest] += 256 - sum;
    if (shares[largest] < 1)
        shares[largest] = 1;
}

void generate_flame_points(const FlameDescription& d, int32_t n, int32_t colourMode, int32_t batchCount,
                           const FlamePoints& out)
{
    if (n <= 0 || d.transformCount < 1)
        return;
    // One set of working memory for the process (generation runs on the main thread only), so meshes that
    // generate every frame allocate nothing.
    static Walk walk;
    static PointBlock blocks[2];
    prepare_walk(d, colourMode, batchCount, walk);
    const int32_t* table = walk.table;
    const bool average = walk.average;

    // Warm-up: the walker settles onto the attractor; nothing is output.
    const float start[3] = {0.001f, 0.001f, 0.001f};
    float walker[3] = {start[0], start[1], start[2]};
    float c = 0.0f, o = 0.0f;
    const uint32_t warmUp = 150u * uint32_t(batchCount);
    for (uint32_t i = 0; i < 150; ++i) {
        const int32_t j = walk.draw(warmUp + i);
        apply_map(walk.maps[j], walker, walker);
        if (walk.colour[j] >= 0)
            c = o = average ? (c + walk.colour[j]) / 2 : walk.colour[j];
    }
    if (!finite3(walker))
        walker[0] = start[0], walker[1] = start[1], walker[2] = start[2];

    // First block: each point is the walker moved by its own transform r, the walker then moves on by
    // the next draw i that differs from r.
    const int32_t first = first_block_size(n);
    float b = 1.0f;
    uint32_t g = 0;
    for (int32_t k = 0; k < first; ++k) {
        const int32_t r = walk.draw(uint32_t(k));
        int32_t i = r;
        for (int repeat = 0; walk.count > 1; ++repeat) {
            i = walk.draw(g++);
            if (i != r || repeat == kMaxRepeats)
                break;
            apply_map(walk.maps[r], walker, walker);
            if (walk.colour[r] >= 0)
                o = average ? (c = (c + walk.colour[r]) / 2) : walk.colour[r];
            b = clamp_brightness(b + walk.step[r]);
        }
        if (walk.colour[i] >= 0)
            o = average ? (c + walk.colour[r]) / 2 : walk.colour[r];
        const float brightness = clamp_brightness(b + walk.step[i]);
        out.brightness[k] = brightness;
        out.batch[k] = walk.batch_of(brightness);
        float* point = out.points + 4 * k;
        apply_map(walk.maps[r], walker, point);
        point[3] = o;

        apply_map(walk.maps[i], walker, walker);
        if (walk.colour[i] >= 0)
            c = o = average ? (c + walk.colour[i]) / 2 : walk.colour[i];
        b = clamp_brightness(b + walk.step[i]);
        if (!finite3(walker))
            walker[0] = start[0], walker[1] = start[1], walker[2] = start[2];
    }

    // Passes: 256 points at a time, transform by transform, from the 256 points before.
    int32_t shares[kMaxTransforms];
    pass_shares(d, shares);
    const int32_t passes = pass_count(n);
    const uint32_t count = uint32_t(walk.count);
    PointBlock& in = blocks[0];
    PointBlock& moved = blocks[1];
    for (int32_t w = 0; w < passes; ++w) {
        const int32_t source = w == 0 ? 0 : first + 256 * (w - 1);
        int32_t target = first + 256 * w;
        const int32_t end = target + 256;
        for (uint32_t j = 0; j < count && target < end; ++j) {
            const int32_t R = int32_t((uint32_t(table[uint32_t(w) & kTableMask]) + j) % count);
            uint32_t s = uint32_t(table[(count * uint32_t(w) + j) & kTableMask]) & 255u;
            const int32_t made = shares[R] < end - target ? shares[R] : end - target;
            const uint32_t stride = uint32_t(256 / shares[R]);
            const FlameMap& map = walk.maps[R];
            const float colour = walk.colour[R];
            const float step = walk.step[R];
            int32_t from[kMaxBlock];
            for (int32_t q = 0; q < made; ++q, s = (s + stride) & 255u) {
                from[q] = source + int32_t(s);
                const float* before = out.points + 4 * from[q];
                in.x[q] = before[0], in.y[q] = before[1], in.z[q] = before[2];
            }
            apply_map_block(map, in, made, moved);
            for (int32_t q = 0; q < made; ++q, ++target) {
                const float* before = out.points + 4 * from[q];
                float* point = out.points + 4 * target;
                point[0] = moved.x[q], point[1] = moved.y[q], point[2] = moved.z[q];
                if (map.sinusoidalOnly) {
                    point[3] = (colour + before[3]) / 2;
                } else {
                    if (colour >= 0)
                        o = average ? (colour + before[3]) / 2 : colour;
                    point[3] = o;
                }
                const float brightness = clamp_brightness(out.brightness[from[q]] + step);
                out.brightness[target] = brightness;
                out.batch[target] = walk.batch_of(brightness);
            }
        }
    }
}

} // namespace emberfold
