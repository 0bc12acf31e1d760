// The two source forms a fragment shader file may have, and the whole shader compiled from each.
//
//   mainImage form   defines `void mainImage(out vec4 fragColor, in vec2 fragCoord)` and no main. It is
//                    wrapped: a GLSL 3.30 core prelude declares every input that form offers (iResolution,
//                    iTime, iTimeDelta, iFrame, iFrameRate, iChannelTime[4], iChannelResolution[4],
//                    iMouse, iDate, iSampleRate, iChannel0..3) and the engine's own (iParams, iDemoTime,
//                    iOpacity), and a main that calls mainImage with fragCoord measured from the
//                    bottom-left corner of the target and multiplies the alpha by iOpacity. Samples of
//                    texture, textureLod, textureGrad and texelFetch are turned upside down so that
//                    coordinate (0, 0) is a picture's bottom-left, as the form expects ('TXTR' rows run
//                    top row first). The author's text follows a `#line 1`, so the compiler counts lines
//                    of the author's file.
//   own main         anything else (in practice a whole `#version ...` shader with its own main): used as
//                    written.
//
// The vertex shader drawn with either is the one of vertex_shader_for: one attribute (location 0,
// "vortelPosition", clip-space x y) passed through, in the fragment shader's own #version.
#pragma once

#include <string>

namespace glsl
{

enum class SourceForm { MainImage, OwnMain };

// The form of `source`: own main when it defines a function `main`, else mainImage when it names
// mainImage, else own main (the compiler then reports what is missing). Comments are skipped.
SourceForm source_form(const std::string& source);

// The fragment shader compiled for `source`.
std::string fragment_shader(const std::string& source);

// The pass-through vertex shader that links with `fragmentShader` (a result of fragment_shader).
std::string vertex_shader_for(const std::string& fragmentShader);

// The name of the vertex attribute vertex_shader_for reads; bind it to location 0 before linking.
constexpr const char* kPositionAttribute = "vortelPosition";

// The uniform the mainImage wrapper reads to place fragCoord: (x0, y0, sy, 0) with
// fragCoord = (gl_FragCoord.x - x0, y0 + sy * gl_FragCoord.y).
constexpr const char* kFrameUniform = "vortelFrame";

} // namespace glsl
