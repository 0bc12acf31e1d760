// HelloEffect.so: the plug-in entry points and one effect, HelloQuad, which hangs a spinning textured
// square into a named 3D group of Scaffold's shared scene.
#include "quad_node.h"

// The helper keeps the player's services and gives the log, the texts, the call phases and a holder for
// shared resources: every plug-in starts from it.
#include <vortel/plugin_helper.h>

#include "glstate.h"
#include "scene/group_node3d.h"
#include "scene/math3d.h"
#include "scene/texture.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace
{

// What one HelloQuad event owns between its first and its last call.
struct QuadEvent {
    Texture texture;
    QuadNode node;
    bool badSizeLogged = false;

    QuadEvent(const uint32_t* pixels, int32_t size) : texture(pixels, size, size), node(texture.id, 1.0f)
    {
        texture.SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    }
};

// Events still active when the demo ends get no last call: Vortel_Quit frees what they hold.
std::vector<QuadEvent*> gLiveQuads;

// Four quadrants: red top left, green top right, blue bottom left, yellow bottom right. Rows are stored top
// row first, as every 'TXTR' holds them; pixels are 0xAARRGGBB.
QuadEvent* make_quad()
{
    const int32_t size = 64;
    std::vector<uint32_t> pixels(size * size);
    for (int32_t row = 0; row < size; ++row) {
        const bool top = row < size / 2;
        for (int32_t column = 0; column < size; ++column) {
            const bool right = column >= size / 2;
            pixels[row * size + column] =
                top ? (right ? 0xFF00FF00u : 0xFFFF0000u) : (right ? 0xFFFFFF00u : 0xFF0000FFu);
        }
    }
    auto* quad = new QuadEvent(pixels.data(), size);
    gLiveQuads.push_back(quad);
    return quad;
}

void free_quad(QuadEvent* quad)
{
    gLiveQuads.erase(std::remove(gLiveQuads.begin(), gLiveQuads.end(), quad), gLiveQuads.end());
    delete quad;
}

} // namespace

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** /*outputSurfaces*/, SDL_Surface** /*inputSurfaces*/,
                               ServicesStruct* services)
{
    // Keeps a copy of the services for the effects; without them the plug-in cannot run.
    if (!vortel::adopt_services(services))
        return false;
    // gls_* of this plug-in are Scaffold's: share the player's GL state cache, as Scaffold does.
    gls_set_context(services->glContext);
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t /*frame*/)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    while (!gLiveQuads.empty())
        free_quad(gLiveQuads.back());
    return true;
}

// HelloQuad(group, x, y, z, edge, spin)
//   group     text index of the 3D group ('3DWR') to hang the square into; "theWorld" is the scene root
//   x, y, z   centre in the group's frame, x 0.001 scene units
//   edge      side length, x 0.001 scene units, above 0
//   spin      turning speed about the group's z axis, milliradians per second (counter-clockwise)
VORTEL_EXPORT bool HelloQuad(StateStruct* state, void** privateData, int32_t group, int32_t x, int32_t y,
                             int32_t z, int32_t edge, int32_t spin)
{
    state->status = 1;
    auto* quad = static_cast<QuadEvent*>(*privateData);
    if (vortel::is_first_call(state)) {
        *privateData = make_quad();
        state->status = 2;
        return true;
    }
    if (vortel::is_last_call(state)) {
        free_quad(quad);
        *privateData = nullptr;
        return true;
    }
    if (!quad)
        return true;

    if (edge <= 0) {
        if (!quad->badSizeLogged)
            vortel::log("HelloQuad: the edge must be above 0, not %d", int(edge));
        quad->badSizeLogged = true;
        state->status = -1;
        return false;
    }
    quad->badSizeLogged = false;

    quad->node.SetEdge(float(edge) * 0.001f);
    quad->node.position[0] = float(x) * 0.001f;
    quad->node.position[1] = float(y) * 0.001f;
    quad->node.position[2] = float(z) * 0.001f;
    // In double: spin x localTime passes 2^31 within a few seconds of a fast spin.
    make_rotz_mat(quad->node.matrix, float(double(spin) * 0.001 * double(state->localTime) * 0.001));

    // A group is emptied by its own event every frame, so the square is hung again each time. The
    // registry reports a missing group in the log. The holder gives the group back when it goes.
    vortel::Held target(kType3DGroup, group, "HelloQuad", "3D group");
    if (!target.get()) {
        state->status = -1;
        return true;
    }
    target.as<GroupNode3D>()->AddChild(&quad->node);
    return true;
}
