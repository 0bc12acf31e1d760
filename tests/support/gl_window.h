// A real SDL 1.2 window with an OpenGL context for GL tests (under Xvfb in the test command).
// SDL 1.2 has one window per process: create one GLWindow per test (or per suite) and let it go
// before the next one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GLWindow
{
public:
    GLWindow(int width, int height);
    ~GLWindow();
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    bool ok() const { return ok_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    bool ok_ = false;
    int width_, height_;
};

// An RGBA picture read back from GL, stored top row first (as a person sees it).
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;

    uint32_t at(int x, int y) const; // 0xAARRGGBB of pixel (x, y), y downwards from the top
    uint8_t red(int x, int y) const { return uint8_t(at(x, y) >> 16); }
    uint8_t green(int x, int y) const { return uint8_t(at(x, y) >> 8); }
    uint8_t blue(int x, int y) const { return uint8_t(at(x, y)); }
    bool save_png(const std::string& path) const;
    static Picture load_png(const std::string& path); // width 0 when the file cannot be read
    static Picture from_argb(const std::vector<uint32_t>& pixels, int width, int height); // top row first
};

// Reads the current read buffer (the back buffer by default) as a Picture.
Picture read_framebuffer(int width, int height);

// The picture that shows whether a texture is shown upright: four one-coloured quarters, red top left,
// green top right, blue bottom left, white bottom right, with the alphas FF, C0, 80 and 40.
constexpr uint32_t kQuarterColours[4] = {0xFFFF0000u, 0xC000FF00u, 0x800000FFu, 0x40FFFFFFu};
// It as side x side 0xAARRGGBB words (side even), top row first, the row order of every 'TXTR'.
std::vector<uint32_t> quarter_pixels(int side);
// What the middle of each quarter of the drawn part of a picture shows, top left, top right, bottom left,
// bottom right: which colour channels are lit (above 0x20), as 0xRRGGBB with each channel 0 or FF, or with
// `alpha` the alpha byte. The drawn part is the box around every pixel that differs from the top-left one.
std::vector<uint32_t> quarters_seen(const Picture& picture, bool alpha = false);
// What quarters_seen gives for the quarters shown upright.
const std::vector<uint32_t>& quarters_upright(bool alpha = false);
