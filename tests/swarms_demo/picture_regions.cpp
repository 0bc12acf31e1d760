#include "picture_regions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

Box clip(const Picture& picture, Box box)
{
    if (box.right <= box.left || box.bottom <= box.top)
        return {0, 0, picture.width, picture.height};
    return {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, picture.width),
            std::min(box.bottom, picture.height)};
}

} // namespace

std::vector<Region> regions(const Picture& picture, const PixelTest& test, Box box)
{
    box = clip(picture, box);
    const int w = picture.width;
    std::vector<char> seen(size_t(w) * size_t(picture.height), 0);
    std::vector<Region> found;
    std::vector<std::pair<int, int>> stack;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            if (seen[size_t(y) * w + x] || !test(picture.at(x, y)))
                continue;
            Region r;
            r.bounds = {x, y, x + 1, y + 1};
            seen[size_t(y) * w + x] = 1;
            stack.push_back({x, y});
            while (!stack.empty()) {
                const auto [px, py] = stack.back();
                stack.pop_back();
                const uint32_t pixel = picture.at(px, py);
                ++r.area;
                r.red += (pixel >> 16) & 0xFF;
                r.green += (pixel >> 8) & 0xFF;
                r.blue += pixel & 0xFF;
                r.darkest = std::min(r.darkest, int(brightest_channel(pixel)));
                r.brightest = std::max(r.brightest, int(brightest_channel(pixel)));
                r.bounds = {std::min(r.bounds.left, px), std::min(r.bounds.top, py),
                            std::max(r.bounds.right, px + 1), std::max(r.bounds.bottom, py + 1)};
                const int next[4][2] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
                for (const auto& n : next) {
                    if (n[0] < box.left || n[0] >= box.right || n[1] < box.top || n[1] >= box.bottom)
                        continue;
                    char& mark = seen[size_t(n[1]) * w + n[0]];
                    if (!mark && test(picture.at(n[0], n[1]))) {
                        mark = 1;
                        stack.push_back({n[0], n[1]});
                    }
                }
            }
            r.red /= r.area;
            r.green /= r.area;
            r.blue /= r.area;
            found.push_back(r);
        }
    return found;
}

int count_pixels(const Picture& picture, const PixelTest& test, Box box)
{
    box = clip(picture, box);
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            count += test(picture.at(x, y)) ? 1 : 0;
    return count;
}

double hue_of(uint32_t pixel)
{
    const double r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const double high = std::max({r, g, b}), low = std::min({r, g, b}), range = high - low;
    if (range <= 0)
        return 0;
    double hue;
    if (high == r)
        hue = std::fmod((g - b) / range, 6.0);
    else if (high == g)
        hue = (b - r) / range + 2;
    else
        hue = (r - g) / range + 4;
    hue *= 60;
    return hue < 0 ? hue + 360 : hue;
}

double saturation_of(uint32_t pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    return high == 0 ? 0 : double(high - low) / high;
}

uint8_t brightest_channel(uint32_t pixel)
{
    return uint8_t(std::max({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF}));
}

bool is_hue(uint32_t pixel, double from, double to, double minSaturation, int minimum)
{
    if (brightest_channel(pixel) < minimum || saturation_of(pixel) < minSaturation)
        return false;
    const double hue = hue_of(pixel);
    return from <= to ? (hue >= from && hue < to) : (hue >= from || hue < to);
}

int differing_pixels(const Picture& a, const Picture& b, int tolerance)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (size_t i = 0; i + 3 < a.rgba.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(a.rgba[i + c]) - int(b.rgba[i + c])) > tolerance) {
                ++count;
                break;
            }
    return count;
}
