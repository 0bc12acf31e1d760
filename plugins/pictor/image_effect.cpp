// Image: a texture on a small quad drawn straight into the current GL transform, outside the scene graph
// and outside the GL state cache (it is meant for 2D overlays set up by the caller).
#include "pictor_effects.h"
#include "pictor_services.h"

#include "scene/texture.h"

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
    auto* held = static_cast<pictor::HeldResource*>(*privateData);
    if (state->phase == 0) {
        state->status = 2;
        held = new pictor::HeldResource;
        *privateData = held;
        held->take(kTypeTexture, texture, "Image", "image");
        return true;
    }
    if (state->phase < 0) {
        if (held) {
            held->drop();
            delete held;
            *privateData = nullptr;
        }
        return true;
    }
    if (!held)
        return true;
    if (held->refresh("Image"))
        state->status = 2;
    if (held->record)
        draw_quad(static_cast<Texture*>(held->record)->id, float(x), float(y));
    return true;
}
