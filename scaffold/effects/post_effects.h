// The post-processing effects. Each takes the place of Show3D for its frame: it renders sceneRoot itself
// into the off-screen target (gPBuffer), processes it there and draws the result over the whole window.
// They act on running calls only, set status to 1 and return true; they keep no data between calls.
// Without an off-screen target they draw nothing. GL state is left as the window's cache holds it, except
// the blend colour (glBlendColor), which keeps what the last blur pass set.
//
// PostBlurUgly(divX, divY)          the scene at W/divX x H/divY twice (the second shifted by a fraction of a
//                                   pixel), both stretched over the screen at half strength. divX, divY
//                                   below 1 count as 1.
// PostBlurPrecise(radiusX, radiusY, step)
//                                   separable blur: radii in pixels (below 2: no blur in that direction),
//                                   step = the largest spacing in pixels between taps (below 1 counts as 1);
//                                   radius / step above 6765 is taken as 6765.
// PostGlare(threshold, radius, passes)
//                                   the scene, plus its parts brighter than threshold / 256 (0..256) blurred
//                                   with radius (below 1 counts as 1) and added on top; `passes` of the
//                                   blur passes add instead of average (half horizontally, rest vertically).
// PostGlareSW()                     fills buffer 0 with opaque red pixels from memory and shows it.
#pragma once

#include <vortel/plugin.h>

VORTEL_EXPORT bool PostBlurUgly(StateStruct* state, void** privateData, int32_t divX, int32_t divY);
VORTEL_EXPORT bool PostBlurPrecise(StateStruct* state, void** privateData, int32_t radiusX, int32_t radiusY,
                                   int32_t step);
VORTEL_EXPORT bool PostGlare(StateStruct* state, void** privateData, int32_t threshold, int32_t radius,
                             int32_t passes);
VORTEL_EXPORT bool PostGlareSW(StateStruct* state, void** privateData);
