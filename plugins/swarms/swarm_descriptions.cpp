// What the swarm effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it: one entry per
// exported effect, parameters in argument order.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "Named point sets (swarms, 'SWRM'): generators make them, operations combine, move, colour and turn "
    "them, and Scaffold's MakeSwarmGroup and ShowRibbons3D and Pictor's ImageSwarm3D show them. A generator "
    "owns its swarm from its first call to its last and rebuilds it only when a parameter changes; every "
    "rebuild resets the colour to opaque white. Put producers on later tracks than the effects that read "
    "them. Operations that colour, turn or resize a swarm in place make their first change on their first "
    "running call, so an operation that builds a new swarm from it in the same frame's first calls sees it "
    "unchanged.";

constexpr auto kMakeCubeSwarm =
    vortel_params(vortel_made_param("name", kTypeSwarm, "the swarm's name"),
                  vortel_param("n", kVortelParamNumber, kVortelUnitPoints,
                               "points per edge (below 1 counts as 1)", vortel_range(2, 20)),
                  vortel_param("spacing", kVortelParamPosition, kVortelUnitSceneUnits,
                               "distance between neighbours", vortel_range(1, 10)),
                  vortel_param("solid", kVortelParamBoolean, kVortelUnitFlag,
                               "not 0: all n^3 points; 0: the surface only", vortel_typical(0)));
constexpr auto kMakeSphereSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("radius", kVortelParamPosition, kVortelUnitSceneUnits, "radius", vortel_range(1, 20)),
    vortel_param("pointsPerRing", kVortelParamNumber, kVortelUnitPoints, "points on each ring",
                 vortel_range(8, 64)),
    vortel_param("rings", kVortelParamNumber, kVortelUnitCount, "latitude rings", vortel_range(4, 32)));
constexpr auto kMakeStarfieldSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points", vortel_range(100, 10000)),
    vortel_param("halfExtent", kVortelParamPosition, kVortelUnitSceneUnits,
                 "half the cube's side (0 counts as 1)", vortel_range(10, 100)),
    vortel_param("reserved", kVortelParamNumber, kVortelUnitPlain, "only a change forces a rebuild",
                 vortel_typical(0)));
constexpr auto kMakeSineSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points (below 1 counts as 1)",
                 vortel_range(50, 2000)),
    vortel_param("step", kVortelParamNumber, kVortelUnitHundredth, "t between neighbouring points",
                 vortel_range(1, 10)),
    vortel_param("ampX", kVortelParamPosition, kVortelUnitSceneUnits, "amplitude along x (0 counts as 1)",
                 vortel_range(1, 10)),
    vortel_param("freqX", kVortelParamNumber, kVortelUnitPlain,
                 "frequency along x (divided by the amplitude)", vortel_range(0, 10)),
    vortel_param("phaseX", kVortelParamAngle, VortelUnit{"x0.001 turn", 1000},
                 "phase along x; 1000 a whole turn", vortel_range(0, 1000)),
    vortel_param("ampY", kVortelParamPosition, kVortelUnitSceneUnits, "amplitude along y",
                 vortel_range(1, 10)),
    vortel_param("freqY", kVortelParamNumber, kVortelUnitPlain, "frequency along y", vortel_range(0, 10)),
    vortel_param("phaseY", kVortelParamAngle, VortelUnit{"x0.001 turn", 1000}, "phase along y",
                 vortel_range(0, 1000)),
    vortel_param("ampZ", kVortelParamPosition, kVortelUnitSceneUnits, "amplitude along z",
                 vortel_range(1, 10)),
    vortel_param("freqZ", kVortelParamNumber, kVortelUnitPlain, "frequency along z", vortel_range(0, 10)),
    vortel_param("phaseZ", kVortelParamAngle, VortelUnit{"x0.001 turn", 1000}, "phase along z",
                 vortel_range(0, 1000)),
    vortel_param("offset", kVortelParamNumber, kVortelUnitHundredth, "t of point 0",
                 vortel_typical_text("any")));
constexpr auto kMakeTorusSineSwarm =
    vortel_params(vortel_made_param("name", kTypeSwarm, "the swarm's name"),
                  vortel_param("count", kVortelParamNumber, kVortelUnitPoints,
                               "how many points (below 1 counts as 1)", vortel_range(100, 2000)),
                  vortel_param("ringRadius", kVortelParamPosition, kVortelUnitSceneUnits,
                               "radius of the ring", vortel_range(2, 20)),
                  vortel_param("ringStep", kVortelParamAngle, kVortelUnitMrad,
                               "turn around the ring per point", vortel_range(5, 100)),
                  vortel_param("tubeRadius", kVortelParamPosition, kVortelUnitSceneUnits,
                               "radius of the tube", vortel_range(1, 5)),
                  vortel_param("tubeStep", kVortelParamAngle, kVortelUnitMrad,
                               "turn around the tube per point", vortel_range(20, 500)),
                  vortel_param("tubeOffset", kVortelParamAngle, kVortelUnitMrad,
                               "turn around the tube of point 0", vortel_range(0, 6283)));
constexpr auto kMakeSpiroSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points (below 1 counts as 1)",
                 vortel_range(200, 2000)),
    vortel_param("b", kVortelParamNumber, kVortelUnitHundredth, "fixed radius", vortel_range(100, 1000)),
    vortel_param("c", kVortelParamNumber, kVortelUnitHundredth, "rolling radius; 0 draws a circle",
                 vortel_range(-500, 500)),
    vortel_param("d", kVortelParamPosition, kVortelUnitSceneUnits, "pen distance from the rolling centre",
                 vortel_range(1, 10)),
    vortel_param("e", kVortelParamAngle, VortelUnit{"x0.01 degree", 100}, "angle step per point",
                 vortel_range(100, 1000)),
    vortel_param("f", kVortelParamAngle, VortelUnit{"x0.05 degree", 20}, "tilt amplitude; 1800 is 90 degrees",
                 vortel_range(0, 1800)),
    vortel_param("g", kVortelParamNumber, kVortelUnitHundredth, "tilt frequency per radian",
                 vortel_range(0, 1000)),
    vortel_param("h", kVortelParamAngle, VortelUnit{"x0.1 degree", 10}, "tilt phase", vortel_range(0, 3600)));
constexpr auto kMakeBezierSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many samples", vortel_range(10, 1000)),
    vortel_position("p0x", "p0y", "p0z", "start point"),
    vortel_position("p1x", "p1y", "p1z", "first control point"),
    vortel_position("p2x", "p2y", "p2z", "second control point"),
    vortel_position("p3x", "p3y", "p3z", "end point"),
    vortel_param("controlPoints", kVortelParamBoolean, kVortelUnitFlag,
                 "not 0: the first four points become the four control points", vortel_typical(0)));
constexpr auto kMakeRandSwarm = vortel_params(
    vortel_made_param("name", kTypeSwarm, "the swarm's name"),
    vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points", vortel_range(100, 10000)),
    vortel_param("rangeX", kVortelParamPosition, kVortelUnitSceneUnits, "box width (below 1 counts as 1)",
                 vortel_range(10, 100)),
    vortel_param("rangeY", kVortelParamPosition, kVortelUnitSceneUnits, "box height", vortel_range(10, 100)),
    vortel_param("rangeZ", kVortelParamPosition, kVortelUnitSceneUnits, "box depth", vortel_range(10, 100)),
    vortel_param("seed", kVortelParamNumber, kVortelUnitPlain, "random seed", vortel_typical_text("any")));
constexpr auto kDrawLineSwarm =
    vortel_params(vortel_made_param("name", kTypeSwarm, "the swarm's name"),
                  vortel_param("reserved1", kVortelParamNumber, kVortelUnitPlain,
                               "only a change forces a rebuild", vortel_typical(0)),
                  vortel_param("reserved2", kVortelParamNumber, kVortelUnitPlain,
                               "only a change forces a rebuild", vortel_typical(0)),
                  vortel_param("x1", kVortelParamPosition, kVortelUnitSceneUnits, "first end"),
                  vortel_param("y1", kVortelParamPosition, kVortelUnitSceneUnits, "first end"),
                  vortel_param("z1", kVortelParamPosition, kVortelUnitSceneUnits, "first end"),
                  vortel_param("x2", kVortelParamPosition, kVortelUnitSceneUnits, "second end"),
                  vortel_param("y2", kVortelParamPosition, kVortelUnitSceneUnits, "second end"),
                  vortel_param("z2", kVortelParamPosition, kVortelUnitSceneUnits, "second end"));
constexpr auto kAddSwarms = vortel_params(vortel_made_param("output", kTypeSwarm, "the new swarm's name"),
                                          vortel_text_param("first", kTypeSwarm, 0, "first source swarm"),
                                          vortel_text_param("second", kTypeSwarm, 0, "second source swarm"));
constexpr auto kMoveSwarm = vortel_params(
    vortel_made_param("output", kTypeSwarm, "the new swarm's name"),
    vortel_text_param("source", kTypeSwarm, 0, "source swarm"),
    vortel_param("ignored", kVortelParamNumber, kVortelUnitPlain, "not used", vortel_typical(0)),
    vortel_position("tx", "ty", "tz", "translation"),
    vortel_rotation("qx", "qy", "qz", "qw", kVortelUnitTenThousandth, "rotation quaternion x (normalised)"),
    vortel_scale());
constexpr auto kSplitSwarm =
    vortel_params(vortel_made_param("firstOutput", kTypeSwarm, "name of the first part"),
                  vortel_made_param("secondOutput", kTypeSwarm, "name of the rest"),
                  vortel_text_param("source", kTypeSwarm, 0, "source swarm"),
                  vortel_param("k", kVortelParamNumber, kVortelUnitPoints,
                               "points in the first part (clamped to the source's size)"));
constexpr auto kMorphSwarms =
    vortel_params(vortel_made_param("output", kTypeSwarm, "the new swarm's name"),
                  vortel_text_param("first", kTypeSwarm, 0, "first source swarm"),
                  vortel_text_param("second", kTypeSwarm, 0, "second source swarm"),
                  vortel_param("position", kVortelParamNumber, kVortelUnitMilli,
                               "0 the first swarm, 1000 the second", vortel_range(-1000, 2000)),
                  vortel_param("spread", kVortelParamPosition, kVortelUnitMilli,
                               "added to the position per point", vortel_range(0, 10)));
constexpr auto kColorSwarm = vortel_params(vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
                                           vortel_rgb("red", "green", "blue", "colour"));
constexpr auto kColorSwarmBetween =
    vortel_params(vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
                  vortel_rgb("red1", "green1", "blue1", "first colour"),
                  vortel_rgb("red2", "green2", "blue2", "second colour"),
                  vortel_param("seed", kVortelParamNumber, kVortelUnitPlain,
                               "0: a ramp by point order; else a random pick per point", vortel_typical(0)));
constexpr auto kColorRandomSetSwarm = vortel_params(
    vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
    vortel_param("count", kVortelParamNumber, VortelUnit{"1..16", 1}, "how many of the colours are used",
                 vortel_hard_range(1, 16).with_typical(2).with_text("2 .. 16")),
    vortel_rgb("colors0", "colors1", "colors2", "sixteen colours as red, green, blue"),
    vortel_rgb("colors3", "colors4", "colors5", "sixteen colours as red, green, blue"),
    vortel_rgb("colors6", "colors7", "colors8", "sixteen colours as red, green, blue"),
    vortel_rgb("colors9", "colors10", "colors11", "sixteen colours as red, green, blue"),
    vortel_rgb("colors12", "colors13", "colors14", "sixteen colours as red, green, blue"),
    vortel_rgb("colors15", "colors16", "colors17", "sixteen colours as red, green, blue"),
    vortel_rgb("colors18", "colors19", "colors20", "sixteen colours as red, green, blue"),
    vortel_rgb("colors21", "colors22", "colors23", "sixteen colours as red, green, blue"),
    vortel_rgb("colors24", "colors25", "colors26", "sixteen colours as red, green, blue"),
    vortel_rgb("colors27", "colors28", "colors29", "sixteen colours as red, green, blue"),
    vortel_rgb("colors30", "colors31", "colors32", "sixteen colours as red, green, blue"),
    vortel_rgb("colors33", "colors34", "colors35", "sixteen colours as red, green, blue"),
    vortel_rgb("colors36", "colors37", "colors38", "sixteen colours as red, green, blue"),
    vortel_rgb("colors39", "colors40", "colors41", "sixteen colours as red, green, blue"),
    vortel_rgb("colors42", "colors43", "colors44", "sixteen colours as red, green, blue"),
    vortel_rgb("colors45", "colors46", "colors47", "sixteen colours as red, green, blue"),
    vortel_param("seed", kVortelParamNumber, kVortelUnitPlain, "random seed", vortel_typical_text("any")));
constexpr auto kOrientSwarmRandom = vortel_params(
    vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
    vortel_param("seed", kVortelParamNumber, kVortelUnitPlain, "random seed", vortel_typical_text("any")));
constexpr auto kResizeSwarmRandom = vortel_params(
    vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
    vortel_param("minimum", kVortelParamScale, kVortelUnitHundredThousandth, "smallest scale",
                 vortel_range(20000, 100000)),
    vortel_param("maximum", kVortelParamScale, kVortelUnitHundredThousandth, "largest scale",
                 vortel_range(100000, 300000)),
    vortel_param("absolute", kVortelParamBoolean, kVortelUnitFlag,
                 "not 0: replaces each point's matrix; 0: multiplies it (after OrientSwarmRandom)",
                 vortel_typical(0)),
    vortel_param("seed", kVortelParamNumber, kVortelUnitPlain, "random seed", vortel_typical_text("any")));
constexpr auto kOrientSwarmOnGroup =
    vortel_params(vortel_text_param("swarm", kTypeSwarm, 0, "the swarm"),
                  vortel_text_param("group", kType3DGroup, 0, "the '3DWR' group looked at"));

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect("MakeCubeSwarm", "The points of a cube lattice: its surface or all of it.", kMakeCubeSwarm),
    vortel_effect("MakeSphereSwarm", "Points on a sphere: latitude rings plus the two poles.",
                  kMakeSphereSwarm),
    vortel_effect(
        "MakeStarfieldSwarm",
        "Pseudo-random integer points in a cube of side 2 x halfExtent; the same field for the same values.",
        kMakeStarfieldSwarm),
    vortel_effect("MakeSineSwarm",
                  "A curve of sines: point i at t = (i x step + offset) x 0.01, each axis A sin(2 pi F t / A "
                  "+ 0.002 pi phase). Animate offset to make it crawl.",
                  kMakeSineSwarm),
    vortel_effect("MakeTorusSineSwarm",
                  "A sine wound around a torus: point i turns by i x ringStep around the ring and by i x "
                  "tubeStep + tubeOffset around the tube.",
                  kMakeTorusSineSwarm),
    vortel_effect("MakeSpiroSwarm", "A spirograph curve, tilted out of its plane by a sine.",
                  kMakeSpiroSwarm),
    vortel_effect("MakeBezierSwarm", "count samples along a cubic Bezier curve.", kMakeBezierSwarm),
    vortel_effect(
        "MakeRandSwarm",
        "Random points in a box (rand() mod range - range / 2 per axis), the same for the same seed.",
        kMakeRandSwarm),
    vortel_effect("DrawLineSwarm", "Two points: the ends of a line (whole scene units).", kDrawLineSwarm),
    vortel_effect("AddSwarms", "A new swarm: the points of first, then those of second.", kAddSwarms),
    vortel_effect("MoveSwarm", "A new swarm: the source turned, scaled and moved (scale x R(q) x p + t).",
                  kMoveSwarm),
    vortel_effect("SplitSwarm", "Two new swarms: the first k points of the source, and the rest.",
                  kSplitSwarm),
    vortel_effect("MorphSwarms",
                  "A new swarm between two: point i = first + t (second - first), t = clamp((position + i x "
                  "spread) x 0.001, 0, 1). A spread makes the morph run along the swarm like a wave.",
                  kMorphSwarms),
    vortel_effect(
        "ColorSwarm",
        "One colour for every point of a swarm another event makes (in place, until its producer rebuilds).",
        kColorSwarm),
    vortel_effect("ColorSwarmBetween",
                  "Per-point colours between two colours, by point order or at random (in place).",
                  kColorSwarmBetween),
    vortel_effect("ColorRandomSetSwarm",
                  "Each point gets one of n colours at random (in place). Always pass all 50 words: unused "
                  "colours too.",
                  kColorRandomSetSwarm),
    vortel_effect(
        "OrientSwarmRandom",
        "A random rotation for every point (in place): the copies of a swarm group turn every which way.",
        kOrientSwarmRandom),
    vortel_effect("ResizeSwarmRandom",
                  "A random uniform scale for every point between minimum and maximum (in place).",
                  kResizeSwarmRandom),
    vortel_effect("OrientSwarmOnGroup",
                  "Turns every point towards a group's position (in place): copies that face a target.",
                  kOrientSwarmOnGroup)};
constexpr VortelOtherExport kOthers[] = {
    {"ProduceSwarm", "the 'SWRM' resource handler the registry calls to look a swarm up; not an effect."}};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects, kOthers);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
