#include "gl_cache_check.h"

#include <GL/glew.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{

uint32_t top(const GLStateContext& ctx, int slot)
{
    return ctx.slots[slot][ctx.slotDepth[slot]];
}

struct Differences {
    std::vector<std::string> lines;

    void check(bool same, const char* what, double gl, double cached)
    {
        if (same)
            return;
        char line[160];
        std::snprintf(line, sizeof(line), "%s: GL %g, cache %g", what, gl, cached);
        lines.push_back(line);
    }
    void integer(GLenum query, const char* what, int64_t cached)
    {
        GLint value = 0;
        glGetIntegerv(query, &value);
        check(value == cached, what, value, double(cached));
    }
    void enabled(GLenum cap, const char* what, bool cached)
    {
        const bool on = glIsEnabled(cap) == GL_TRUE;
        check(on == cached, what, on, cached);
    }
    void close(double gl, double cached, const char* what)
    {
        check(std::fabs(gl - cached) <= 1e-5 * std::max(1.0, std::fabs(cached)), what, gl, cached);
    }
};

void channels(uint32_t v, double out[4])
{
    out[0] = ((v >> 16) & 0xFF) / 255.0;
    out[1] = ((v >> 8) & 0xFF) / 255.0;
    out[2] = (v & 0xFF) / 255.0;
    out[3] = (v >> 24) / 255.0;
}

// The matrix glOrtho or glFrustum multiply with, column-major as GL reports it.
void projection_matrix(const GLProjectionEntry& p, double m[16])
{
    for (int i = 0; i < 16; ++i)
        m[i] = 0.0;
    const double l = p.left, r = p.right, b = p.bottom, t = p.top, n = p.nearPlane, f = p.farPlane;
    if (p.ortho) {
        m[0] = 2 / (r - l);
        m[5] = 2 / (t - b);
        m[10] = -2 / (f - n);
        m[12] = -(r + l) / (r - l);
        m[13] = -(t + b) / (t - b);
        m[14] = -(f + n) / (f - n);
        m[15] = 1;
    } else {
        m[0] = 2 * n / (r - l);
        m[5] = 2 * n / (t - b);
        m[8] = (r + l) / (r - l);
        m[9] = (t + b) / (t - b);
        m[10] = -(f + n) / (f - n);
        m[11] = -1;
        m[14] = -2 * f * n / (f - n);
    }
}

} // namespace

std::vector<std::string> gl_cache_differences(const GLStateContext& ctx)
{
    Differences d;
    d.enabled(GL_BLEND, "BlendEnable", top(ctx, BlendEnable) != 0);
    d.integer(GL_BLEND_SRC_RGB, "BlendSrc", top(ctx, BlendSrc));
    d.integer(GL_BLEND_DST_RGB, "BlendDst", top(ctx, BlendDst));
    d.integer(GL_BLEND_EQUATION_RGB, "BlendEquation", top(ctx, BlendEquation));

    GLfloat colour[4];
    double cached[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    channels(top(ctx, Color), cached);
    for (int i = 0; i < 4; ++i)
        d.close(colour[i], cached[i], "Color");
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
    channels(top(ctx, ClearColor), cached);
    for (int i = 0; i < 4; ++i)
        d.close(colour[i], cached[i], "ClearColor");

    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    const uint32_t bits = top(ctx, ColorMask);
    d.check(mask[0] == ((bits & 4) != 0) && mask[1] == ((bits & 2) != 0) && mask[2] == ((bits & 1) != 0) &&
                mask[3] == ((bits & 8) != 0),
            "ColorMask", mask[0] * 4 + mask[1] * 2 + mask[2] + mask[3] * 8, bits);

    d.enabled(GL_DEPTH_TEST, "DepthTest", top(ctx, DepthTest) != 0);
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    d.check((depthMask == GL_TRUE) == (top(ctx, DepthMask) != 0), "DepthMask", depthMask,
            top(ctx, DepthMask));
    d.integer(GL_SHADE_MODEL, "ShadeModel", top(ctx, ShadeModel));
    for (int plane = 0; plane < 4; ++plane) {
        d.enabled(GL_CLIP_PLANE0 + plane, "ClipEnable", top(ctx, ClipEnable) != 0);
        GLdouble eq[4];
        glGetClipPlane(GL_CLIP_PLANE0 + plane, eq);
        const double v = int32_t(top(ctx, ClipMaxX + plane));
        const double sign = (plane == 0 || plane == 2) ? -1.0 : 1.0;
        double expected[4] = {0, 0, 0, -(v * sign)};
        expected[plane / 2] = sign;
        for (int i = 0; i < 4; ++i)
            d.close(eq[i], expected[i], "clip plane equation");
    }
    d.enabled(GL_CULL_FACE, "CullEnable", top(ctx, CullEnable) != 0);
    d.integer(GL_CULL_FACE_MODE, "CullFace", top(ctx, CullFace));
    d.enabled(GL_LIGHTING, "Lighting", top(ctx, Lighting) != 0);
    for (int light = 0; light < 8; ++light)
        d.enabled(GL_LIGHT0 + light, "Light", top(ctx, Light0 + light) != 0);

    d.enabled(GL_TEXTURE_2D, "texture enable", ctx.textureEnable[ctx.textureEnableDepth]);
    d.integer(GL_TEXTURE_BINDING_2D, "bound texture", ctx.boundTexture[ctx.boundTextureDepth]);
    d.integer(GL_MATRIX_MODE, "matrix mode", ctx.matrixMode[ctx.matrixModeDepth]);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLViewportEntry& v = ctx.viewport[ctx.viewportDepth];
    const int64_t expectedViewport[4] = {v.x, int64_t(int(ctx.screenHeight)) - v.y - v.h, v.w, v.h};
    for (int i = 0; i < 4; ++i)
        d.check(viewport[i] == expectedViewport[i], "viewport", viewport[i], double(expectedViewport[i]));

    GLdouble matrix[16];
    double expected[16];
    glGetDoublev(GL_PROJECTION_MATRIX, matrix);
    projection_matrix(ctx.projection[ctx.projectionDepth], expected);
    for (int i = 0; i < 16; ++i)
        d.close(matrix[i], expected[i], "projection matrix");
    return d.lines;
}
