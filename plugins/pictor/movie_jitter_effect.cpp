// MovieJitter: a picture drawn three times, added together, each frame's draw from the seed: the flicker
// and ghosting of a worn film when the seed is animated.
#include "image3d.h"
#include "movie_jitter.h"
#include "pictor_effects.h"
#include "placement.h"

#include "scene/axis_marker3d.h"
#include "scene/math3d.h"
#include "scene/texture.h"

#include <vortel/plugin_helper.h>

#include <GL/glew.h>

namespace
{
struct JitterRecord {
    vortel::Held texture;
    Image3D* copies[3] = {nullptr, nullptr, nullptr}; // P (middle), Q (+spread), R (-spread)
    AxisMarker3D* marker = nullptr;
};

void make_copies(JitterRecord& record)
{
    if (!record.texture.get())
        return;
    for (Image3D*& copy : record.copies)
        copy = new Image3D(record.texture.as<Texture>());
}

// After a new look-up of the texture: the copies show it, or, when it is gone, are deleted (the event
// shows nothing from then on). The copies themselves are kept, so that looking up a texture that is never
// static every frame costs no allocation.
void retexture_copies(JitterRecord& record)
{
    for (Image3D*& copy : record.copies) {
        if (record.texture.get()) {
            copy->SetTexture(record.texture.as<Texture>());
        } else {
            delete copy;
            copy = nullptr;
        }
    }
}
} // namespace

VORTEL_EXPORT bool MovieJitter(StateStruct* state, void** privateData, int32_t texture, int32_t seed,
                               int32_t amount, int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb,
                               int32_t qc, int32_t qd, int32_t level, int32_t scale, int32_t group,
                               int32_t showMarker)
{
    state->status = 1;
    auto* record = static_cast<JitterRecord*>(*privateData);
    if (vortel::is_first_call(state)) {
        state->status = 2;
        record = new JitterRecord;
        *privateData = record;
        record->texture.acquire(kTypeTexture, texture, "MovieJitter", "image");
        make_copies(*record);
        record->marker = pictor::make_marker();
        return true;
    }
    if (vortel::is_last_call(state)) {
        if (record) {
            for (Image3D* copy : record->copies)
                delete copy;
            delete record->marker;
            delete record;
            *privateData = nullptr;
        }
        return true;
    }
    if (!record || !record->texture.get() || !record->copies[0])
        return true;
    if (record->texture.refresh("MovieJitter")) {
        state->status = 2;
        retexture_copies(*record);
        if (!record->copies[0])
            return true;
    }
    const JitterDraw draw = movie_jitter_draw(seed, amount, level);
    for (Image3D* copy : record->copies) {
        copy->SetBlendSrc(GL_SRC_ALPHA);
        copy->SetBlendDst(GL_ONE);
        copy->SetOpacity(draw.alpha);
    }
    Image3D& p = *record->copies[0];
    const pictor::Placement where{x, y, z, qa, qb, qc, qd, scale, group, showMarker};
    pictor::place_node(p, record->marker, where);
    p.position[0] += float(draw.jitterX);
    p.position[1] += float(draw.jitterY);
    if (record->marker && (showMarker & 0xFF) != 0)
        copy_vec(p.position, record->marker->position);
    const float sign[3] = {0, 1, -1};
    for (int i = 1; i < 3; ++i) {
        Image3D& copy = *record->copies[i];
        copy.position[0] = p.position[0] + sign[i] * float(draw.spreadX);
        copy.position[1] = p.position[1] + sign[i] * float(draw.spreadY);
        copy.position[2] = p.position[2];
        copy_mat(p.matrix, copy.matrix);
    }
    Node3D* nodes[] = {record->copies[0], record->copies[1], record->copies[2]};
    pictor::hang_nodes(nodes, 3, record->marker, where, "Pictor3D");
    return true;
}
