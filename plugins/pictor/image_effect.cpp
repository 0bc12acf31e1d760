// Image: a texture on a small quad drawn straight into the current GL transform, outside the scene graph
// and outside the GL state cache (it is meant for 2D overlays set up by the caller).
#include "pictor_effects.h"

#include "scene/texture.h"

#include <vortel/plugin_helper.h>

#include <GL/glew.h>

namespace
{
void draw_quad(uint32_t textureId, float x, float y)
{
    glBindTexture(GL_TEXTURE_2D, textureId);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glColor4f(1, 1, 1, 1);
    glTexCoord2f(0, 1);
    glVertex3f(x - 20, y + 20, -1);
    glTexCoord2f(1, 1);
    glVertex3f(x + 20, y + 20, -1);
    glTexCoord2f(1, 0);
    glVertex3f(x + 20, y - 20, -1);
    glTexCoord2f(0, 0);
    glVertex3f(x - 20, y - 20, -1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
} // namespace

VORTEL_EXPORT bool Image(StateStruct* state, void** privateData, int32_t texture, int32_t x, int32_t y)
{
    state->status = 1;
    auto* held = static_cast<vortel::Held*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        held = new vortel::Held;
        *privateData = held;
        held->acquire(kTypeTexture, texture, "Image", "image");
        return true;
    }
    if (vortel::is_last_call(state)) {
        delete held; // releases the texture
        *privateData = nullptr;
        return true;
    }
    if (!held)
        return true;
    if (held->refresh("Image"))
        state->status = 2;
    if (held->get())
        draw_quad(held->as<Texture>()->id, float(x), float(y));
    return true;
}
