#include "virt_palette.h"

#include <algorithm>
#include <cassert>

VirtPalette::VirtPalette() : count(2), colors{0xff000000u, 0xffffffffu}, positions{0.0f, 1.0f} {}

uint32_t VirtPalette::GetColor(float x) const
{
    if (!(x > 0.0f))
        return colors[0];
    if (x >= 1.0f)
        return colors[count - 1];
    // Lowest i >= 1 with x < positions[i]; the positions are sorted.
    const int32_t i = int32_t(std::upper_bound(positions + 1, positions + count, x) - positions);
    if (i == count)
        return colors[count - 1];

    const float t = (x - positions[i - 1]) / (positions[i] - positions[i - 1]);
    const uint32_t a = colors[i - 1], b = colors[i];
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float from = float((a >> shift) & 0xFF), to = float((b >> shift) & 0xFF);
        result |= uint32_t(int32_t(from + t * (to - from))) << shift;
    }
    return result;
}

void VirtPalette::FillPalette(uint32_t* out, int32_t n, bool argb) const
{
    for (int32_t i = 0; i < n; ++i) {
        // n = 1 would divide 0 by 0; its one entry is the start of the gradient.
        const uint32_t c = n > 1 ? GetColor(float(i) / float(n - 1)) : colors[0];
        out[i] = argb ? c : (c & 0xFF00FF00u) | ((c >> 16) & 0xFF) | ((c & 0xFF) << 16);
    }
}

int32_t VirtPalette::AddColor(float x, uint32_t color)
{
    if (!(x >= 0.0f && x <= 1.0f))
        return -1;
    assert(count < kMaxColors && "VirtPalette::AddColor: the palette is full");
    if (count >= kMaxColors)
        return -1;
    int32_t i = count;
    while (i > 0 && positions[i - 1] > x) {
        positions[i] = positions[i - 1];
        colors[i] = colors[i - 1];
        --i;
    }
    positions[i] = x;
    colors[i] = color;
    ++count;
    return i;
}

void VirtPalette::RemoveColor(int32_t index)
{
    if (index <= 0 || index >= count - 1)
        return;
    for (int32_t i = index; i < count - 1; ++i) {
        positions[i] = positions[i + 1];
        colors[i] = colors[i + 1];
    }
    --count;
}

void VirtPalette::ChangeColor(int32_t index, uint32_t color)
{
    assert(index >= 0 && index < count && "VirtPalette::ChangeColor: no such entry");
    if (index >= 0 && index < count)
        colors[index] = color;
}
