// Motion blur for capture: the sub-frames of one captured frame are summed into a float target and their
// average is put back in the back buffer, where the capture reads it.
#pragma once

#include <cstdint>

class SubFrameBlend
{
public:
    // width x height: the window's drawable size; k: sub-frames per frame (1..64).
    SubFrameBlend(int width, int height, int32_t k);
    ~SubFrameBlend();
    SubFrameBlend(const SubFrameBlend&) = delete;
    SubFrameBlend& operator=(const SubFrameBlend&) = delete;

    // Makes the GL objects. Throws BasicException when the float target cannot be made.
    void prepare();
    // Adds the back buffer, weighted 1/k, to the sum; the first call of a frame starts a new sum.
    void add_back_buffer();
    // Draws the sum into the back buffer; the next add_back_buffer starts a new frame.
    void resolve();

private:
    int width_, height_;
    int32_t k_;
    bool fresh_ = true; // the next add starts a new sum
    unsigned framebuffer_ = 0, sum_ = 0, copy_ = 0, program_ = 0;
};
