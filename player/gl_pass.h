// What the capture's full-screen GL passes (motion blur, supersampling) share: the state they change put
// back afterwards, their textures and shader programs, and the quad they draw.
#pragma once

#include <GL/glew.h>

// Everything a pass changes, put back as the effects left it when it goes out of scope, so the GL state
// cache and the next frame see no difference. While it lives, blending, depth, scissor, stencil, alpha
// test, culling, clip planes, logic op and dither are off, and texture unit 0 is active.
class SavedGLState
{
public:
    SavedGLState();
    ~SavedGLState();
    SavedGLState(const SavedGLState&) = delete;
    SavedGLState& operator=(const SavedGLState&) = delete;

private:
    GLint read_ = 0, draw_ = 0, program_ = 0;
};

// A width x height 2D texture with nearest filtering and clamped edges, its pixels undefined.
GLuint make_pass_texture(GLint format, int width, int height, GLenum type);

// Compiles and links the two shaders. Throws BasicException naming `what` when either step fails.
GLuint make_pass_program(const char* vertexSource, const char* fragmentSource, const char* what);

// The vertex shader of every pass: a quad over the whole viewport, uv 0..1 from its bottom-left.
extern const char* const kPassVertexShader;

// Draws `texture` over a width x height viewport at the bottom-left with `program`, whose sampler
// "picture" reads texture unit 0.
void draw_pass(GLuint program, GLuint texture, int width, int height);
