// A 640 x 480 GL window with the GL state cache made current, for the benchmarks that draw: the tests'
// GLWindow (SDL 1.2, GLEW) plus a GLStateContext. ok is false when no window could be opened.
#pragma once

#include "gl_window.h"
#include "glstate.h"

#include <memory>

struct BenchWindow {
    GLWindow window{640, 480};
    std::unique_ptr<GLStateContext> cache;
    bool ok = false;

    BenchWindow()
    {
        if (!window.ok())
            return;
        cache = std::make_unique<GLStateContext>(640, 480);
        gls_make_current(cache.get());
        ok = true;
    }
    ~BenchWindow() { gls_make_current(nullptr); }
};
