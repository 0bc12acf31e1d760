#include "effects/screen_quad.h"

#include "glstate.h"

#include <GL/glew.h>

#include <algorithm>

namespace
{

void color(uint32_t argb)
{
    glColor4ub(GLubyte(argb >> 16), GLubyte(argb >> 8), GLubyte(argb), GLubyte(argb >> 24));
}

} // namespace

void push_screen_projection(double left)
{
    gls_push_projection(left, gls_screen_width(), gls_screen_height(), 0.0, 1.0, -1.0, true);
}

void draw_screen_quad(const uint32_t* cornerColors, bool textured)
{
    const float w = float(gls_screen_width()), h = float(gls_screen_height());
    const float corners[4][2] = {{0.0f, h}, {w, h}, {w, 0.0f}, {0.0f, 0.0f}};
    const float texCoords[4][2] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}};
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        if (cornerColors)
            color(cornerColors[i]);
        if (textured)
            glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex2f(corners[i][0], corners[i][1]);
    }
    glEnd();
    // The cache's Color slot must stay what GL has.
    if (cornerColors)
        color(gls_get(Color));
}

uint32_t clamped_color(int32_t alpha, int32_t red, int32_t green, int32_t blue)
{
    auto channel = [](int32_t v) { return uint32_t(std::clamp(v, 0, 255)); };
    return (channel(alpha) << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}
