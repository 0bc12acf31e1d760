#include "pbuffer.h"

#include <GL/glew.h>
#include <algorithm>
#include <cassert>

PBuffer* gPBuffer = nullptr;

namespace
{

int32_t gl_max_size()
{
    GLint texture = 0, renderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    return std::max(1, std::min(texture, renderbuffer));
}

int32_t clamp_size(int32_t size, int32_t maxSize)
{
    return std::min(std::max(size, 1), maxSize);
}

} // namespace

PBuffer* PBuffer::Create(int32_t width, int32_t height)
{
    if (!glGenFramebuffers || !glFramebufferTexture2D || !glCheckFramebufferStatus || !glGenRenderbuffers)
        return nullptr;
    const int32_t maxSize = gl_max_size();
    PBuffer* made = new PBuffer(clamp_size(width, maxSize), clamp_size(height, maxSize), maxSize);
    glBindFramebuffer(GL_FRAMEBUFFER, made->framebuffer_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete) {
        delete made;
        return nullptr;
    }
    Destroy();
    gPBuffer = made;
    return made;
}

void PBuffer::Destroy()
{
    if (!gPBuffer)
        return;
    gPBuffer->RenderScreen();
    delete gPBuffer;
    gPBuffer = nullptr;
}

PBuffer* PBuffer::GetPBuffer()
{
    return gPBuffer;
}

PBuffer::PBuffer(int32_t width, int32_t height, int32_t maxSize)
    : maxSize_(maxSize), context_(unsigned(width), unsigned(height)), texture0_(width, height),
      texture1_(width, height)
{
    // Blur passes draw the buffers shifted and scaled: with repeat wrapping one edge of the picture would
    // bleed in at the opposite one.
    if (const GLStateContext* window = gls_current_context())
        context_.pixelScale = window->pixelScale;
    texture0_.SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    texture1_.SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    depthWidth_ = width;
    depthHeight_ = height;

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture0_.id, 0);
    attached_ = 0;
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

PBuffer::~PBuffer()
{
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
}

// With a framebuffer object the texture holds the drawn pixels directly; what stays of the hand-over
// between drawing and reading is one bind of the texture through the cache per hand-over, and the flag.
void PBuffer::hand_over(uint32_t textureId, bool& bound, bool toReading)
{
    if (bound == toReading)
        return;
    gls_push_bind_texture(textureId);
    gls_pop_bind_texture();
    bound = toReading;
}

// Only the buffer being drawn into is attached: a texture attached to the framebuffer cannot be read
// safely, and attachments of different sizes would clip drawing to the smallest.
void PBuffer::attach(int32_t target, int32_t width, int32_t height)
{
    Texture& texture = target ? texture1_ : texture0_;
    const bool resized = texture.width != width || texture.height != height;
    if (resized)
        texture.Reload(nullptr, width, height);
    if (width > depthWidth_ || height > depthHeight_) {
        depthWidth_ = std::max(depthWidth_, width);
        depthHeight_ = std::max(depthHeight_, height);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, depthWidth_, depthHeight_);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    if (resized || attached_ != target) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.id, 0);
        attached_ = target;
    }
}

void PBuffer::RenderToTexture(int32_t target, int32_t width, int32_t height)
{
    target = target ? 1 : 0;
    // The texture is sized to the region, so that texture coordinates 0..1 show exactly what was drawn.
    width = clamp_size(width, maxSize_);
    height = clamp_size(height, maxSize_);
    if (target != currentTarget_) {
        if (target == 1)
            hand_over(texture1_.id, bound1_, false);
        else
            hand_over(texture0_.id, bound0_, false);
        if (currentTarget_ == -1) {
            windowContext_ = gls_switch_context(&context_);
            GLint screen = 0;
            glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &screen);
            screenFramebuffer_ = uint32_t(screen);
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        }
        currentTarget_ = target;
    }
    attach(target, width, height);
    gls_set_viewport(0, gls_screen_height() - height, width, height);
}

void PBuffer::RenderScreen()
{
    if (currentTarget_ == -1)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, screenFramebuffer_);
    gls_switch_context(windowContext_);
    windowContext_ = nullptr;
    currentTarget_ = -1;
}

Texture* PBuffer::GetTexture(int32_t target)
{
    target = target ? 1 : 0;
    assert(target != currentTarget_ && "PBuffer::GetTexture: the buffer is being drawn into");
    if (target == 1) {
        hand_over(texture1_.id, bound1_, true);
        return &texture1_;
    }
    hand_over(texture0_.id, bound0_, true);
    return &texture0_;
}
