// What the image effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects). One entry per exported effect, parameters in argument order, as
// docs/effect-params.txt lists them.
#include <vortel/effect_description.h>

namespace
{

constexpr VortelParamDescription kImage[] = {vortel_text_param("texture", kTypeTexture),
                                             vortel_param("x", kVortelParamPosition),
                                             vortel_param("y", kVortelParamPosition)};
constexpr VortelParamDescription kPictor3D[] = {
    vortel_text_param("texture", kTypeTexture),        vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("opaque", kVortelParamBoolean),
    vortel_param("scale", kVortelParamScale),          vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kPictor3DAlpha[] = {
    vortel_text_param("texture", kTypeTexture),        vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("opaque", kVortelParamBoolean),
    vortel_param("scale", kVortelParamScale),          vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kImageSwarm3D[] = {
    vortel_text_param("texture", kTypeTexture),        vortel_param("count", kVortelParamNumber),
    vortel_param("first", kVortelParamNumber),         vortel_text_param("swarm", kTypeSwarm),
    vortel_param("sprites", kVortelParamBoolean),      vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("scale", kVortelParamScale),
    vortel_param("growth", kVortelParamNumber),        vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kImageGrid3D[] = {
    vortel_text_param("texture", kTypeTexture),        vortel_text_param("grid", kTypeGrid),
    vortel_param("offS", kVortelParamNumber),          vortel_param("offT", kVortelParamNumber),
    vortel_param("red", kVortelParamColour),           vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour),          vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("scale", kVortelParamScale),
    vortel_text_param("group", kType3DGroup),          vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kDualImageGrid3D[] = {vortel_text_param("front", kTypeTexture),
                                                       vortel_text_param("back", kTypeTexture),
                                                       vortel_text_param("grid", kTypeGrid),
                                                       vortel_param("offS", kVortelParamNumber),
                                                       vortel_param("offT", kVortelParamNumber),
                                                       vortel_param("red", kVortelParamColour),
                                                       vortel_param("green", kVortelParamColour),
                                                       vortel_param("blue", kVortelParamColour),
                                                       vortel_param("x", kVortelParamPosition),
                                                       vortel_param("y", kVortelParamPosition),
                                                       vortel_param("z", kVortelParamPosition),
                                                       vortel_param("qa", kVortelParamQuaternion),
                                                       vortel_param("qb", kVortelParamQuaternion),
                                                       vortel_param("qc", kVortelParamQuaternion),
                                                       vortel_param("qd", kVortelParamQuaternion),
                                                       vortel_param("opacity", kVortelParamColour),
                                                       vortel_param("blendSrc", kVortelParamBlendFactor),
                                                       vortel_param("blendDst", kVortelParamBlendFactor),
                                                       vortel_param("scale", kVortelParamScale),
                                                       vortel_text_param("group", kType3DGroup),
                                                       vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kMovieJitter[] = {
    vortel_text_param("texture", kTypeTexture),   vortel_param("seed", kVortelParamNumber),
    vortel_param("amount", kVortelParamPosition), vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),      vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),   vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),   vortel_param("qd", kVortelParamQuaternion),
    vortel_param("level", kVortelParamNumber),    vortel_param("scale", kVortelParamScale),
    vortel_text_param("group", kType3DGroup),     vortel_param("showMarker", kVortelParamBoolean)};

constexpr VortelEffectDescription kEffects[] = {vortel_effect("Image", kImage),
                                                vortel_effect("Pictor3D", kPictor3D),
                                                vortel_effect("Pictor3DAlpha", kPictor3DAlpha),
                                                vortel_effect("ImageSwarm3D", kImageSwarm3D),
                                                vortel_effect("ImageGrid3D", kImageGrid3D),
                                                vortel_effect("DualImageGrid3D", kDualImageGrid3D),
                                                vortel_effect("MovieJitter", kMovieJitter)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
