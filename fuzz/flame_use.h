// What the flame effects do with a description just read, for the flame fuzz targets: the reader's
// promises are checked (a broken one traps), then the description is animated, morphed with the default
// one and drawn into a small flame mesh, so values a file lets through reach every consumer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "flame_description.h"
#include "flame_mesh.h"
#include "flame_morph.h"

inline void check_description(const emberfold::FlameDescription& d)
{
    using namespace emberfold;
    if (d.transformCount < 1 || d.transformCount > kMaxTransforms ||
        d.selectTable[d.transformCount - 1] != kSelectMax || symmetry_count(d) >= d.transformCount ||
        d.palette.count < 2 || d.palette.count > VirtPalette::kMaxColors)
        __builtin_trap();
    for (int32_t j = 1; j < d.transformCount; ++j)
        if (d.selectTable[j] < d.selectTable[j - 1])
            __builtin_trap();
}

inline void draw_description(const emberfold::FlameDescription& d)
{
    using namespace emberfold;
    FlameMeshSettings settings;
    settings.pointCount = 512; // a first block and one pass of 256
    settings.colourMode = 1;
    settings.batchCount = 8;
    FlameMesh mesh(d, settings);
    mesh.Generate();
}

inline void use_description(emberfold::FlameDescription& d)
{
    using namespace emberfold;
    check_description(d);
    draw_description(d);
    std::unique_ptr<FlameDescription> other(new FlameDescription);
    std::unique_ptr<FlameDescription> morph(new FlameDescription);
    make_default_description(*other);
    // Probabilities are the slow part of an input: one time inside the periods, one at the end of the clock.
    for (int32_t time : {2500, INT32_MIN}) {
        for (int32_t j = 0; j < d.transformCount; ++j)
            animate_transform(d.transforms[j], time);
        compute_probabilities(d);
        check_description(d);
    }
    const uint8_t pairs[kPairingIndices] = {0, 1, 2, 3, 49, 48, 255};
    morph_descriptions(d, *other, 400, pairs, *morph);
    check_description(*morph);
    draw_description(*morph);
}
