// VirtPalette: a colour gradient of up to 512 colours (0xAARRGGBB) placed at positions 0..1, from which
// the colour at any position is interpolated and lookup tables are filled.
//
// Contracts
//  - Entries 0 .. count-1 are in use, sorted by ascending position; the first sits at 0 and the last at
//    1 and neither can be removed. A new palette runs from opaque black (0xff000000) to opaque white.
//  - Interpolation is per byte, alpha included, truncated towards zero.
//  - AddColor on a full palette and ChangeColor with an index outside the palette are caller errors:
//    they assert in debug builds and change nothing in release builds.
#pragma once

#include <cstdint>

class VirtPalette
{
public:
    static constexpr int32_t kMaxColors = 512;

    VirtPalette();

    // Colour at position x: the first colour for x <= 0 or NaN, the last for x >= 1.
    uint32_t GetColor(float x) const;
    // out[i] = GetColor(i / (n - 1)) for i = 0 .. n-1 (n = 1 gives the first colour). With argb false
    // every colour has its red and blue bytes exchanged (0xAABBGGRR). n < 1 writes nothing.
    void FillPalette(uint32_t* out, int32_t n, bool argb) const;
    // Inserts color at x, after any entries at the same position; returns its index, or -1 when x is not
    // within 0..1 (NaN included) or the palette is full.
    int32_t AddColor(float x, uint32_t color);
    // Removes entry index when 0 < index < count - 1; other indices are ignored.
    void RemoveColor(int32_t index);
    // Replaces the colour of entry index (0 <= index < count).
    void ChangeColor(int32_t index, uint32_t color);

    int32_t count;
    uint32_t colors[kMaxColors];
    float positions[kMaxColors];
};
