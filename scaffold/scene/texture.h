// Texture: the owner of one OpenGL 2D texture made from 32-bit 0xAARRGGBB pixels.
//
// Contracts
//  - Pixels are 32-bit words 0xAARRGGBB (bytes B, G, R, A in memory), row by row; the first row becomes
//    texture coordinate t = 0, which for a 'TXTR' resource is the picture's top row (kTypeTexture in
//    vortel/plugin.h). They are uploaded as GL_BGRA / GL_UNSIGNED_BYTE into a 4-component (GL_RGBA)
//    texture, level 0, no mipmaps, linear filtering, repeat wrapping. The pixels are copied; the caller
//    keeps its block.
//  - Construction and Reload bind the texture with a plain glBindTexture to upload, then restore the
//    texture that the current GL state cache says is bound (or the one GL had bound when no cache is
//    current), so the cache stays true.
//  - A width or height below 1 or above GL_MAX_TEXTURE_SIZE gives an empty (0 x 0) texture.
//  - The object owns the GL name and deletes it in its destructor: make and destroy it with the GL
//    context current. Not copyable.
#pragma once

#include <cstdint>

class Texture
{
public:
    // Uploads width x height pixels (null: storage of that size with undefined contents).
    Texture(const uint32_t* pixels, int32_t width, int32_t height);
    // A width x height texture of transparent black.
    Texture(int32_t width, int32_t height);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Replaces size and pixels under the same GL name, so holders of this texture see the new picture.
    // Null pixels: storage of the new size with undefined contents. Does nothing when id is 0.
    void Reload(const uint32_t* pixels, int32_t width, int32_t height);
    // Changes how texture coordinates outside 0..1 are taken (GL_REPEAT, GL_CLAMP_TO_EDGE, ...).
    void SetWrap(uint32_t wrapS, uint32_t wrapT);

    uint32_t id;        // GL texture name
    int32_t width;      // pixels
    int32_t height;     // pixels
    uint32_t target;    // GL_TEXTURE_2D
    uint32_t magFilter; // GL_LINEAR
    uint32_t minFilter; // GL_LINEAR
    uint32_t wrapS;     // GL_REPEAT
    uint32_t wrapT;     // GL_REPEAT
};
