// Drawing a program over a whole target, and the black texture an unbound channel reads.
//
// Contracts
//  - draw_over_target draws one quad covering the current viewport with `program` and `inputs`; channel
//    textures go to units 0 and 1 (only those the program reads). Blend factors both 0: no blending. The
//    depth test and face culling are off for the quad. Every GL state it changes is restored before it
//    returns: the cached ones through gls_*, the others (program, unit 1's texture, the active unit) to
//    the engine's resting values (no program, no texture on unit 1, unit 0 active).
//  - black_texture() is a 1 x 1 opaque black Texture made on first use (GL context current), freed by
//    release_black_texture (Vortel_Quit).
#pragma once

#include <cstdint>

#include "glstate.h"

class Texture;

namespace shaders
{

class ShaderProgram;
struct ShaderInputs;

void draw_over_target(const ShaderProgram& program, const ShaderInputs& inputs, uint32_t channel0,
                      uint32_t channel1, int32_t blendSrc, int32_t blendDst);

// The viewport the window's cache holds now, in GL's window coordinates (y from the bottom).
GLViewportEntry viewport_from_bottom();

Texture& black_texture();
void release_black_texture();

} // namespace shaders
