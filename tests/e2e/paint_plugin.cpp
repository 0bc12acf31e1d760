// Paint: a tiny effect plug-in that draws flat colours, so end-to-end tests (and the bundled demo) have
// pictures to check. Colours are 0..255 per channel; positions are window pixels, y down from the top.
//
//   FillGL(r, g, b)                  clears the whole window with the colour (OpenGL demos)
//   RectGL(r, g, b, x, y, w, h)      fills a rectangle (OpenGL demos)
//   FillSurface(r, g, b)             fills output surface 0 (demos without OpenGL)
//
// GL state it touches (clear colour, scissor) is put back before it returns.
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <vortel/plugin.h>

namespace {

SDL_Surface* gOutput = nullptr;

void clear_with(int32_t r, int32_t g, int32_t b)
{
    GLfloat previous[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, previous);
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(previous[0], previous[1], previous[2], previous[3]);
}

} // namespace

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** outputSurfaces, SDL_Surface**, ServicesStruct*)
{
    gOutput = outputSurfaces ? outputSurfaces[0] : nullptr;
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t) { return true; }

VORTEL_EXPORT bool Vortel_Quit()
{
    gOutput = nullptr;
    return true;
}

VORTEL_EXPORT bool FillGL(StateStruct* state, void**, int32_t r, int32_t g, int32_t b)
{
    if (state->phase > 0)
        clear_with(r, g, b);
    return true;
}

VORTEL_EXPORT bool RectGL(StateStruct* state, void**, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                          int32_t w, int32_t h)
{
    if (state->phase <= 0 || w <= 0 || h <= 0)
        return true;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint windowHeight = gOutput ? gOutput->h : viewport[3];
    GLboolean scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, windowHeight - y - h, w, h);
    clear_with(r, g, b);
    if (!scissorWasOn)
        glDisable(GL_SCISSOR_TEST);
    return true;
}

VORTEL_EXPORT bool FillSurface(StateStruct* state, void**, int32_t r, int32_t g, int32_t b)
{
    if (state->phase > 0 && gOutput)
        SDL_FillRect(gOutput, nullptr, SDL_MapRGB(gOutput->format, Uint8(r), Uint8(g), Uint8(b)));
    return true;
}
