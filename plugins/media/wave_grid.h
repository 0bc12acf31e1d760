// The sheet MakeWaveGrid makes: columns x rows points spread over width x height scene units in the x-y
// plane (row 0 at the top, column 0 at the left), lifted along z by a wave running along x:
//   z = amplitude * sin(2 pi (x - speed * seconds) / wavelength)      (flat when wavelength <= 0)
// With colours, every point is opaque at the crests and half transparent in the troughs, its red, green and
// blue shading from the left edge to the right and from the top to the bottom.
#pragma once

#include <vortel/records.h>

#include <cstdint>
#include <vector>

namespace media
{

constexpr int32_t kMinGridSide = 2;
constexpr int32_t kMaxGridSide = 256; // 256 x 256 points still fit 16-bit indices

struct WaveShape {
    int32_t columns, rows; // kMinGridSide .. kMaxGridSide
    float width, height;   // scene units
    float amplitude, wavelength;
    float speed; // scene units per second
    bool colors;
};

// A grid record with the storage its pointers point into. Not copyable: the record points into itself.
struct WaveGrid {
    WaveGrid() = default;
    WaveGrid(const WaveGrid&) = delete;
    WaveGrid& operator=(const WaveGrid&) = delete;

    TextureGridRecord record{};
    std::vector<float> positions;
    std::vector<uint8_t> colors;
};

// Fills grid for the shape at the given time (seconds), resizing its storage when the shape's size changed.
// False when there is no memory for the points: the grid is then left empty (no positions), which no
// acquisition serves.
bool make_wave(WaveGrid& grid, const WaveShape& shape, double seconds);

} // namespace media
