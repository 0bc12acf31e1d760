// The real GL entry points behind GLStateFunctions, and the replaceable table the cache calls through.
#include "gl_functions_internal.h"

#include <GL/glew.h>

namespace
{

const GLStateFunctions kRealFunctions = {
    [](uint32_t cap) { glEnable(cap); },
    [](uint32_t cap) { glDisable(cap); },
    [](uint32_t src, uint32_t dst) { glBlendFunc(src, dst); },
    // An extension entry point: null until GLEW is initialised.
    [](uint32_t mode) {
        if (glBlendEquation)
            glBlendEquation(mode);
    },
    [](double r, double g, double b, double a) { glColor4d(r, g, b, a); },
    [](float r, float g, float b, float a) { glClearColor(r, g, b, a); },
    [](bool r, bool g, bool b, bool a) { glColorMask(r, g, b, a); },
    [](bool flag) { glDepthMask(flag); },
    [](uint32_t mode) { glShadeModel(mode); },
    [](uint32_t plane, const double* equation) { glClipPlane(plane, equation); },
    [](uint32_t mode) { glCullFace(mode); },
    [](uint32_t target, uint32_t texture) { glBindTexture(target, texture); },
    [](uint32_t mode) { glMatrixMode(mode); },
    [](int32_t x, int32_t y, int32_t w, int32_t h) { glViewport(x, y, w, h); },
    []() { glLoadIdentity(); },
    [](double l, double r, double b, double t, double n, double f) { glOrtho(l, r, b, t, n, f); },
    [](double l, double r, double b, double t, double n, double f) { glFrustum(l, r, b, t, n, f); },
};

const GLStateFunctions* gInstalled = &kRealFunctions;

} // namespace

const GLStateFunctions* gls_gl_functions()
{
    return &kRealFunctions;
}

const GLStateFunctions* gls_set_functions(const GLStateFunctions* functions)
{
    const GLStateFunctions* previous = gInstalled;
    gInstalled = functions ? functions : &kRealFunctions;
    return previous;
}

const GLStateFunctions& gls_gl()
{
    return *gInstalled;
}
