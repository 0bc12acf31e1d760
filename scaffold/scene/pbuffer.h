// PBuffer: the off-screen render target, one per process (gPBuffer, PBuffer::GetPBuffer()).
//
// It has two colour buffers, 0 and 1, each of which can be drawn into and then read as a Texture.
// Underneath it is one framebuffer object with two colour textures and a depth buffer, and a GL state
// cache (GLStateContext) of its own: drawing off-screen makes that cache current, drawing to the window
// makes the window's cache current again. Every switch issues the GL calls for the cached values in which
// the two caches differ, so GL always equals the cache that is current.
//
// Contracts
//  - RenderToTexture(b, w, h) draws into buffer b with the viewport (0, 0, w, h) at the buffer's
//    bottom-left; the buffer's texture is then exactly w x h, so a quad with texture coordinates 0..1
//    shows exactly the rendered region. A buffer whose size changes loses its contents. Sizes are
//    clamped to 1 .. GL_MAX_TEXTURE_SIZE.
//  - Every RenderToTexture is paired with a RenderScreen before the effect returns; pushes made on the
//    off-screen cache must be popped before RenderScreen.
//  - GetTexture(b) must not be called for the buffer being drawn into (currentTarget()); switch first.
//    The Texture belongs to the PBuffer: never delete it.
//  - Buffer numbers: 0 is buffer 0, any other value is buffer 1.
//  - Main thread only, with the window's GL context current.
#pragma once

#include <cstdint>

#include "glstate.h"
#include "texture.h"

class PBuffer
{
public:
    // Creates the process's render target sized width x height (normally the window size) and makes it
    // gPBuffer. Call once the GL window and GLEW exist and a GL state cache is current. Returns null, and
    // leaves gPBuffer as it was, when GL has no framebuffer objects or the framebuffer cannot be completed.
    static PBuffer* Create(int32_t width, int32_t height);
    // Switches back to the window if needed, frees gPBuffer and sets it to null.
    static void Destroy();
    static PBuffer* GetPBuffer();

    ~PBuffer();
    PBuffer(const PBuffer&) = delete;
    PBuffer& operator=(const PBuffer&) = delete;

    // Makes later drawing go into buffer `target` with a width x height viewport at its bottom-left.
    void RenderToTexture(int32_t target, int32_t width, int32_t height);
    // Makes later drawing go to the window again; nothing happens when it already does. "The window" is
    // the framebuffer that was bound when drawing went off-screen: 0, or the player's supersampling
    // target.
    void RenderScreen();
    // Buffer `target` as a texture, ready to be bound. Marks it bound until the next RenderToTexture
    // into it.
    Texture* GetTexture(int32_t target);

    // -1 while drawing goes to the window, else the buffer being drawn into.
    int32_t currentTarget() const { return currentTarget_; }
    // The off-screen GL state cache (current between RenderToTexture and RenderScreen).
    GLStateContext* stateContext() { return &context_; }

private:
    PBuffer(int32_t width, int32_t height, int32_t maxSize);
    void attach(int32_t target, int32_t width, int32_t height);
    void hand_over(uint32_t textureId, bool& bound, bool toReading);

    int32_t maxSize_ = 1; // largest width or height GL can attach
    uint32_t framebuffer_ = 0;
    uint32_t depthBuffer_ = 0;
    int32_t depthWidth_ = 0, depthHeight_ = 0;
    int32_t currentTarget_ = -1;
    GLStateContext context_;
    Texture texture0_;
    bool bound0_ = false;
    Texture texture1_;
    bool bound1_ = false;
    int32_t attached_ = -1;                   // buffer whose texture is the colour attachment
    GLStateContext* windowContext_ = nullptr; // the window's cache, saved while drawing off-screen
    uint32_t screenFramebuffer_ = 0;          // what "the window" was when drawing went off-screen
};

// The process's render target (null until PBuffer::Create).
extern PBuffer* gPBuffer;
