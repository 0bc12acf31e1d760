// What the image effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it: one entry per
// exported effect, parameters in argument order.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "Textures ('TXTR') shown as pictures: quads in the scene, grids, swarms of pictures and a worn-film "
    "jitter. The textures come from Media.so (picture files) or are Scaffold's off-screen buffers "
    "\"Render1\" and \"Render2\". A quad is as large as the texture in pixels, one scene unit per pixel: use "
    "scale.";

constexpr auto kImage =
    vortel_params(vortel_text_param("texture", kTypeTexture, 0, "the texture"),
                  vortel_param("x", kVortelParamPosition, kVortelUnitSceneUnits, "centre"),
                  vortel_param("y", kVortelParamPosition, kVortelUnitSceneUnits, "centre"));
// A picture's place in its group and its blending, after the words that say what it shows.
constexpr auto kPicturePlace = vortel_params(
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitTenThousandth),
    vortel_param("opacity", kVortelParamColour, kVortelUnitChannel, "opacity", vortel_typical(255)));
constexpr auto kPictor3D =
    vortel_params(vortel_text_param("texture", kTypeTexture, 0, "the texture"), kPicturePlace,
                  vortel_blend("770", "771, 1"),
                  vortel_param("opaque", kVortelParamBoolean, kVortelUnitFlag,
                               "not 0: drawn as opaque whatever the blend factors", vortel_typical(0)),
                  vortel_scale("uniform scale (a 256-pixel texture at 4000 is about 10 units wide)",
                               vortel_range(1000, 10000)),
                  vortel_hang());
constexpr auto kImageSwarm3D = vortel_params(
    vortel_text_param("texture", kTypeTexture, 0, "the texture"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points get a picture",
                 vortel_typical(1).with_text("1 .. swarm size")),
    vortel_param("first", kVortelParamNumber, VortelUnit{"point", 1}, "the first point used",
                 vortel_typical(0)),
    vortel_text_param("swarm", kTypeSwarm, 0, "the 'SWRM' swarm"),
    vortel_param("sprites", kVortelParamBoolean, kVortelUnitFlag, "not 0: point sprites; 0: quads",
                 vortel_typical(0)),
    kPicturePlace, vortel_blend("770", "1"),
    vortel_scale("uniform scale of the whole swarm of pictures", vortel_range(1000, 100000)),
    vortel_param("growth", kVortelParamNumber, kVortelUnitMilli, "growth per point", vortel_range(0, 10)),
    vortel_hang());
// The words of a grid effect after its textures.
constexpr auto kGridSheet = vortel_params(
    vortel_text_param("grid", kTypeGrid, 0, "the 'GRID' sheet"),
    vortel_param("offS", kVortelParamNumber, VortelUnit{"1/204800 texture", 204800},
                 "shift of the picture across; 204800 is one whole width", vortel_range(0, 204800)),
    vortel_param("offT", kVortelParamNumber, VortelUnit{"1/204800 texture", 204800},
                 "shift of the picture up and down; 204800 is one whole height", vortel_range(0, 204800)),
    vortel_rgb("red", "green", "blue", "tint", vortel_typical(255)), kPicturePlace,
    vortel_blend("770", "771"), vortel_scale(), vortel_hang());
constexpr auto kImageGrid3D =
    vortel_params(vortel_text_param("texture", kTypeTexture, 0, "the texture"), kGridSheet);
constexpr auto kDualImageGrid3D =
    vortel_params(vortel_text_param("front", kTypeTexture, 0, "texture on the front"),
                  vortel_text_param("back", kTypeTexture, 0, "texture on the back"), kGridSheet);
constexpr auto kMovieJitter = vortel_params(
    vortel_text_param("texture", kTypeTexture, 0, "the texture"),
    vortel_param("seed", kVortelParamNumber, kVortelUnitPlain, "the draw; a new value moves the copies",
                 vortel_typical_text("any")),
    vortel_param(
        "amount", kVortelParamPosition, kVortelUnitSceneUnits,
        "how far the copies stray and spread, in whole scene units (before scale); negative counts as 0",
        vortel_range(10, 60)),
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitTenThousandth),
    vortel_param("level", kVortelParamNumber, kVortelUnitChannel, "brightness of the sum of the copies",
                 vortel_range(128, 255)),
    vortel_scale("uniform scale", vortel_range(1000, 10000)), vortel_hang());

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect(
        "Image",
        "Draws the texture on a 40 x 40 quad at (x, y), depth -1 of the current transform, directly in GL.",
        kImage),
    vortel_effect("Pictor3D", "A textured quad hung into a group.", kPictor3D),
    vortel_effect("Pictor3DAlpha",
                  "Pictor3D writing only the alpha channel of the frame buffer (masks for later blending).",
                  kPictor3D),
    vortel_effect("ImageSwarm3D",
                  "One picture (or point sprite) of the texture at each of `count` swarm points from "
                  "`first`; picture j grows by 1 + (j + 1) x growth x 0.001.",
                  kImageSwarm3D),
    vortel_effect("ImageGrid3D",
                  "The texture stretched over a 'GRID' sheet (for example MakeWaveGrid's), tinted.",
                  kImageGrid3D),
    vortel_effect("DualImageGrid3D", "ImageGrid3D with a second texture on the back of the sheet: a flag.",
                  kDualImageGrid3D),
    vortel_effect(
        "MovieJitter",
        "Three additive copies of the texture, jittered and spread by draws from the seed: animate the seed "
        "(a `sin` or `lin` parameter) for the flicker of a worn film. Each frame depends only on its seed.",
        kMovieJitter)};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
