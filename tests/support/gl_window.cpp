#include "gl_window.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

GLWindow::GLWindow(int width, int height) : width_(width), height_(height)
{
    // A busy X server now and then refuses a connection for the moment (EAGAIN): try again shortly.
    int attempt = 0;
    while (SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (++attempt == 20) {
            std::fprintf(stderr, "GLWindow: SDL_Init failed: %s\n", SDL_GetError());
            return;
        }
        SDL_Quit();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    if (!SDL_SetVideoMode(width, height, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "GLWindow: SDL_SetVideoMode failed: %s\n", SDL_GetError());
        SDL_Quit();
        return;
    }
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "GLWindow: glewInit failed\n");
        SDL_Quit();
        return;
    }
    ok_ = true;
}

GLWindow::~GLWindow()
{
    if (ok_)
        SDL_Quit();
}

uint32_t Picture::at(int x, int y) const
{
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

bool Picture::save_png(const std::string& path) const
{
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

Picture Picture::load_png(const std::string& path)
{
    Picture pic;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &pic.width, &pic.height, &channels, 4);
    if (!data) {
        pic.width = pic.height = 0;
        return pic;
    }
    pic.rgba.assign(data, data + size_t(pic.width) * pic.height * 4);
    stbi_image_free(data);
    return pic;
}

Picture read_framebuffer(int width, int height)
{
    Picture pic;
    pic.width = width;
    pic.height = height;
    std::vector<uint8_t> raw(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    pic.rgba.resize(raw.size());
    // GL's rows start at the bottom; a Picture's at the top.
    for (int y = 0; y < height; ++y)
        std::copy_n(&raw[size_t(height - 1 - y) * width * 4], size_t(width) * 4,
                    &pic.rgba[size_t(y) * width * 4]);
    return pic;
}

Picture Picture::from_argb(const std::vector<uint32_t>& pixels, int width, int height)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    for (uint32_t c : pixels)
        picture.rgba.insert(picture.rgba.end(),
                            {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24)});
    return picture;
}

std::vector<uint32_t> quarter_pixels(int side)
{
    std::vector<uint32_t> pixels(size_t(side) * size_t(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixels[size_t(y) * size_t(side) + size_t(x)] = kQuarterColours[(2 * y / side) * 2 + 2 * x / side];
    return pixels;
}

namespace
{
uint32_t seen(uint32_t c, bool alpha)
{
    if (alpha)
        return c >> 24;
    uint32_t lit = 0;
    for (int shift : {0, 8, 16})
        lit |= ((c >> shift) & 0xFF) > 0x20 ? 0xFFu << shift : 0;
    return lit;
}
} // namespace

std::vector<uint32_t> quarters_seen(const Picture& p, bool alpha)
{
    const auto value = [&](int x, int y) { return seen(p.at(x, y), alpha); };
    const uint32_t ground = value(0, 0);
    int x0 = p.width, y0 = p.height, x1 = -1, y1 = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (value(x, y) != ground) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0)
        return {};
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    return {value(x0 + w / 4, y0 + h / 4), value(x0 + 3 * w / 4, y0 + h / 4),
            value(x0 + w / 4, y0 + 3 * h / 4), value(x0 + 3 * w / 4, y0 + 3 * h / 4)};
}

const std::vector<uint32_t>& quarters_upright(bool alpha)
{
    static const std::vector<uint32_t> colours = {
        seen(kQuarterColours[0], false), seen(kQuarterColours[1], false), seen(kQuarterColours[2], false),
        seen(kQuarterColours[3], false)};
    static const std::vector<uint32_t> alphas = {
        seen(kQuarterColours[0], true), seen(kQuarterColours[1], true), seen(kQuarterColours[2], true),
        seen(kQuarterColours[3], true)};
    return alpha ? alphas : colours;
}
