// What the basic effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it: one entry per
// exported effect, parameters in argument order.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "The scene library and the basic effects: the shared scene and its named groups, camera and lights, flat "
    "shapes, cubes, ribbons and OBJ models, post-processing and full-screen effects. Every demo that draws "
    "in 3D lists it. The scene root is the group named \"theWorld\"; a group's parent 0 is the root too.";

// The words every group effect starts with after its name: where the group sits in its parent.
constexpr auto kGroupPlacement =
    vortel_params(vortel_position("x", "y", "z", "position in the parent", vortel_range(-10000, 10000)),
                  vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitHundredThousandth,
                                  "rotation quaternion x (normalised; a `rotate` parameter gives all four)"),
                  vortel_scale(),
                  vortel_text_param("parent", kType3DGroup, kVortelTextZeroIsNone,
                                    "parent group; 0 the scene root", vortel_typical(0)),
                  vortel_param("showMarker", kVortelParamBoolean, kVortelUnitFlag,
                               "also hang an axis marker at the group's place", vortel_typical(0)));

// The words of a flat shape or a cube after its size: colour, place in its group and blending.
constexpr auto shape_look(const char* alpha, const char* alphaMeaning)
{
    return vortel_params(
        vortel_rgb("red", "green", "blue", "colour"), vortel_position("x", "y", "z", "position in the group"),
        vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitHundredThousandth),
        vortel_param(alpha, kVortelParamColour, kVortelUnitChannel, alphaMeaning, vortel_typical(255)),
        vortel_blend("1 (GL_ONE), 770 (GL_SRC_ALPHA)", "0, 1, 771",
                     "destination blend factor; 1 with 1 adds, 0 draws opaque"),
        vortel_scale(), vortel_hang());
}
constexpr auto kTranslucentShape = shape_look("opacity", "opacity");
constexpr auto kOpaqueShape = shape_look("alpha", "colour alpha byte");

constexpr auto kShow3D = vortel_params(
    vortel_param("renderTo", kVortelParamNumber, VortelUnit{"0, 1, 2", 1},
                 "0 the window (viewport as it is); 1 / 2 off-screen buffer \"Render1\" / \"Render2\" "
                 "(upside down, as textures expect)",
                 vortel_hard_range(0, 2).with_typical(0)),
    vortel_param("width", kVortelParamNumber, kVortelUnitPixels, "viewport width when rendering off-screen",
                 vortel_range(256, 1024)),
    vortel_param("height", kVortelParamNumber, kVortelUnitPixels, "viewport height when rendering off-screen",
                 vortel_range(256, 1024)),
    vortel_param("clear", kVortelParamBoolean, kVortelUnitFlag, "0 clears only depth; else also the colour",
                 vortel_typical(0).with_text("0, 1")),
    vortel_rgb("red", "green", "blue", "clear colour", vortel_typical(0)));
constexpr auto kMake3DGroup =
    vortel_params(vortel_made_param("name", kType3DGroup, "the group's name ('3DWR')"), kGroupPlacement);
constexpr auto kMake3DKaleido = vortel_params(
    vortel_made_param("name", kType3DGroup, "the group's name"), kGroupPlacement,
    vortel_param("copies", kVortelParamNumber, kVortelUnitCount, "how many copies", vortel_range(2, 24)),
    vortel_param("stepOffset", kVortelParamNumber, kVortelUnitCount, "step transforms applied before copy 0",
                 vortel_typical(0)),
    vortel_position("sx", "sy", "sz", "step translation", vortel_typical(0)),
    vortel_param("sqa", kVortelParamQuaternion, kVortelUnitHundredThousandth, "step rotation quaternion x",
                 vortel_typical(0)),
    vortel_param("sqb", kVortelParamQuaternion, kVortelUnitHundredThousandth, "step rotation quaternion y",
                 vortel_typical(0)),
    vortel_param("sqc", kVortelParamQuaternion, kVortelUnitHundredThousandth,
                 "step rotation quaternion z (38268 with w 92388: 45 degrees about z)",
                 vortel_range(0, 100000)),
    vortel_param("sqd", kVortelParamQuaternion, kVortelUnitHundredThousandth, "step rotation quaternion w",
                 vortel_typical(100000)),
    vortel_param("sscale", kVortelParamScale, kVortelUnitHundredThousandth, "step scale",
                 vortel_range(80000, 100000)));
constexpr auto kMakeSymmetryGroup =
    vortel_params(vortel_made_param("name", kType3DGroup, "the group's name"), kGroupPlacement,
                  vortel_param("axis", kVortelParamNumber, VortelUnit{"0, 1, 2", 1},
                               "1 y, 2 z, anything else x", vortel_typical(1)),
                  vortel_param("angle", kVortelParamAngle, kVortelUnitMrad,
                               "half the angle between the two copies", vortel_range(0, 3142)));
constexpr auto kMakeSwarmGroup =
    vortel_params(vortel_made_param("name", kType3DGroup, "the group's name"),
                  vortel_text_param("swarm", kTypeSwarm, 0, "the 'SWRM' swarm whose points place the copies"),
                  kGroupPlacement,
                  vortel_param("count", kVortelParamNumber, kVortelUnitPoints, "how many points carry a copy",
                               vortel_typical(1).with_text("1 .. swarm size")),
                  vortel_param("first", kVortelParamNumber, VortelUnit{"point", 1}, "the first point used",
                               vortel_typical(0)),
                  vortel_param("timeStep", kVortelParamNumber, VortelUnit{"ms", 1},
                               "time between the extra transforms of neighbouring points; 0 none",
                               vortel_typical(0).with_text("0, 10 .. 200")));
// CopyGroupToGroups' targets after the first: each may end the list with 0 (or less).
constexpr VortelParamDescription copy_target(const char* name, const char* meaning = "another target")
{
    return vortel_text_param(name, kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone, meaning,
                             vortel_typical(0));
}
constexpr auto kCopyGroupToGroups = vortel_params(
    vortel_text_param("source", kType3DGroup, 0, "the group to copy"),
    vortel_text_param("target0", kType3DGroup, kVortelTextZeroIsNone | kVortelTextNegativeIsNone,
                      "a group to hang it into"),
    copy_target("target1", "another target; 0 ends the list"), copy_target("target2"), copy_target("target3"),
    copy_target("target4"), copy_target("target5"), copy_target("target6"), copy_target("target7"),
    copy_target("target8"), copy_target("target9"), copy_target("target10"), copy_target("target11"));
constexpr auto kSetCamera3D = vortel_params(
    vortel_param("x", kVortelParamPosition, kVortelUnitMilli, "eye position", vortel_range(-50000, 50000)),
    vortel_param("y", kVortelParamPosition, kVortelUnitMilli, "eye position", vortel_range(-50000, 50000)),
    vortel_param("z", kVortelParamPosition, kVortelUnitMilli,
                 "eye position; the camera looks along -z when not turned", vortel_range(5000, 50000)),
    vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitHundredThousandth),
    vortel_param("aspect", kVortelParamNumber, kVortelUnitTenThousandth, "width / height of the picture",
                 vortel_typical(13333).with_text("13333 (4:3), 17778 (16:9)")),
    vortel_param("near", kVortelParamPosition, kVortelUnitSceneUnits, "near plane", vortel_range(1, 5)),
    vortel_param("far", kVortelParamPosition, kVortelUnitSceneUnits, "far plane", vortel_range(1000, 10000)));
constexpr auto kFocusCamera3D = vortel_params(
    vortel_text_param("group", kType3DGroup, kVortelTextZeroIsNone,
                      "the '3DWR' group aimed at; 0 the origin"),
    vortel_param("child", kVortelParamNumber, VortelUnit{"index", 1},
                 "child of the group aimed at; out of range: the group itself", vortel_typical(-1)),
    vortel_param("point", kVortelParamNumber, VortelUnit{"index", 1},
                 "with a valid child and point >= 0: that point of the group (a swarm point)",
                 vortel_typical(-1)),
    vortel_param(
        "mode", kVortelParamNumber, VortelUnit{"1, 2", 1},
        "1 eye at target + (d, e, f); 2 orbit at distance d, turned by e, pitched by f; other: keep the eye",
        vortel_typical(2)),
    vortel_param("d", kVortelParamPosition, kVortelUnitMilli, "mode 1: x offset; mode 2: distance",
                 vortel_range(5000, 30000)),
    vortel_param("e", kVortelParamNumber, VortelUnit{"x0.001 / mrad", 1000},
                 "mode 1: y offset; mode 2: turn about y", vortel_range(0, 6283)),
    vortel_param("f", kVortelParamNumber, VortelUnit{"x0.001 / mrad", 1000},
                 "mode 1: z offset; mode 2: pitch", vortel_range(-1571, 1571)),
    vortel_param("aspect", kVortelParamNumber, kVortelUnitTenThousandth, "width / height of the picture",
                 vortel_typical(13333).with_text("13333, 17778")),
    vortel_param("near", kVortelParamPosition, kVortelUnitSceneUnits, "near plane", vortel_typical(1)),
    vortel_param("far", kVortelParamPosition, kVortelUnitSceneUnits, "far plane", vortel_typical(1000)));
constexpr auto kSetLight3D =
    vortel_params(vortel_position("x", "y", "z", "position in the group", vortel_range(-10000, 10000)),
                  vortel_rgb("aR", "aG", "aB", "ambient colour", vortel_range(0, 60)),
                  vortel_rgb("dR", "dG", "dB", "diffuse colour", vortel_range(150, 255)),
                  vortel_rgb("sR", "sG", "sB", "specular colour", vortel_range(0, 255)),
                  vortel_param("k0", kVortelParamNumber, kVortelUnitTenThousandth, "constant attenuation",
                               vortel_typical(10000)),
                  vortel_param("k1", kVortelParamNumber, kVortelUnitTenThousandth, "linear attenuation",
                               vortel_range(0, 100)),
                  vortel_param("k2", kVortelParamNumber, kVortelUnitTenThousandth, "quadratic attenuation",
                               vortel_range(0, 10)),
                  vortel_text_param("group", kType3DGroup, 0, "the group to hang the light into"),
                  vortel_param("showMarker", kVortelParamBoolean, kVortelUnitFlag, "axis marker at the light",
                               vortel_typical(0)));
constexpr auto kRectangle3D = vortel_params(vortel_param("w", kVortelParamPosition, kVortelUnitSceneUnits,
                                                         "width (before scale)", vortel_range(1, 20)),
                                            vortel_param("h", kVortelParamPosition, kVortelUnitSceneUnits,
                                                         "height (before scale)", vortel_range(1, 20)),
                                            kTranslucentShape);
constexpr auto kTriangle3D = vortel_params(
    vortel_param("b", kVortelParamPosition, kVortelUnitSceneUnits, "base", vortel_range(1, 20)),
    vortel_param("h", kVortelParamPosition, kVortelUnitSceneUnits, "height", vortel_range(1, 20)),
    kTranslucentShape);
constexpr auto kOval3D = vortel_params(
    vortel_param("rx", kVortelParamPosition, kVortelUnitSceneUnits, "radius along x", vortel_range(1, 20)),
    vortel_param("ry", kVortelParamPosition, kVortelUnitSceneUnits, "radius along y", vortel_range(1, 20)),
    vortel_param("roundness", kVortelParamNumber, kVortelUnitHundredth,
                 "how the rim bends; 55 is close to an ellipse", vortel_range(40, 70)),
    kOpaqueShape);
constexpr auto kCube3D = vortel_params(
    vortel_param("size", kVortelParamPosition, kVortelUnitSceneUnits, "half the edge", vortel_range(1, 10)),
    kOpaqueShape);
constexpr auto kShowRibbons3D = vortel_params(
    vortel_text_param("swarm", kTypeSwarm, 0, "the 'SWRM' swarm"),
    vortel_param("width", kVortelParamNumber, kVortelUnitTenth, "ribbon height along y", vortel_range(5, 50)),
    vortel_param("pointsPerStrip", kVortelParamNumber, kVortelUnitPoints,
                 "points per strip (strips are not joined); at least 2",
                 vortel_hard_range(2).with_typical(2).with_text("2 .. swarm size")),
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitTenThousandth,
                    "rotation quaternion x (normalised, so only the direction counts)"),
    vortel_param("opacity", kVortelParamColour, kVortelUnitChannel, "alpha of the colours",
                 vortel_typical(255)),
    vortel_blend("1, 770", "0, 1"), vortel_scale(), vortel_hang());
constexpr auto kObject3D = vortel_params(
    vortel_text_param("model", kTypeObject, kVortelTextNamesFile, "the OBJ file's path ('OBJ3')"),
    vortel_rgb("red", "green", "blue", "colour (used when no material is named)", vortel_typical(255)),
    vortel_position("x", "y", "z", "position in the group"),
    vortel_rotation("qa", "qb", "qc", "qd", kVortelUnitHundredThousandth),
    vortel_param("alpha", kVortelParamColour, kVortelUnitChannel, "opacity", vortel_typical(255)),
    vortel_blend("1, 770", "0, 771"), vortel_scale(),
    vortel_text_param("material", kTypeMaterial, kVortelTextZeroIsNone | kVortelTextNegativeIsNone,
                      "a 'MTRL' material (MakeMaterial) for every mesh; 0 or less: no material, the event's "
                      "colour, opacity and blend factors",
                      vortel_typical(0)),
    vortel_hang());
constexpr auto kPostBlurUgly =
    vortel_params(vortel_param("divX", kVortelParamNumber, VortelUnit{"divisor", 1},
                               "the scene is rendered at width / divX", vortel_range(2, 8)),
                  vortel_param("divY", kVortelParamNumber, VortelUnit{"divisor", 1}, "and height / divY",
                               vortel_range(2, 8)));
constexpr auto kPostBlurPrecise =
    vortel_params(vortel_param("radiusX", kVortelParamNumber, kVortelUnitPixels,
                               "horizontal radius; below 2 no horizontal blur", vortel_range(2, 20)),
                  vortel_param("radiusY", kVortelParamNumber, kVortelUnitPixels,
                               "vertical radius; below 2 no vertical blur", vortel_range(2, 20)),
                  vortel_param("step", kVortelParamNumber, kVortelUnitPixels, "largest spacing between taps",
                               vortel_range(1, 4)));
constexpr auto kPostGlare = vortel_params(
    vortel_param("threshold", kVortelParamNumber, VortelUnit{"/256", 256},
                 "brightness above which parts glow", vortel_range(100, 220)),
    vortel_param("radius", kVortelParamNumber, kVortelUnitPixels, "blur radius of the glow",
                 vortel_range(2, 16)),
    vortel_param("passes", kVortelParamNumber, kVortelUnitCount,
                 "blur passes that add instead of averaging (brighter glow)", vortel_range(0, 4)));
constexpr auto kColor4BG = vortel_params(
    vortel_rgb("r0", "g0", "b0", "bottom-left colour"), vortel_rgb("r1", "g1", "b1", "bottom-right colour"),
    vortel_rgb("r2", "g2", "b2", "top-right colour"), vortel_rgb("r3", "g3", "b3", "top-left colour"));
constexpr auto kFade = vortel_params(
    vortel_rgb("red", "green", "blue", "colour", vortel_typical(0).with_text("0, 255")),
    vortel_param("alpha", kVortelParamColour, kVortelUnitChannel,
                 "opacity of the colour; 0 shows the picture, 255 only the colour", vortel_range(0, 255)));
constexpr auto kBackground = vortel_params(
    vortel_text_param("texture", kTypeTexture, 0,
                      "the 'TXTR' texture (a picture file through Media.so, or \"Render1\" / \"Render2\")"),
    vortel_param("alpha", kVortelParamColour, kVortelUnitChannel, "tint alpha", vortel_typical(255)),
    vortel_param("red", kVortelParamColour, kVortelUnitChannel, "tint", vortel_typical(255)),
    vortel_param("green", kVortelParamColour, kVortelUnitChannel, "tint", vortel_typical(255)),
    vortel_param("blue", kVortelParamColour, kVortelUnitChannel, "tint", vortel_typical(255)),
    vortel_blend("1, 770", "0, 1, 771"),
    vortel_param("renderTo", kVortelParamNumber, VortelUnit{"0, 1, 2", 1},
                 "0 the window; 1 / 2 off-screen buffer 0 / 1", vortel_hard_range(0, 2).with_typical(0)),
    vortel_param("width", kVortelParamNumber, kVortelUnitPixels, "viewport width off-screen",
                 vortel_typical(256)),
    vortel_param("height", kVortelParamNumber, kVortelUnitPixels, "viewport height off-screen",
                 vortel_typical(256)));
constexpr auto kMakeMaterial = vortel_params(
    vortel_made_param("name", kTypeMaterial, "the material's name"),
    vortel_rgb("aR", "aG", "aB", "ambient colour"), vortel_rgb("dR", "dG", "dB", "diffuse colour"),
    vortel_rgb("sR", "sG", "sB", "specular colour"),
    vortel_param("extra", kVortelParamColour, kVortelUnitChannel, "opacity", vortel_typical(255)),
    vortel_param("shininess", kVortelParamNumber, kVortelUnitHundredth, "specular exponent",
                 vortel_range(1000, 12800)));
constexpr auto kLoaderBarWhiteOnBlack =
    vortel_params(vortel_param("progress", kVortelParamNumber, kVortelUnitTenThousandth,
                               "part of the bar drawn; 10000 the whole width", vortel_range(0, 10000)));
constexpr auto kSetMusicVolume = vortel_params(
    vortel_param("level", kVortelParamNumber, kVortelUnitChannel, "volume", vortel_range(0, 255)));

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect(
        "Clear3D",
        "Running calls empty the scene root. Put it on the last track so that it runs first in every frame."),
    vortel_effect("Show3D",
                  "Renders the scene root with the camera into the window or an off-screen buffer, depth "
                  "test on. A frame without a camera logs \"Show3D: No camera set! Use SetCamera3D!\".",
                  kShow3D),
    vortel_effect("Make3DGroup",
                  "Makes the named 3D group from its first call to its last; each running call empties it "
                  "and hangs it into its parent, so effects running later in the frame fill it again.",
                  kMake3DGroup),
    vortel_effect("Make3DKaleido",
                  "A group that draws its children `copies` times, copy j with the step transform applied "
                  "stepOffset + j times: rings, fans and spirals from one child.",
                  kMake3DKaleido),
    vortel_effect("MakeSymmetryGroup",
                  "A group that draws its children twice, turned by +angle and -angle about an axis: mirrors "
                  "and butterflies.",
                  kMakeSymmetryGroup),
    vortel_effect(
        "MakeSwarmGroup",
        "A group that draws its children once at each of `count` points of a swarm, each copy in the colour "
        "of its point: the point's own colour when the swarm has per-point colours, else the swarm's one "
        "colour (so the children's own colours do not show; colour the swarm instead). With timeStep not 0, "
        "point j also gets an extra transform from the event's own words 15 to 22 (offset, quaternion, "
        "scale) read at demo time + j x timeStep: declare and pass those eight words too.",
        kMakeSwarmGroup),
    vortel_effect("CopyGroupToGroups",
                  "Running calls hang the group `source` into each target, up to the first target that is 0 "
                  "or less: the same content drawn in several places.",
                  kCopyGroupToGroups),
    vortel_effect(
        "SetCamera3D",
        "Places the shared camera and puts it into the scene. Run it (or FocusCamera3D) every frame after "
        "Clear3D and before Show3D. The frustum is (-1, 1, -1/aspect, 1/aspect, near, far).",
        kSetCamera3D),
    vortel_effect("FocusCamera3D",
                  "Aims the shared camera at a group, one of its children or a point of a swarm group, from "
                  "an offset or an orbit.",
                  kFocusCamera3D),
    vortel_effect("SetLight3D", "A light hung into a group each running call; lit cubes and models need one.",
                  kSetLight3D),
    vortel_effect("Rectangle3D", "A flat rectangle in the x-y plane of a group, centred on its place.",
                  kRectangle3D),
    vortel_effect("Triangle3D", "A flat triangle: base b along x, centred, apex at (0, h).", kTriangle3D),
    vortel_effect("Oval3D",
                  "A flat oval. The alpha word goes into the colour's alpha byte; it does not make the oval "
                  "translucent.",
                  kOval3D),
    vortel_effect(
        "Cube3D",
        "A lit cube of edge 2 x size, centred on its place; needs a light (SetLight3D) to show its shading.",
        kCube3D),
    vortel_effect("ShowRibbons3D",
                  "A ribbon through the points of a swarm, in strips of pointsPerStrip points, coloured by "
                  "the swarm. The swarm named at the first call is kept until the last call.",
                  kShowRibbons3D),
    vortel_effect("Object3D",
                  "An OBJ model hung into a group, in the event's colour or in a MakeMaterial material (its "
                  "MTL file's materials are read but not shown). Models are loaded once per file and shared "
                  "by every event that shows the same file.",
                  kObject3D),
    vortel_effect("PostBlurUgly",
                  "Instead of Show3D: renders the scene small and shows it twice, slightly shifted, "
                  "stretched over the window: a cheap soft blur.",
                  kPostBlurUgly),
    vortel_effect("PostBlurPrecise",
                  "Instead of Show3D: renders the scene off-screen and shows it with a separable blur.",
                  kPostBlurPrecise),
    vortel_effect("PostGlare", "Instead of Show3D: the scene plus its bright parts blurred and added on top.",
                  kPostGlare),
    vortel_effect(
        "PostGlareSW",
        "Fills off-screen buffer 0 with opaque red from memory and shows it (a check of the software path)."),
    vortel_effect("InvertColors", "Running calls turn the picture drawn so far into its negative."),
    vortel_effect(
        "Color4BG",
        "A full-screen quad with one colour per corner (bottom-left, bottom-right, top-right, top-left), not "
        "blended: a gradient background. Put it on a later track than the effects that draw over it.",
        kColor4BG),
    vortel_effect("Fade", "Blends a colour over the picture drawn so far: fades to and from black or white.",
                  kFade),
    vortel_effect(
        "Background",
        "A texture stretched over the window or a viewport of an off-screen buffer, tinted and blended.",
        kBackground),
    vortel_effect(
        "MakeMaterial",
        "The named material ('MTRL') from the first call to the last, for Object3D's material parameter.",
        kMakeMaterial),
    vortel_effect("LoaderBarWhiteOnBlack",
                  "The loader animation (name it in the LoaderAnim setting): a white bar on black while "
                  "resources load.",
                  kLoaderBarWhiteOnBlack),
    vortel_effect("SetMusicVolume", "Running calls set the music volume (scaled by the viewer's volume).",
                  kSetMusicVolume)};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
