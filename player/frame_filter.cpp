#include "frame_filter.h"

#include <GL/glew.h>
#include <initializer_list>

#include <vortel/plugin.h>

namespace
{

const char* const kVertexShader = "#version 120\n"
                                  "varying vec2 uv;\n"
                                  "void main() { uv = gl_Vertex.xy * 0.5 + 0.5; gl_Position = gl_Vertex; }\n";
const char* const kFragmentShader = "#version 120\n"
                                    "uniform sampler2D picture;\n"
                                    "uniform float weight;\n"
                                    "varying vec2 uv;\n"
                                    "void main() { gl_FragColor = texture2D(picture, uv) * weight; }\n";

// Everything the blend changes, put back as the effects left it when it goes out of scope, so the GL state
// cache and the next frame see no difference.
class SavedGLState
{
public:
    SavedGLState()
    {
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_);
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glActiveTexture(GL_TEXTURE0);
        for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST,
                           GL_CULL_FACE, GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3,
                           GL_CLIP_PLANE4, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_DITHER})
            glDisable(cap);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    ~SavedGLState()
    {
        // The draw and read buffers belong to the framebuffer bound: bind it again before they come back.
        glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read_));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(draw_));
        glUseProgram(GLuint(program_));
        glPopAttrib();
    }
    SavedGLState(const SavedGLState&) = delete;
    SavedGLState& operator=(const SavedGLState&) = delete;

private:
    GLint read_ = 0, draw_ = 0, program_ = 0;
};

GLuint make_texture(GLint format, int width, int height, GLenum type)
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

GLuint compile(GLenum kind, const char* source)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(shader);
        throw BasicException("Couldn't compile the motion blur shader.\n");
    }
    return shader;
}

void draw_picture(GLuint program, GLuint texture, float weight, int width, int height)
{
    glViewport(0, 0, width, height);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    glUniform1f(glGetUniformLocation(program, "weight"), weight);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glEnd();
}

} // namespace

SubFrameBlend::SubFrameBlend(int width, int height, int32_t k) : width_(width), height_(height), k_(k) {}

SubFrameBlend::~SubFrameBlend()
{
    if (program_)
        glDeleteProgram(program_);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    GLuint textures[] = {sum_, copy_};
    glDeleteTextures(2, textures);
}

void SubFrameBlend::prepare()
{
    SavedGLState saved;
    sum_ = make_texture(GL_RGBA32F, width_, height_, GL_FLOAT);
    copy_ = make_texture(GL_RGBA8, width_, height_, GL_UNSIGNED_BYTE);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, sum_, 0);
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw BasicException("Couldn't make the float target --motion-blur sums its sub-frames in.\n");
    GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glLinkProgram(program_);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked)
        throw BasicException("Couldn't link the motion blur shader.\n");
}

void SubFrameBlend::add_back_buffer()
{
    SavedGLState saved;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glBindTexture(GL_TEXTURE_2D, copy_);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width_, height_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    if (fresh_) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        fresh_ = false;
    }
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE);
    draw_picture(program_, copy_, 1.0f / float(k_), width_, height_);
}

void SubFrameBlend::resolve()
{
    SavedGLState saved;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    draw_picture(program_, sum_, 1.0f, width_, height_);
    fresh_ = true;
}
