// What the flame effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects). One entry per exported effect, parameters in argument order, as
// docs/effect-params.txt lists them.
#include <vortel/effect_description.h>

namespace
{

constexpr VortelParamDescription kShowFlame[] = {
    vortel_text_param("name", kTypeFile),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qx", kVortelParamQuaternion),
    vortel_param("qy", kVortelParamQuaternion),
    vortel_param("qz", kVortelParamQuaternion),
    vortel_param("qw", kVortelParamQuaternion),
    vortel_param("pointCount", kVortelParamNumber),
    vortel_param("pointsFlag", kVortelParamBoolean),
    vortel_param("bufferFlag", kVortelParamBoolean),
    vortel_param("colourMode", kVortelParamNumber),
    vortel_param("time", kVortelParamNumber),
    vortel_param("alpha", kVortelParamColour),
    vortel_param("scale", kVortelParamScale),
    vortel_param("largestSize", kVortelParamPosition),
    vortel_param("smallestSize", kVortelParamPosition),
    vortel_param("batchCount", kVortelParamNumber),
    vortel_text_param("group", kType3DGroup),
    vortel_param("crossFlag", kVortelParamBoolean),
    vortel_text_param("texture", kTypeTexture, kVortelTextNegativeIsNone),
    vortel_param("blendEquation", kVortelParamBlendFactor)};
constexpr VortelParamDescription kMorphFlame[] = {
    vortel_text_param("name1", kTypeFile),
    vortel_text_param("name2", kTypeFile),
    vortel_param("amount", kVortelParamNumber),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qx", kVortelParamQuaternion),
    vortel_param("qy", kVortelParamQuaternion),
    vortel_param("qz", kVortelParamQuaternion),
    vortel_param("qw", kVortelParamQuaternion),
    vortel_param("pair0", kVortelParamNumber),
    vortel_param("pair1", kVortelParamNumber),
    vortel_param("pair2", kVortelParamNumber),
    vortel_param("ignored0", kVortelParamNumber),
    vortel_param("pair3", kVortelParamNumber),
    vortel_param("pair4", kVortelParamNumber),
    vortel_param("pair5", kVortelParamNumber),
    vortel_param("pair6", kVortelParamNumber),
    vortel_param("ignored1", kVortelParamNumber),
    vortel_param("ignored2", kVortelParamNumber),
    vortel_param("ignored3", kVortelParamNumber),
    vortel_param("ignored4", kVortelParamNumber),
    vortel_param("pointCount", kVortelParamNumber),
    vortel_param("pointsFlag", kVortelParamBoolean),
    vortel_param("bufferFlag", kVortelParamBoolean),
    vortel_param("colourMode", kVortelParamNumber),
    vortel_param("time", kVortelParamNumber),
    vortel_param("alpha", kVortelParamColour),
    vortel_param("scale", kVortelParamScale),
    vortel_param("largestSize", kVortelParamNumber),
    vortel_param("smallestSize", kVortelParamNumber),
    vortel_param("batchCount", kVortelParamNumber),
    vortel_text_param("group", kType3DGroup),
    vortel_param("crossFlag", kVortelParamBoolean),
    vortel_text_param("texture", kTypeTexture, kVortelTextNegativeIsNone),
    vortel_param("blendEquation", kVortelParamBlendFactor)};

constexpr VortelEffectDescription kEffects[] = {vortel_effect("ShowFlame", kShowFlame),
                                                vortel_effect("MorphFlame", kMorphFlame)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
