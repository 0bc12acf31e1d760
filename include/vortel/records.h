// Records shared in memory between plug-ins through the resource registry. Field order and widths are
// part of the binary interface: every deliverable must see the same layout.
#pragma once

#include <cstddef>
#include <cstdint>

// 'SWRM': a named point set, owned by the Swarms plug-in. Consumers never free it.
// Invariants: `colors` (when set) and `orientations` (when set) hold exactly `count` entries; per-point
// colours take precedence over the uniform colour. A fresh record has count 0 and all pointers null.
struct SwarmRecord {
    int32_t count;
    float* positions; // count x (x, y, z), scene units
    uint8_t* colors;  // count x (alpha, red, green, blue), or null
    uint8_t alpha;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    float* orientations; // count x 9 floats, row-major 3x3, or null
};
static_assert(offsetof(SwarmRecord, positions) == 8, "SwarmRecord layout");
static_assert(offsetof(SwarmRecord, colors) == 16, "SwarmRecord layout");
static_assert(offsetof(SwarmRecord, alpha) == 24, "SwarmRecord layout");
static_assert(offsetof(SwarmRecord, blue) == 27, "SwarmRecord layout");
static_assert(offsetof(SwarmRecord, orientations) == 32, "SwarmRecord layout");

// 'BEAT': a beat pattern, read by the beat and loops parameters.
constexpr int kMaxBeats = 32;
struct BeatRecord {
    int32_t start;                    // ms: demo time at which the pattern begins
    int32_t length;                   // ms: how long it lasts
    int32_t count;                    // beats per bar, 0 .. 32
    int32_t offset;                   // ms, added to the demo time before evaluation
    double beatLengths[kMaxBeats];    // ms
    double beatValues[kMaxBeats + 1]; // value at the start of beat i; beat i ends at value i + 1
    double bar;                       // ms: one bar; the pattern repeats every bar
    bool cubic;                       // false: linear between values; true: cubic
};
static_assert(offsetof(BeatRecord, beatLengths) == 16, "BeatRecord layout");
static_assert(offsetof(BeatRecord, beatValues) == 16 + 32 * 8, "BeatRecord layout");
static_assert(offsetof(BeatRecord, bar) == 16 + 65 * 8, "BeatRecord layout");
static_assert(offsetof(BeatRecord, cubic) == 16 + 66 * 8, "BeatRecord layout");

// 'GRID': a deformable sheet of points that a texture is stretched over, column 0 taking the texture's left
// column and row 0 its top row. A sheet laid out with columns running right (+x) and rows running down (-y)
// shows the texture upright, its strips facing +z.
struct TextureGridRecord {
    int32_t columns; // points per row
    int32_t rows;
    int32_t width; // producer's own: sheet size, x 0.001 scene units (not read by the image effects)
    int32_t height;
    float* positions; // rows x columns x (x, y, z), row by row: point (r, c) at r * columns + c
    uint8_t* colors;  // rows x columns x (alpha, red, green, blue), or null
};
static_assert(offsetof(TextureGridRecord, positions) == 16, "TextureGridRecord layout");
static_assert(offsetof(TextureGridRecord, colors) == 24, "TextureGridRecord layout");
