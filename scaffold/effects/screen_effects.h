// Screen, material and utility effects. W x H is the window size of the GL state cache.
//
//   InvertColors()                  running calls: the picture becomes 1 - itself.
//   Color4BG(r0, g0, b0, ... b3)    running calls: a full-screen quad with one colour per corner, in the
//                                   order bottom-left, bottom-right, top-right, top-left; no blending.
//   Fade(R, G, B, A)                running calls: blends (R, G, B) over the picture with opacity A / 255.
//   Background(texture, A, R, G, B, blendSrc, blendDst, renderTo, w, h)
//                                   running calls: the 'TXTR' resource `texture` (text index) stretched
//                                   over the screen (renderTo 0) or over a w x h viewport of off-screen
//                                   buffer 0 / 1 (renderTo 1 / 2), tinted by (A, R, G, B), blended with the
//                                   two GL blend factors. renderTo outside 0..2 is refused on every call.
//   MakeMaterial(name, aR, aG, aB, dR, dG, dB, sR, sG, sB, extra, shininess)
//                                   the 'MTRL' resource `name` (text index) from the first call to the
//                                   last; running calls set its colours (/ 255), opacity extra / 255 and
//                                   shininess x 0.01. A name already in use is refused.
//   LoaderBarWhiteOnBlack(progress) running calls: clears the window and draws a white bar from the left,
//                                   progress / 10000 of the width, between 45 % and 55 % of the height.
//   SetMusicVolume(level)           running calls: music level 0..255 (clamped).
// Colour channels are clamped to 0..255. Every GL state change is undone before the effect returns.
#pragma once

#include <vortel/plugin.h>

VORTEL_EXPORT bool InvertColors(StateStruct* state, void** privateData);
VORTEL_EXPORT bool Color4BG(StateStruct* state, void** privateData, int32_t r0, int32_t g0, int32_t b0,
                            int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2,
                            int32_t r3, int32_t g3, int32_t b3);
VORTEL_EXPORT bool Fade(StateStruct* state, void** privateData, int32_t red, int32_t green, int32_t blue,
                        int32_t alpha);
VORTEL_EXPORT bool Background(StateStruct* state, void** privateData, int32_t texture, int32_t alpha,
                              int32_t red, int32_t green, int32_t blue, int32_t blendSrc, int32_t blendDst,
                              int32_t renderTo, int32_t width, int32_t height);
VORTEL_EXPORT bool MakeMaterial(StateStruct* state, void** privateData, int32_t name, int32_t aR, int32_t aG,
                                int32_t aB, int32_t dR, int32_t dG, int32_t dB, int32_t sR, int32_t sG,
                                int32_t sB, int32_t extra, int32_t shininess);
VORTEL_EXPORT bool LoaderBarWhiteOnBlack(StateStruct* state, void** privateData, int32_t progress);
VORTEL_EXPORT bool SetMusicVolume(StateStruct* state, void** privateData, int32_t level);
