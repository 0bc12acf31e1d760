// What the swarm effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects). One entry per exported effect, parameters in argument order, as
// docs/effect-params.txt lists them.
#include <vortel/effect_description.h>

namespace
{

constexpr VortelParamDescription kMakeCubeSwarm[] = {
    vortel_text_param("name", kTypeSwarm), vortel_param("n", kVortelParamNumber),
    vortel_param("spacing", kVortelParamPosition), vortel_param("solid", kVortelParamBoolean)};
constexpr VortelParamDescription kMakeSphereSwarm[] = {
    vortel_text_param("name", kTypeSwarm), vortel_param("radius", kVortelParamPosition),
    vortel_param("pointsPerRing", kVortelParamNumber), vortel_param("rings", kVortelParamNumber)};
constexpr VortelParamDescription kMakeStarfieldSwarm[] = {
    vortel_text_param("name", kTypeSwarm), vortel_param("count", kVortelParamNumber),
    vortel_param("halfExtent", kVortelParamPosition), vortel_param("reserved", kVortelParamNumber)};
constexpr VortelParamDescription kMakeSineSwarm[] = {
    vortel_text_param("name", kTypeSwarm),      vortel_param("count", kVortelParamNumber),
    vortel_param("step", kVortelParamNumber),   vortel_param("ampX", kVortelParamPosition),
    vortel_param("freqX", kVortelParamNumber),  vortel_param("phaseX", kVortelParamAngle),
    vortel_param("ampY", kVortelParamPosition), vortel_param("freqY", kVortelParamNumber),
    vortel_param("phaseY", kVortelParamAngle),  vortel_param("ampZ", kVortelParamPosition),
    vortel_param("freqZ", kVortelParamNumber),  vortel_param("phaseZ", kVortelParamAngle),
    vortel_param("offset", kVortelParamNumber)};
constexpr VortelParamDescription kMakeTorusSineSwarm[] = {vortel_text_param("name", kTypeSwarm),
                                                          vortel_param("count", kVortelParamNumber),
                                                          vortel_param("ringRadius", kVortelParamPosition),
                                                          vortel_param("ringStep", kVortelParamAngle),
                                                          vortel_param("tubeRadius", kVortelParamPosition),
                                                          vortel_param("tubeStep", kVortelParamAngle),
                                                          vortel_param("tubeOffset", kVortelParamAngle)};
constexpr VortelParamDescription kMakeSpiroSwarm[] = {
    vortel_text_param("name", kTypeSwarm),   vortel_param("count", kVortelParamNumber),
    vortel_param("b", kVortelParamNumber),   vortel_param("c", kVortelParamNumber),
    vortel_param("d", kVortelParamPosition), vortel_param("e", kVortelParamAngle),
    vortel_param("f", kVortelParamAngle),    vortel_param("g", kVortelParamNumber),
    vortel_param("h", kVortelParamAngle)};
constexpr VortelParamDescription kMakeBezierSwarm[] = {vortel_text_param("name", kTypeSwarm),
                                                       vortel_param("count", kVortelParamNumber),
                                                       vortel_param("p0x", kVortelParamPosition),
                                                       vortel_param("p0y", kVortelParamPosition),
                                                       vortel_param("p0z", kVortelParamPosition),
                                                       vortel_param("p1x", kVortelParamPosition),
                                                       vortel_param("p1y", kVortelParamPosition),
                                                       vortel_param("p1z", kVortelParamPosition),
                                                       vortel_param("p2x", kVortelParamPosition),
                                                       vortel_param("p2y", kVortelParamPosition),
                                                       vortel_param("p2z", kVortelParamPosition),
                                                       vortel_param("p3x", kVortelParamPosition),
                                                       vortel_param("p3y", kVortelParamPosition),
                                                       vortel_param("p3z", kVortelParamPosition),
                                                       vortel_param("controlPoints", kVortelParamBoolean)};
constexpr VortelParamDescription kMakeRandSwarm[] = {
    vortel_text_param("name", kTypeSwarm),        vortel_param("count", kVortelParamNumber),
    vortel_param("rangeX", kVortelParamPosition), vortel_param("rangeY", kVortelParamPosition),
    vortel_param("rangeZ", kVortelParamPosition), vortel_param("seed", kVortelParamNumber)};
constexpr VortelParamDescription kDrawLineSwarm[] = {
    vortel_text_param("name", kTypeSwarm),         vortel_param("reserved1", kVortelParamNumber),
    vortel_param("reserved2", kVortelParamNumber), vortel_param("x1", kVortelParamPosition),
    vortel_param("y1", kVortelParamPosition),      vortel_param("z1", kVortelParamPosition),
    vortel_param("x2", kVortelParamPosition),      vortel_param("y2", kVortelParamPosition),
    vortel_param("z2", kVortelParamPosition)};
constexpr VortelParamDescription kAddSwarms[] = {vortel_text_param("output", kTypeSwarm),
                                                 vortel_text_param("first", kTypeSwarm),
                                                 vortel_text_param("second", kTypeSwarm)};
constexpr VortelParamDescription kMoveSwarm[] = {
    vortel_text_param("output", kTypeSwarm),     vortel_text_param("source", kTypeSwarm),
    vortel_param("ignored", kVortelParamNumber), vortel_param("tx", kVortelParamPosition),
    vortel_param("ty", kVortelParamPosition),    vortel_param("tz", kVortelParamPosition),
    vortel_param("qx", kVortelParamQuaternion),  vortel_param("qy", kVortelParamQuaternion),
    vortel_param("qz", kVortelParamQuaternion),  vortel_param("qw", kVortelParamQuaternion),
    vortel_param("scale", kVortelParamScale)};
constexpr VortelParamDescription kSplitSwarm[] = {
    vortel_text_param("firstOutput", kTypeSwarm), vortel_text_param("secondOutput", kTypeSwarm),
    vortel_text_param("source", kTypeSwarm), vortel_param("k", kVortelParamNumber)};
constexpr VortelParamDescription kMorphSwarms[] = {
    vortel_text_param("output", kTypeSwarm), vortel_text_param("first", kTypeSwarm),
    vortel_text_param("second", kTypeSwarm), vortel_param("position", kVortelParamNumber),
    vortel_param("spread", kVortelParamPosition)};
constexpr VortelParamDescription kColorSwarm[] = {
    vortel_text_param("swarm", kTypeSwarm), vortel_param("red", kVortelParamColour),
    vortel_param("green", kVortelParamColour), vortel_param("blue", kVortelParamColour)};
constexpr VortelParamDescription kColorSwarmBetween[] = {
    vortel_text_param("swarm", kTypeSwarm),     vortel_param("red1", kVortelParamColour),
    vortel_param("green1", kVortelParamColour), vortel_param("blue1", kVortelParamColour),
    vortel_param("red2", kVortelParamColour),   vortel_param("green2", kVortelParamColour),
    vortel_param("blue2", kVortelParamColour),  vortel_param("seed", kVortelParamNumber)};
constexpr VortelParamDescription kColorRandomSetSwarm[] = {
    vortel_text_param("swarm", kTypeSwarm),       vortel_param("count", kVortelParamNumber),
    vortel_param("colors0", kVortelParamColour),  vortel_param("colors1", kVortelParamColour),
    vortel_param("colors2", kVortelParamColour),  vortel_param("colors3", kVortelParamColour),
    vortel_param("colors4", kVortelParamColour),  vortel_param("colors5", kVortelParamColour),
    vortel_param("colors6", kVortelParamColour),  vortel_param("colors7", kVortelParamColour),
    vortel_param("colors8", kVortelParamColour),  vortel_param("colors9", kVortelParamColour),
    vortel_param("colors10", kVortelParamColour), vortel_param("colors11", kVortelParamColour),
    vortel_param("colors12", kVortelParamColour), vortel_param("colors13", kVortelParamColour),
    vortel_param("colors14", kVortelParamColour), vortel_param("colors15", kVortelParamColour),
    vortel_param("colors16", kVortelParamColour), vortel_param("colors17", kVortelParamColour),
    vortel_param("colors18", kVortelParamColour), vortel_param("colors19", kVortelParamColour),
    vortel_param("colors20", kVortelParamColour), vortel_param("colors21", kVortelParamColour),
    vortel_param("colors22", kVortelParamColour), vortel_param("colors23", kVortelParamColour),
    vortel_param("colors24", kVortelParamColour), vortel_param("colors25", kVortelParamColour),
    vortel_param("colors26", kVortelParamColour), vortel_param("colors27", kVortelParamColour),
    vortel_param("colors28", kVortelParamColour), vortel_param("colors29", kVortelParamColour),
    vortel_param("colors30", kVortelParamColour), vortel_param("colors31", kVortelParamColour),
    vortel_param("colors32", kVortelParamColour), vortel_param("colors33", kVortelParamColour),
    vortel_param("colors34", kVortelParamColour), vortel_param("colors35", kVortelParamColour),
    vortel_param("colors36", kVortelParamColour), vortel_param("colors37", kVortelParamColour),
    vortel_param("colors38", kVortelParamColour), vortel_param("colors39", kVortelParamColour),
    vortel_param("colors40", kVortelParamColour), vortel_param("colors41", kVortelParamColour),
    vortel_param("colors42", kVortelParamColour), vortel_param("colors43", kVortelParamColour),
    vortel_param("colors44", kVortelParamColour), vortel_param("colors45", kVortelParamColour),
    vortel_param("colors46", kVortelParamColour), vortel_param("colors47", kVortelParamColour),
    vortel_param("seed", kVortelParamNumber)};
constexpr VortelParamDescription kOrientSwarmRandom[] = {vortel_text_param("swarm", kTypeSwarm),
                                                         vortel_param("seed", kVortelParamNumber)};
constexpr VortelParamDescription kResizeSwarmRandom[] = {
    vortel_text_param("swarm", kTypeSwarm), vortel_param("minimum", kVortelParamScale),
    vortel_param("maximum", kVortelParamScale), vortel_param("absolute", kVortelParamBoolean),
    vortel_param("seed", kVortelParamNumber)};
constexpr VortelParamDescription kOrientSwarmOnGroup[] = {vortel_text_param("swarm", kTypeSwarm),
                                                          vortel_text_param("group", kType3DGroup)};

constexpr VortelEffectDescription kEffects[] = {vortel_effect("MakeCubeSwarm", kMakeCubeSwarm),
                                                vortel_effect("MakeSphereSwarm", kMakeSphereSwarm),
                                                vortel_effect("MakeStarfieldSwarm", kMakeStarfieldSwarm),
                                                vortel_effect("MakeSineSwarm", kMakeSineSwarm),
                                                vortel_effect("MakeTorusSineSwarm", kMakeTorusSineSwarm),
                                                vortel_effect("MakeSpiroSwarm", kMakeSpiroSwarm),
                                                vortel_effect("MakeBezierSwarm", kMakeBezierSwarm),
                                                vortel_effect("MakeRandSwarm", kMakeRandSwarm),
                                                vortel_effect("DrawLineSwarm", kDrawLineSwarm),
                                                vortel_effect("AddSwarms", kAddSwarms),
                                                vortel_effect("MoveSwarm", kMoveSwarm),
                                                vortel_effect("SplitSwarm", kSplitSwarm),
                                                vortel_effect("MorphSwarms", kMorphSwarms),
                                                vortel_effect("ColorSwarm", kColorSwarm),
                                                vortel_effect("ColorSwarmBetween", kColorSwarmBetween),
                                                vortel_effect("ColorRandomSetSwarm", kColorRandomSetSwarm),
                                                vortel_effect("OrientSwarmRandom", kOrientSwarmRandom),
                                                vortel_effect("ResizeSwarmRandom", kResizeSwarmRandom),
                                                vortel_effect("OrientSwarmOnGroup", kOrientSwarmOnGroup)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
