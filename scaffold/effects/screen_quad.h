// The full-screen quad the screen effects draw, and the colour conversions they share.
#pragma once

#include <cstdint>

// Pushes the orthographic screen projection (left, W, H, 0, 1, -1): y runs downwards, (0, H) is the
// bottom-left corner. Pair with gls_pop_projection.
void push_screen_projection(double left);

// One quad over (0, H), (W, H), (W, 0), (0, 0) with normal (0, 0, 1). cornerColors: 0xAARRGGBB per corner in
// that order, or null to draw in the current colour. textured: texture coordinates (0, 1), (1, 1), (1, 0),
// (0, 0), so a texture's top row (t = 0) is at the top of the screen. Per-corner colours leave GL's current
// colour as the cache has it.
void draw_screen_quad(const uint32_t* cornerColors, bool textured);

// 0xAARRGGBB with every channel clamped to 0..255.
uint32_t clamped_color(int32_t alpha, int32_t red, int32_t green, int32_t blue);
