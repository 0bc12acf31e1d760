// MakeWaveGrid: an event that owns a 'GRID' sheet and waves it every running call.
#include "grid_store.h"
#include "media_effects.h"
#include "media_messages.h"

#include <algorithm>
#include <string>
#include <vortel/plugin_helper.h>

namespace
{
// The shape from the argument words; sides outside kMinGridSide .. kMaxGridSide are clamped and reported.
media::WaveShape shape_of(const char* name, int32_t columns, int32_t rows, int32_t width, int32_t height,
                          int32_t amplitude, int32_t wavelength, int32_t speed, int32_t colors, bool report)
{
    media::WaveShape shape{};
    shape.columns = std::clamp(columns, media::kMinGridSide, media::kMaxGridSide);
    shape.rows = std::clamp(rows, media::kMinGridSide, media::kMaxGridSide);
    if (report && (shape.columns != columns || shape.rows != rows))
        vortel::log(media::msg::kGridSize, name, int(columns), int(rows), int(shape.columns),
                    int(shape.rows));
    shape.width = float(width) * 0.001f;
    shape.height = float(height) * 0.001f;
    shape.amplitude = float(amplitude) * 0.001f;
    shape.wavelength = float(wavelength) * 0.001f;
    shape.speed = float(speed) * 0.001f;
    shape.colors = colors != 0;
    return shape;
}

struct WaveRecord {
    media::GridEntry* entry = nullptr;
    std::string name;
    bool reportedSize = false;
};
} // namespace

VORTEL_EXPORT bool MakeWaveGrid(StateStruct* state, void** privateData, int32_t name, int32_t columns,
                                int32_t rows, int32_t width, int32_t height, int32_t amplitude,
                                int32_t wavelength, int32_t speed, int32_t colors)
{
    state->status = 1;
    auto* record = static_cast<WaveRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new WaveRecord;
        *privateData = record;
        const char* text = vortel::text(name);
        if (!text) {
            vortel::log(media::msg::kGridNoName, int(name));
            state->status = -1;
            return true;
        }
        record->name = text;
        record->entry = media::own_grid(text);
        if (!record->entry) {
            vortel::log(media::msg::kGridTaken, text);
            state->status = -1;
            return true;
        }
    } else if (vortel::is_last_call(state)) {
        if (record) {
            if (record->entry)
                media::give_up_grid(record->entry);
            delete record;
            *privateData = nullptr;
        }
        return true;
    }
    if (!record || !record->entry)
        return true;
    const media::WaveShape shape = shape_of(record->name.c_str(), columns, rows, width, height, amplitude,
                                            wavelength, speed, colors, !record->reportedSize);
    record->reportedSize = record->reportedSize || shape.columns != columns || shape.rows != rows;
    if (!media::make_wave(media::grid_of(record->entry), shape, state->localTime / 1000.0)) {
        vortel::log(media::msg::kGridNoMemory, record->name.c_str(), int(shape.columns), int(shape.rows));
        state->status = -1;
        return true;
    }
    // Readers copy the points when they build, so a wave that moves must make them look again.
    media::set_grid_static(record->entry, state->paramsConstant && (speed == 0 || amplitude == 0));
    return true;
}
