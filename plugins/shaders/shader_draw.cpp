#include "shader_draw.h"

#include "shader_program.h"

#include "glstate.h"
#include "scene/texture.h"

#include <GL/glew.h>

namespace shaders
{

namespace
{

Texture* gBlack = nullptr;

void bind_unit1(uint32_t texture)
{
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glActiveTexture(GL_TEXTURE0);
}

} // namespace

void draw_over_target(const ShaderProgram& program, const ShaderInputs& inputs, uint32_t channel0,
                      uint32_t channel1, int32_t blendSrc, int32_t blendDst)
{
    const bool blend = blendSrc != 0 || blendDst != 0;
    gls_push(DepthTest, 0);
    gls_push(CullEnable, 0);
    gls_push(BlendEnable, blend ? 1 : 0);
    if (blend) {
        gls_push(BlendSrc, uint32_t(blendSrc));
        gls_push(BlendDst, uint32_t(blendDst));
    }
    const bool unit0 = program.reads_channel(0), unit1 = program.reads_channel(1);
    if (unit0)
        gls_push_bind_texture(channel0);
    if (unit1)
        bind_unit1(channel1);

    program.use(inputs);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glUseProgram(0);

    if (unit1)
        bind_unit1(0);
    if (unit0)
        gls_pop_bind_texture();
    if (blend) {
        gls_pop(BlendDst);
        gls_pop(BlendSrc);
    }
    gls_pop(BlendEnable);
    gls_pop(CullEnable);
    gls_pop(DepthTest);
}

GLViewportEntry viewport_from_bottom()
{
    const GLStateContext* context = gls_current_context();
    GLViewportEntry viewport = context->viewport[context->viewportDepth];
    viewport.y = gls_screen_height() - viewport.y - viewport.h;
    return viewport;
}

Texture& black_texture()
{
    if (!gBlack) {
        const uint32_t black = 0xFF000000u;
        gBlack = new Texture(&black, 1, 1);
    }
    return *gBlack;
}

void release_black_texture()
{
    delete gBlack;
    gBlack = nullptr;
}

} // namespace shaders
