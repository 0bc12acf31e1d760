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
        std::copy_n(&raw[size_t(height - 1 - y) * width * 4], size_t(width) * 4, &pic.rgba[size_t(y) * width * 4]);
    return pic;
}
