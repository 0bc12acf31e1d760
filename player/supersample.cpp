#include "supersample.h"

#include <GL/glew.h>
#include <algorithm>
#include <cstdio>

#include <vortel/plugin.h>

#include "gl_pass.h"

namespace
{

// Reads the n x n texels under the output pixel at their centres (nearest filtering: no blending between
// blocks) and averages them.
const char* const kBoxFilterShader = "#version 120\n"
                                     "uniform sampler2D picture;\n"
                                     "uniform vec2 texel;\n"
                                     "const int n = %d;\n"
                                     "void main() {\n"
                                     "    vec2 first = (floor(gl_FragCoord.xy) * float(n) + 0.5) * texel;\n"
                                     "    vec4 sum = vec4(0.0);\n"
                                     "    for (int j = 0; j < n; ++j)\n"
                                     "        for (int i = 0; i < n; ++i)\n"
                                     "            sum += texture2D(picture, first + vec2(i, j) * texel);\n"
                                     "    gl_FragColor = sum / float(n * n);\n"
                                     "}\n";

// The largest width and height that can be drawn into, attached and shown in a viewport.
int largest_target()
{
    GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

} // namespace

SuperSampler::SuperSampler(int width, int height, int32_t n) : width_(width), height_(height), n_(n) {}

SuperSampler::~SuperSampler()
{
    if (program_)
        glDeleteProgram(program_);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    if (colour_)
        glDeleteTextures(1, &colour_);
}

void SuperSampler::prepare()
{
    const int largest = largest_target();
    if (rendered_width() > largest || rendered_height() > largest)
        throw BasicException::format("--supersample %d would draw %dx%d pictures, and this OpenGL draws at "
                                     "most %dx%d: choose a smaller factor or size.\n",
                                     int(n_), rendered_width(), rendered_height(), largest, largest);
    SavedGLState saved;
    // Like the window: where it has no alpha channel, effects that blend with the destination's alpha
    // must find 1 there, as they do in the window.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    colour_ = make_pass_texture(alphaBits > 0 ? GL_RGBA8 : GL_RGB8, rendered_width(), rendered_height(),
                                GL_UNSIGNED_BYTE);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, rendered_width(), rendered_height());
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw BasicException::format("Couldn't make the %dx%d target --supersample %d draws into.\n",
                                     rendered_width(), rendered_height(), int(n_));
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    char source[1024];
    std::snprintf(source, sizeof(source), kBoxFilterShader, int(n_));
    program_ = make_pass_program(kPassVertexShader, source, "supersampling filter");
}

void SuperSampler::begin_frame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void SuperSampler::resolve()
{
    {
        SavedGLState saved;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glDrawBuffer(GL_BACK);
        glUseProgram(program_);
        glUniform2f(glGetUniformLocation(program_, "texel"), 1.0f / float(rendered_width()),
                    1.0f / float(rendered_height()));
        draw_pass(program_, colour_, width_, height_);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
