// Clear3D and Show3D: the two effects that bracket each frame's shared scene.
//
//   Clear3D()                     running call: empties sceneRoot (the nodes themselves are untouched).
//   Show3D(renderTo, width, height, clear, red, green, blue)
//                                 running call: renders sceneRoot with its camera, with the depth test on.
//                                 renderTo 0: into the window with the viewport as it is; 1 / 2: into
//                                 off-screen buffer 0 / 1 with a width x height viewport ("Render1" /
//                                 "Render2"), upside down relative to the window, as the textures expect.
//                                 clear != 0 clears to (red, green, blue) 0..255 and alpha 0, else only
//                                 depth. renderTo outside 0..2 is refused on every call (false, status -1); a
//                                 frame without a camera logs and sets status -1 but still returns true.
#pragma once

#include <vortel/plugin.h>

class RenderVisitor;

// The one RenderVisitor that Show3D and the post-processing effects render the scene with, Reset and
// ready for a traversal. It lives as long as the library; a GL state cache must be current (Reset switches
// the lights off through it). One traversal and Render at a time: not for use inside a Render.
RenderVisitor& scene_visitor();

VORTEL_EXPORT bool Clear3D(StateStruct* state, void** privateData);
VORTEL_EXPORT bool Show3D(StateStruct* state, void** privateData, int32_t renderTo, int32_t width,
                          int32_t height, int32_t clear, int32_t red, int32_t green, int32_t blue);
