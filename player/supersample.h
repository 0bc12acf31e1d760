// Supersampled capture: every frame is drawn at N times the window's width and height into an off-screen
// target, then box-filtered down (each output pixel the average of its N x N block) into the window's
// back buffer, where the capture and the motion blur read it. The effects see a screen of the rendered
// size: the GL state cache, the aspect viewport and the off-screen buffers are made at that size.
#pragma once

#include <cstdint>

class SuperSampler
{
public:
    // width x height: the window's drawable size, which the captured frames keep; n: 2..4.
    SuperSampler(int width, int height, int32_t n);
    ~SuperSampler();
    SuperSampler(const SuperSampler&) = delete;
    SuperSampler& operator=(const SuperSampler&) = delete;

    // Makes the target and the filter. Throws BasicException when OpenGL cannot draw pictures of the
    // rendered size or the target cannot be completed.
    void prepare();

    int rendered_width() const { return width_ * n_; }
    int rendered_height() const { return height_ * n_; }

    // The frame's drawing goes into the target from now on.
    void begin_frame();
    // Filters the target into the window's back buffer and leaves the window's framebuffer bound.
    void resolve();

private:
    int width_, height_;
    int32_t n_;
    unsigned framebuffer_ = 0, colour_ = 0, depth_ = 0, program_ = 0;
};
