// What the flame effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it: one entry per
// exported effect, parameters in argument order.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "Flame fractals read from description files (\".flame\", with an optional animation companion whose name "
    "ends in \"ANI\"), drawn as clouds of coloured points or textured squares in a group. The file format, "
    "with examples: [Flame description files](flame-files.md).";

// How the points are drawn: how many, as points or squares, from a vertex buffer or not, and how their
// colours are smoothed.
constexpr auto kPointStyle = vortel_params(
    vortel_param("pointCount", kVortelParamNumber, kVortelUnitPoints, "how many points",
                 vortel_range(20000, 100000)),
    vortel_param("pointsFlag", kVortelParamBoolean, kVortelUnitFlag, "not 0: GL points; 0: textured squares",
                 vortel_typical(1)),
    vortel_param("bufferFlag", kVortelParamBoolean, kVortelUnitFlag, "keep the points in a vertex buffer",
                 vortel_typical(1)),
    vortel_param("colourMode", kVortelParamNumber, VortelUnit{"0, 1", 1},
                 "1 averages each point's colour coordinate with the previous one (smoother colours)",
                 vortel_typical(1)));
constexpr auto kPointOpacity =
    vortel_params(vortel_param("alpha", kVortelParamColour, kVortelUnitChannel,
                               "opacity of every point; added points want little", vortel_range(20, 255)),
                  vortel_scale("uniform scale", vortel_range(100000, 500000)));
// After the point sizes: the size steps, where the flame hangs, and the squares' texture.
constexpr auto kPlaceAndTexture = vortel_params(
    vortel_param("batchCount", kVortelParamNumber, kVortelUnitCount,
                 "size steps between smallest and largest; 0 or less counts as 1", vortel_range(1, 8)),
    vortel_hang("crossFlag"),
    vortel_text_param(
        "texture", kTypeTexture, kVortelTextNegativeIsNone,
        "'TXTR' texture of the squares; -1 none (points, or plain squares; nothing is looked up or logged)",
        vortel_typical(-1)));

// MorphFlame's words that pair transforms, four to a word, and the words it does not read.
constexpr VortelParamDescription pairing(const char* name, const char* meaning, VortelValues values = {})
{
    return vortel_param(name, kVortelParamNumber, VortelUnit{"bytes", 1}, meaning, values);
}
constexpr VortelParamDescription unused(const char* name)
{
    return vortel_param(name, kVortelParamNumber, kVortelUnitPlain, "not used", vortel_typical(0));
}

constexpr auto kShowFlame = vortel_params(
    vortel_text_param("name", kTypeFile, 0, "the description file"),
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qx", "qy", "qz", "qw", kVortelUnitTenThousandth, "rotation quaternion x (normalised)"),
    kPointStyle,
    vortel_param("time", kVortelParamNumber, VortelUnit{"period units", 1},
                 "animation time of an animated description, in the unit of the periods in its ANI file (a "
                 "straight line from 0 to the event's length plays periods written in ms)",
                 vortel_range(0, 10000)),
    kPointOpacity,
    vortel_param("largestSize", kVortelParamPosition, kVortelUnitMilli,
                 "size of the brightest points (and edge of a square); a point is about 2.56 x size x window "
                 "width / distance pixels",
                 vortel_range(20, 100)),
    vortel_param("smallestSize", kVortelParamPosition, kVortelUnitMilli, "size of the dimmest points",
                 vortel_range(5, 50)),
    kPlaceAndTexture,
    vortel_param("blendEquation", kVortelParamBlendFactor, kVortelUnitGLEnum,
                 "32774 (GL_FUNC_ADD) adds; 0 draws opaque", vortel_typical(0).with_text("0, 32774")));
constexpr auto kMorphFlame = vortel_params(
    vortel_text_param("name1", kTypeFile, 0, "first description file"),
    vortel_text_param("name2", kTypeFile, 0, "second description file"),
    vortel_param("amount", kVortelParamNumber, kVortelUnitMilli,
                 "0 the first, 1000 the second; not clamped (values outside extrapolate)",
                 vortel_range(0, 1000)),
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qx", "qy", "qz", "qw", kVortelUnitTenThousandth,
                    "rotation quaternion x (used as given, not normalised)"),
    vortel_param("pair0", kVortelParamNumber, VortelUnit{"bytes", 1},
                 "transforms of the smaller description paired with transforms 0..3 of the larger, one per "
                 "byte from the most significant",
                 vortel_typical(66051).with_text("66051 (0, 1, 2, 3)")),
    pairing("pair1", "pairing of transforms 4..7",
            vortel_typical(67438087).with_text("67438087 (4, 5, 6, 7)")),
    pairing("pair2", "pairing of transforms 8..11"), unused("ignored0"),
    pairing("pair3", "pairing of transforms 12..15"), pairing("pair4", "pairing of transforms 16..19"),
    pairing("pair5", "pairing of transforms 20..23"), pairing("pair6", "pairing of transforms 24..27"),
    unused("ignored1"), unused("ignored2"), unused("ignored3"), unused("ignored4"), kPointStyle,
    vortel_param("time", kVortelParamNumber, VortelUnit{"period units", 1},
                 "animation time of both descriptions", vortel_range(0, 10000)),
    kPointOpacity,
    vortel_param("largestSize", kVortelParamNumber, kVortelUnitHundredth,
                 "size of the brightest points, as ShowFlame's but in hundredths", vortel_range(2, 10)),
    vortel_param("smallestSize", kVortelParamNumber, kVortelUnitHundredth, "size of the dimmest points",
                 vortel_range(1, 5)),
    kPlaceAndTexture,
    vortel_param("blendEquation", kVortelParamBlendFactor, kVortelUnitGLEnum, "32774 adds; 0 also adds here",
                 vortel_typical(0).with_text("0, 32774")));

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect("ShowFlame",
                  "One flame description, animated and drawn as a point cloud. The points are regenerated "
                  "only when a parameter that shapes them changes.",
                  kShowFlame),
    vortel_effect("MorphFlame",
                  "A flame between two descriptions, transform by transform; rebuilt every running call, so "
                  "it costs more per frame than ShowFlame.",
                  kMorphFlame)};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
