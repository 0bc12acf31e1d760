#include "gl_pass.h"

#include <initializer_list>

#include <vortel/plugin.h>

const char* const kPassVertexShader =
    "#version 120\n"
    "varying vec2 uv;\n"
    "void main() { uv = gl_Vertex.xy * 0.5 + 0.5; gl_Position = gl_Vertex; }\n";

SavedGLState::SavedGLState()
{
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glActiveTexture(GL_TEXTURE0);
    for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST, GL_CULL_FACE,
                       GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3, GL_CLIP_PLANE4,
                       GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_DITHER})
        glDisable(cap);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

SavedGLState::~SavedGLState()
{
    // The draw and read buffers belong to the framebuffer bound: bind it again before they come back.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read_));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(draw_));
    glUseProgram(GLuint(program_));
    glPopAttrib();
}

GLuint make_pass_texture(GLint format, int width, int height, GLenum type)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, GL_RGBA, type, nullptr);
    return texture;
}

namespace
{

GLuint compile(GLenum kind, const char* source, const char* what)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(shader);
        throw BasicException::format("Couldn't compile the %s shader.\n", what);
    }
    return shader;
}

} // namespace

GLuint make_pass_program(const char* vertexSource, const char* fragmentSource, const char* what)
{
    GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource, what);
    GLuint fragment = 0;
    try {
        fragment = compile(GL_FRAGMENT_SHADER, fragmentSource, what);
    } catch (...) {
        glDeleteShader(vertex);
        throw;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        glDeleteProgram(program);
        throw BasicException::format("Couldn't link the %s shader.\n", what);
    }
    return program;
}

void draw_pass(GLuint program, GLuint texture, int width, int height)
{
    glViewport(0, 0, width, height);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glEnd();
}
