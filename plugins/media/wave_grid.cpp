#include "wave_grid.h"

#include <cmath>
#include <new>

namespace media
{

bool make_wave(WaveGrid& grid, const WaveShape& shape, double seconds)
{
    const size_t points = size_t(shape.columns) * size_t(shape.rows);
    try {
        grid.positions.resize(points * 3);
        grid.colors.resize(shape.colors ? points * 4 : 0);
    } catch (const std::bad_alloc&) {
        // The record may point into storage a failed resize has already moved: it is emptied.
        grid.record = TextureGridRecord{};
        std::vector<float>().swap(grid.positions);
        std::vector<uint8_t>().swap(grid.colors);
        return false;
    }
    const double twoPi = 6.283185307179586;
    for (int32_t r = 0; r < shape.rows; ++r) {
        const double y = shape.height / 2.0 - double(r) * shape.height / (shape.rows - 1);
        for (int32_t c = 0; c < shape.columns; ++c) {
            const double x = -shape.width / 2.0 + double(c) * shape.width / (shape.columns - 1);
            const double wave =
                shape.wavelength > 0 ? std::sin(twoPi * (x - shape.speed * seconds) / shape.wavelength) : 0.0;
            const size_t i = size_t(r) * size_t(shape.columns) + size_t(c);
            grid.positions[i * 3 + 0] = float(x);
            grid.positions[i * 3 + 1] = float(y);
            grid.positions[i * 3 + 2] = float(shape.amplitude * wave);
            if (shape.colors) {
                const double across = double(c) / (shape.columns - 1);
                grid.colors[i * 4 + 0] = uint8_t(std::lround(191.5 + 63.5 * wave));
                grid.colors[i * 4 + 1] = uint8_t(std::lround(255 * (1 - across)));
                grid.colors[i * 4 + 2] = uint8_t(std::lround(255.0 * r / (shape.rows - 1)));
                grid.colors[i * 4 + 3] = uint8_t(std::lround(255 * across));
            }
        }
    }
    grid.record.columns = shape.columns;
    grid.record.rows = shape.rows;
    grid.record.width = int32_t(std::lround(shape.width * 1000.0f));
    grid.record.height = int32_t(std::lround(shape.height * 1000.0f));
    grid.record.positions = grid.positions.data();
    grid.record.colors = shape.colors ? grid.colors.data() : nullptr;
    return true;
}

} // namespace media
