// Reading captured frames: connected regions of pixels, hues, and the picture a captured frame file holds.
#pragma once

#include <gl_window.h>

#include <cstdint>
#include <functional>
#include <vector>

// A box of pixels, left/top inclusive, right/bottom exclusive.
struct Box {
    int left, top, right, bottom;
};

// A 4-connected region of pixels: its size, bounding box, mean colour and the brightest channel of its
// darkest and brightest pixels.
struct Region {
    int area = 0;
    Box bounds{0, 0, 0, 0};
    double red = 0, green = 0, blue = 0;
    int darkest = 255, brightest = 0;
    int width() const { return bounds.right - bounds.left; }
    int height() const { return bounds.bottom - bounds.top; }
    double centre_x() const { return 0.5 * (bounds.left + bounds.right); }
    double centre_y() const { return 0.5 * (bounds.top + bounds.bottom); }
};

using PixelTest = std::function<bool(uint32_t pixel)>;

// The regions of pixels inside `box` (the whole picture when box is empty) for which `test` holds.
std::vector<Region> regions(const Picture& picture, const PixelTest& test, Box box = {0, 0, 0, 0});

// The number of pixels inside `box` for which `test` holds.
int count_pixels(const Picture& picture, const PixelTest& test, Box box = {0, 0, 0, 0});

// Hue in degrees (0 red, 120 green, 240 blue) and saturation 0..1 of a 0xAARRGGBB pixel.
double hue_of(uint32_t pixel);
double saturation_of(uint32_t pixel);
uint8_t brightest_channel(uint32_t pixel);

// True for a pixel at least `minimum` bright in its brightest channel, with saturation of at least
// `minSaturation` and a hue within [from, to) degrees (the range may wrap past 360).
bool is_hue(uint32_t pixel, double from, double to, double minSaturation = 0.35, int minimum = 80);

// Pixels whose colour differs between two pictures of one size (any channel by more than `tolerance`).
int differing_pixels(const Picture& a, const Picture& b, int tolerance = 8);
