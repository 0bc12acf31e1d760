#include "frame_filter.h"

#include <GL/glew.h>

#include <vortel/plugin.h>

#include "gl_pass.h"

namespace
{

const char* const kWeightShader = "#version 120\n"
                                  "uniform sampler2D picture;\n"
                                  "uniform float weight;\n"
                                  "varying vec2 uv;\n"
                                  "void main() { gl_FragColor = texture2D(picture, uv) * weight; }\n";

void draw_weighted(GLuint program, GLuint texture, float weight, int width, int height)
{
    glUseProgram(program);
    glUniform1f(glGetUniformLocation(program, "weight"), weight);
    draw_pass(program, texture, width, height);
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
    sum_ = make_pass_texture(GL_RGBA32F, width_, height_, GL_FLOAT);
    copy_ = make_pass_texture(GL_RGBA8, width_, height_, GL_UNSIGNED_BYTE);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, sum_, 0);
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw BasicException("Couldn't make the float target --motion-blur sums its sub-frames in.\n");
    program_ = make_pass_program(kPassVertexShader, kWeightShader, "motion blur");
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
    draw_weighted(program_, copy_, 1.0f / float(k_), width_, height_);
}

void SubFrameBlend::resolve()
{
    SavedGLState saved;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    draw_weighted(program_, sum_, 1.0f, width_, height_);
    fresh_ = true;
}
