// Shaders.so's effects: GLSL fragment shaders on the timeline. A shader file is in the mainImage form or
// has its own main (glsl/shader_source.h); it is opened with OpenFile, so the data file serves it, and
// rebuilt when it changes on disk (shader_event.h). The uniforms a program declares are set by name:
//   iResolution (vec3: target width, height, 1), iTime (s since the event started), iTimeDelta (s since
//   its previous frame), iFrame (frames drawn before this one), iFrameRate, iDemoTime (s of demo time),
//   iChannel0, iChannel1, iChannelResolution (their sizes), iParams, iOpacity, iSampleRate (44100), and
//   fGlobalTime (= iTime) and v2Resolution (= iResolution.xy) for shaders written with their own main.
// iTime and iDemoTime come from the demo clock (fixed while capturing); iTimeDelta, iFrame and
// ShaderPost's previous frame come from the frames the event has drawn.
//
//   ShaderQuad(shader, channel0, channel1, p0, p1, p2, p3, opacity, blendSrc, blendDst, renderTo)
//       one quad over the target: renderTo 0 the screen (the demo's viewport), 1 / 2 off-screen buffer 0 /
//       1 ("Render1" / "Render2") at the window's size, stored top row first like every 'TXTR'. channel0,
//       channel1: text indices naming 'TXTR' resources for iChannel0 / iChannel1; 0 or below (or a
//       buffer the quad draws into) binds a 1 x 1 black texture. p0..p3 x 0.001 are iParams; opacity
//       0..255 (clamped) is iOpacity, by which the mainImage form multiplies its alpha. blendSrc,
//       blendDst: GL blend factors, both 0 no blending. renderTo outside 0..2 is refused on every call
//       (false, status -1, one log line).
//   ShaderPost(shader, p0, p1, p2, p3)
//       renders the scene (theWorld, with its camera) into off-screen buffer 0 as the post effects do,
//       draws the shader with iChannel0 = that picture and iChannel1 = this event's own output of its
//       previous frame (black at first) and shows the result over the screen's viewport. Without an
//       off-screen target it draws nothing.
// Both return true (status 1); without a program (missing file, shader that does not build) they draw
// nothing and set status -1. Every GL state they change is restored before they return.
#pragma once

#include <vortel/plugin.h>

VORTEL_EXPORT bool ShaderQuad(StateStruct* state, void** privateData, int32_t shader, int32_t channel0,
                              int32_t channel1, int32_t p0, int32_t p1, int32_t p2, int32_t p3,
                              int32_t opacity, int32_t blendSrc, int32_t blendDst, int32_t renderTo);
VORTEL_EXPORT bool ShaderPost(StateStruct* state, void** privateData, int32_t shader, int32_t p0, int32_t p1,
                              int32_t p2, int32_t p3);

namespace shaders
{
// The off-screen pairs ShaderPost keeps for its events and reuses between them; freed by Vortel_Quit.
void release_post_buffers();
} // namespace shaders
