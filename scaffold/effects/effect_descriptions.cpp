// What the basic effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects). One entry per exported effect, parameters in argument order, as
// docs/effect-params.txt lists them.
#include <vortel/effect_description.h>

namespace
{

constexpr VortelParamDescription kShow3D[] = {
    vortel_param("renderTo", kVortelParamNumber), vortel_param("width", kVortelParamNumber),
    vortel_param("height", kVortelParamNumber),   vortel_param("clear", kVortelParamBoolean),
    vortel_param("red", kVortelParamColour),      vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour)};
constexpr VortelParamDescription kMake3DGroup[] = {
    vortel_text_param("name", kType3DGroup),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),
    vortel_param("scale", kVortelParamScale),
    vortel_text_param("parent", kType3DGroup, kVortelTextZeroIsNone),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kMake3DKaleido[] = {
    vortel_text_param("name", kType3DGroup),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),
    vortel_param("scale", kVortelParamScale),
    vortel_text_param("parent", kType3DGroup, kVortelTextZeroIsNone),
    vortel_param("showMarker", kVortelParamBoolean),
    vortel_param("copies", kVortelParamNumber),
    vortel_param("stepOffset", kVortelParamNumber),
    vortel_param("sx", kVortelParamPosition),
    vortel_param("sy", kVortelParamPosition),
    vortel_param("sz", kVortelParamPosition),
    vortel_param("sqa", kVortelParamQuaternion),
    vortel_param("sqb", kVortelParamQuaternion),
    vortel_param("sqc", kVortelParamQuaternion),
    vortel_param("sqd", kVortelParamQuaternion),
    vortel_param("sscale", kVortelParamScale)};
constexpr VortelParamDescription kMakeSymmetryGroup[] = {
    vortel_text_param("name", kType3DGroup),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),
    vortel_param("scale", kVortelParamScale),
    vortel_text_param("parent", kType3DGroup, kVortelTextZeroIsNone),
    vortel_param("showMarker", kVortelParamBoolean),
    vortel_param("axis", kVortelParamNumber),
    vortel_param("angle", kVortelParamAngle)};
constexpr VortelParamDescription kMakeSwarmGroup[] = {
    vortel_text_param("name", kType3DGroup),
    vortel_text_param("swarm", kTypeSwarm),
    vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),
    vortel_param("scale", kVortelParamScale),
    vortel_text_param("parent", kType3DGroup, kVortelTextZeroIsNone),
    vortel_param("showMarker", kVortelParamBoolean),
    vortel_param("count", kVortelParamNumber),
    vortel_param("first", kVortelParamNumber),
    vortel_param("timeStep", kVortelParamNumber)};
constexpr VortelParamDescription kCopyGroupToGroups[] = {
    vortel_text_param("source", kType3DGroup),
    vortel_text_param("target0", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target1", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target2", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target3", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target4", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target5", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target6", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target7", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target8", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target9", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target10", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("target11", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone)};
constexpr VortelParamDescription kSetCamera3D[] = {
    vortel_param("x", kVortelParamPosition),    vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),    vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion), vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion), vortel_param("aspect", kVortelParamNumber),
    vortel_param("near", kVortelParamPosition), vortel_param("far", kVortelParamPosition)};
constexpr VortelParamDescription kFocusCamera3D[] = {
    vortel_text_param("group", kType3DGroup, kVortelTextZeroIsNone),
    vortel_param("child", kVortelParamNumber),
    vortel_param("point", kVortelParamNumber),
    vortel_param("mode", kVortelParamNumber),
    vortel_param("d", kVortelParamPosition),
    vortel_param("e", kVortelParamNumber),
    vortel_param("f", kVortelParamNumber),
    vortel_param("aspect", kVortelParamNumber),
    vortel_param("near", kVortelParamPosition),
    vortel_param("far", kVortelParamPosition)};
constexpr VortelParamDescription kSetLight3D[] = {
    vortel_param("x", kVortelParamPosition),        vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),        vortel_param("aR", kVortelParamColour),
    vortel_param("aG", kVortelParamColour),         vortel_param("aB", kVortelParamColour),
    vortel_param("dR", kVortelParamColour),         vortel_param("dG", kVortelParamColour),
    vortel_param("dB", kVortelParamColour),         vortel_param("sR", kVortelParamColour),
    vortel_param("sG", kVortelParamColour),         vortel_param("sB", kVortelParamColour),
    vortel_param("k0", kVortelParamNumber),         vortel_param("k1", kVortelParamNumber),
    vortel_param("k2", kVortelParamNumber),         vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kRectangle3D[] = {
    vortel_param("w", kVortelParamPosition),           vortel_param("h", kVortelParamPosition),
    vortel_param("red", kVortelParamColour),           vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour),          vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("scale", kVortelParamScale),
    vortel_text_param("group", kType3DGroup),          vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kTriangle3D[] = {
    vortel_param("b", kVortelParamPosition),           vortel_param("h", kVortelParamPosition),
    vortel_param("red", kVortelParamColour),           vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour),          vortel_param("x", kVortelParamPosition),
    vortel_param("y", kVortelParamPosition),           vortel_param("z", kVortelParamPosition),
    vortel_param("qa", kVortelParamQuaternion),        vortel_param("qb", kVortelParamQuaternion),
    vortel_param("qc", kVortelParamQuaternion),        vortel_param("qd", kVortelParamQuaternion),
    vortel_param("opacity", kVortelParamColour),       vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("scale", kVortelParamScale),
    vortel_text_param("group", kType3DGroup),          vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kOval3D[] = {
    vortel_param("rx", kVortelParamPosition),          vortel_param("ry", kVortelParamPosition),
    vortel_param("roundness", kVortelParamNumber),     vortel_param("red", kVortelParamColour),
    vortel_param("green", kVortelParamColour),         vortel_param("blue", kVortelParamColour),
    vortel_param("x", kVortelParamPosition),           vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),           vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),        vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),        vortel_param("alpha", kVortelParamColour),
    vortel_param("blendSrc", kVortelParamBlendFactor), vortel_param("blendDst", kVortelParamBlendFactor),
    vortel_param("scale", kVortelParamScale),          vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kCube3D[] = {
    vortel_param("size", kVortelParamPosition),        vortel_param("red", kVortelParamColour),
    vortel_param("green", kVortelParamColour),         vortel_param("blue", kVortelParamColour),
    vortel_param("x", kVortelParamPosition),           vortel_param("y", kVortelParamPosition),
    vortel_param("z", kVortelParamPosition),           vortel_param("qa", kVortelParamQuaternion),
    vortel_param("qb", kVortelParamQuaternion),        vortel_param("qc", kVortelParamQuaternion),
    vortel_param("qd", kVortelParamQuaternion),        vortel_param("alpha", kVortelParamColour),
    vortel_param("blendSrc", kVortelParamBlendFactor), vortel_param("blendDst", kVortelParamBlendFactor),
    vortel_param("scale", kVortelParamScale),          vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kShowRibbons3D[] = {vortel_text_param("swarm", kTypeSwarm),
                                                     vortel_param("width", kVortelParamNumber),
                                                     vortel_param("pointsPerStrip", kVortelParamNumber),
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
constexpr VortelParamDescription kObject3D[] = {
    vortel_text_param("model", kTypeObject),
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
    vortel_param("alpha", kVortelParamColour),
    vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor),
    vortel_param("scale", kVortelParamScale),
    vortel_text_param("material", kTypeMaterial, kVortelTextZeroIsNone | kVortelTextNegativeIsNone),
    vortel_text_param("group", kType3DGroup),
    vortel_param("showMarker", kVortelParamBoolean)};
constexpr VortelParamDescription kPostBlurUgly[] = {vortel_param("divX", kVortelParamNumber),
                                                    vortel_param("divY", kVortelParamNumber)};
constexpr VortelParamDescription kPostBlurPrecise[] = {vortel_param("radiusX", kVortelParamNumber),
                                                       vortel_param("radiusY", kVortelParamNumber),
                                                       vortel_param("step", kVortelParamNumber)};
constexpr VortelParamDescription kPostGlare[] = {vortel_param("threshold", kVortelParamNumber),
                                                 vortel_param("radius", kVortelParamNumber),
                                                 vortel_param("passes", kVortelParamNumber)};
constexpr VortelParamDescription kColor4BG[] = {
    vortel_param("r0", kVortelParamColour), vortel_param("g0", kVortelParamColour),
    vortel_param("b0", kVortelParamColour), vortel_param("r1", kVortelParamColour),
    vortel_param("g1", kVortelParamColour), vortel_param("b1", kVortelParamColour),
    vortel_param("r2", kVortelParamColour), vortel_param("g2", kVortelParamColour),
    vortel_param("b2", kVortelParamColour), vortel_param("r3", kVortelParamColour),
    vortel_param("g3", kVortelParamColour), vortel_param("b3", kVortelParamColour)};
constexpr VortelParamDescription kFade[] = {
    vortel_param("red", kVortelParamColour), vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour), vortel_param("alpha", kVortelParamColour)};
constexpr VortelParamDescription kBackground[] = {
    vortel_text_param("texture", kTypeTexture),        vortel_param("alpha", kVortelParamColour),
    vortel_param("red", kVortelParamColour),           vortel_param("green", kVortelParamColour),
    vortel_param("blue", kVortelParamColour),          vortel_param("blendSrc", kVortelParamBlendFactor),
    vortel_param("blendDst", kVortelParamBlendFactor), vortel_param("renderTo", kVortelParamNumber),
    vortel_param("width", kVortelParamNumber),         vortel_param("height", kVortelParamNumber)};
constexpr VortelParamDescription kMakeMaterial[] = {
    vortel_text_param("name", kTypeMaterial),  vortel_param("aR", kVortelParamColour),
    vortel_param("aG", kVortelParamColour),    vortel_param("aB", kVortelParamColour),
    vortel_param("dR", kVortelParamColour),    vortel_param("dG", kVortelParamColour),
    vortel_param("dB", kVortelParamColour),    vortel_param("sR", kVortelParamColour),
    vortel_param("sG", kVortelParamColour),    vortel_param("sB", kVortelParamColour),
    vortel_param("extra", kVortelParamColour), vortel_param("shininess", kVortelParamNumber)};
constexpr VortelParamDescription kLoaderBarWhiteOnBlack[] = {vortel_param("progress", kVortelParamNumber)};
constexpr VortelParamDescription kSetMusicVolume[] = {vortel_param("level", kVortelParamNumber)};

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect("Clear3D"),
    vortel_effect("Show3D", kShow3D),
    vortel_effect("Make3DGroup", kMake3DGroup),
    vortel_effect("Make3DKaleido", kMake3DKaleido),
    vortel_effect("MakeSymmetryGroup", kMakeSymmetryGroup),
    vortel_effect("MakeSwarmGroup", kMakeSwarmGroup),
    vortel_effect("CopyGroupToGroups", kCopyGroupToGroups),
    vortel_effect("SetCamera3D", kSetCamera3D),
    vortel_effect("FocusCamera3D", kFocusCamera3D),
    vortel_effect("SetLight3D", kSetLight3D),
    vortel_effect("Rectangle3D", kRectangle3D),
    vortel_effect("Triangle3D", kTriangle3D),
    vortel_effect("Oval3D", kOval3D),
    vortel_effect("Cube3D", kCube3D),
    vortel_effect("ShowRibbons3D", kShowRibbons3D),
    vortel_effect("Object3D", kObject3D),
    vortel_effect("PostBlurUgly", kPostBlurUgly),
    vortel_effect("PostBlurPrecise", kPostBlurPrecise),
    vortel_effect("PostGlare", kPostGlare),
    vortel_effect("PostGlareSW"),
    vortel_effect("InvertColors"),
    vortel_effect("Color4BG", kColor4BG),
    vortel_effect("Fade", kFade),
    vortel_effect("Background", kBackground),
    vortel_effect("MakeMaterial", kMakeMaterial),
    vortel_effect("LoaderBarWhiteOnBlack", kLoaderBarWhiteOnBlack),
    vortel_effect("SetMusicVolume", kSetMusicVolume)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
