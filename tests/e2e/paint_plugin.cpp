// Paint: a tiny effect plug-in that draws flat colours, so end-to-end tests (and the bundled demo) have
// pictures to check. Colours are 0..255 per channel; positions are pixels from the top-left corner of the
// current viewport (the player's aspect-ratio viewport), y down.
//
//   FillGL(r, g, b)                  fills the viewport with the colour (OpenGL demos)
//   RectGL(r, g, b, x, y, w, h)      fills a rectangle, clipped to the viewport (OpenGL demos)
//   FillSurface(r, g, b)             fills output surface 0 (demos without OpenGL)
//
// GL state it touches (clear colour, scissor) is put back before it returns.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <cstdint>

#include <vortel/plugin.h>

namespace
{

SDL_Surface* gOutput = nullptr;

// Clears the part of the rectangle (viewport coordinates, y down) that lies inside the viewport.
void fill(int32_t r, int32_t g, int32_t b, int32_t x, int32_t y, int32_t w, int32_t h)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t(x) + w, viewport[2]);
    int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, viewport[3]);
    if (x1 <= x0 || y1 <= y0)
        return;
    GLint left = viewport[0] + GLint(x0), bottom = viewport[1] + viewport[3] - GLint(y1);
    GLfloat previous[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, previous);
    GLboolean scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glScissor(left, bottom, GLsizei(x1 - x0), GLsizei(y1 - y0));
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(previous[0], previous[1], previous[2], previous[3]);
    if (!scissorWasOn)
        glDisable(GL_SCISSOR_TEST);
}

} // namespace

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** outputSurfaces, SDL_Surface**, ServicesStruct*)
{
    gOutput = outputSurfaces ? outputSurfaces[0] : nullptr;
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    gOutput = nullptr;
    return true;
}

VORTEL_EXPORT bool FillGL(StateStruct* state, void**, int32_t r, int32_t g, int32_t b)
{
    if (state->phase > 0)
        fill(r, g, b, 0, 0, INT32_MAX, INT32_MAX);
    return true;
}

VORTEL_EXPORT bool RectGL(StateStruct* state, void**, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                          int32_t w, int32_t h)
{
    if (state->phase > 0 && w > 0 && h > 0)
        fill(r, g, b, x, y, w, h);
    return true;
}

VORTEL_EXPORT bool FillSurface(StateStruct* state, void**, int32_t r, int32_t g, int32_t b)
{
    if (state->phase > 0 && gOutput)
        SDL_FillRect(gOutput, nullptr, SDL_MapRGB(gOutput->format, Uint8(r), Uint8(g), Uint8(b)));
    return true;
}
