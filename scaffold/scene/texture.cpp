#include "texture.h"

#include <GL/glew.h>
#include <vector>

#include "glstate.h"

namespace
{

int32_t max_texture_size()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    // No answer means no usable GL; keep zero-filled blocks small all the same.
    return size > 0 ? size : 4096;
}

bool usable_size(int32_t width, int32_t height)
{
    const int32_t limit = max_texture_size();
    return width >= 1 && height >= 1 && width <= limit && height <= limit;
}

// The texture the cache believes bound, or GL's own binding when no cache is current.
GLuint expected_binding()
{
    if (const GLStateContext* ctx = gls_current_context())
        return ctx->boundTexture[ctx->boundTextureDepth];
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return GLuint(bound);
}

enum Parameters { kKeepParameters, kSetParameters };
enum Pixels { kKeepPixels, kUploadPixels };

// Works on the texture with a plain bind and puts the expected binding back, so GL keeps agreeing with
// the cache.
void update(const Texture& t, Parameters parameters, Pixels upload, const uint32_t* pixels)
{
    const GLuint restore = expected_binding();
    glBindTexture(GL_TEXTURE_2D, t.id);
    if (parameters == kSetParameters) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(t.magFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(t.minFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(t.wrapS));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(t.wrapT));
    }
    if (upload == kUploadPixels)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, t.width, t.height, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glBindTexture(GL_TEXTURE_2D, restore);
}

} // namespace

Texture::Texture(const uint32_t* pixels, int32_t width, int32_t height)
    : id(0), width(0), height(0), target(GL_TEXTURE_2D), magFilter(GL_LINEAR), minFilter(GL_LINEAR),
      wrapS(GL_REPEAT), wrapT(GL_REPEAT)
{
    glGenTextures(1, &id);
    if (usable_size(width, height)) {
        this->width = width;
        this->height = height;
    } else {
        pixels = nullptr;
    }
    update(*this, kSetParameters, kUploadPixels, pixels);
}

Texture::Texture(int32_t width, int32_t height)
    : Texture(usable_size(width, height) ? std::vector<uint32_t>(size_t(width) * size_t(height), 0u).data()
                                         : nullptr,
              width, height)
{
}

Texture::~Texture()
{
    if (id == 0)
        return;
    glDeleteTextures(1, &id);
    // GL falls back to texture 0 when the bound texture is deleted; the cache must say so too, or a
    // later texture given the same name would be taken for bound.
    if (GLStateContext* ctx = gls_current_context()) {
        uint32_t& bound = ctx->boundTexture[ctx->boundTextureDepth];
        if (bound == id)
            bound = 0;
    }
}

void Texture::Reload(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (id == 0)
        return;
    if (usable_size(width, height)) {
        this->width = width;
        this->height = height;
    } else {
        this->width = 0;
        this->height = 0;
        pixels = nullptr;
    }
    update(*this, kKeepParameters, kUploadPixels, pixels);
}

void Texture::SetWrap(uint32_t wrapS, uint32_t wrapT)
{
    this->wrapS = wrapS;
    this->wrapT = wrapT;
    if (id != 0)
        update(*this, kSetParameters, kKeepPixels, nullptr);
}
