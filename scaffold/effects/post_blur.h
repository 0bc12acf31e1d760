// The pieces the post-processing effects share: rendering the scene, full-screen quads, and the
// separable Fibonacci blur between the two buffers of the off-screen target.
//
// The blur: each pass blends the buffer holding the latest partial kernel over the other one, shifted so
// that the two kernels sit side by side, with weights that keep every tap equal. The tap counts grow
// along the Fibonacci numbers (2, 3, 5, 8, ...), so a radius r with tap spacing s takes about
// log_phi(r / s) passes per direction; the taps are spread `unit` = r / F[N] pixels apart so that the
// last kernel spans the radius. Kernels grow to the right (down) twice, then to the left (up) twice, and
// so on; the offset returned re-centres the result.
#pragma once

#include <vortel/plugin.h>

#include <cstdint>

constexpr int32_t kFibonacciCount = 20;
extern const int32_t kFibonacci[kFibonacciCount]; // 1, 1, 2, 3, ..., 6765

// N: the smallest index >= 2 with F[N] >= radius / step (integer division, step below 1 counts as 1);
// radius / step above 6765 gives the last index (19). The blur then makes N - 1 blending passes.
int32_t blur_pass_count(int32_t radius, int32_t step);

// One direction of the blur in the off-screen target, w x h pixels. On entry the image is in buffer
// 1 - current; on return it is in buffer 1 - current (current updated). radius in pixels.
// additivePasses: how many of the first passes add instead of average (decreased as they are used).
// Returns the offset in pixels (x for horizontal, y downwards for vertical) at which the result must be
// drawn to be centred. A radius below 2 draws nothing and returns 0. Must run between RenderToTexture and
// RenderScreen, with BlendEnable pushed; leaves the cached state of the off-screen target as it found it,
// except the blend colour (glBlendColor).
float blur_pass(int32_t& current, int32_t radius, int32_t step, bool horizontal, int32_t w, int32_t h,
                int32_t& additivePasses);

// Renders sceneRoot with a RenderVisitor into whatever target is current (flipVertical for the off-screen
// buffers), clearing to transparent black, with the depth test on.
void render_post_scene(bool flipVertical);

// A textured (or not) quad with texture coordinates (0, 1), (1, 1), (1, 0), (0, 0) at the four corners
// given as x0, y0, ..., x3, y3, normal (0, 0, 1).
void draw_post_quad(const float* corners, bool textured);
// The full-screen quad (0, H), (W, H), (W, 0), (0, 0), shifted by (dx, dy).
void draw_shifted_screen_quad(float dx, float dy, bool textured);
// Pushes / pops the Color slot at white (1, 1, 1, 1).
void push_white();

// Sets status to 1; true on a running call with an off-screen target and a scene to render.
bool running_with_target(StateStruct* state);
// Pushes BlendEnable 1 with the two factors; pop_blend pops all three.
void push_blend(uint32_t src, uint32_t dst);
void pop_blend();
// Draws buffer `result` over the window shifted by (offX, offY) screen pixels with the screen projection
// of the given left edge (0, or 1.0 for the glare), in white, with the blend state as it is.
void show_buffer(int32_t result, float offX, float offY, double left);
