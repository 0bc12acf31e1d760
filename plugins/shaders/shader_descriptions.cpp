// What the shader effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "GLSL fragment shaders on the timeline (docs/shaders.md): files in the mainImage form or with their own "
    "main, drawn over the screen, into \"Render1\" / \"Render2\" or over the rendered scene, with the "
    "uniforms set by name, rebuilt when the file is saved. A shader that is missing or does not compile is "
    "told once per event in the log, with the line numbers of its file, and draws nothing.";

constexpr VortelUnit kTarget{"0, 1, 2", 1};

constexpr auto kShader = vortel_params(vortel_text_param("shader", kTypeFile, 0, "the fragment shader file"));
constexpr auto kParams = vortel_params(
    vortel_param("p0", kVortelParamNumber, kVortelUnitMilli, "iParams.x", vortel_typical_text("0 .. 1000")),
    vortel_param("p1", kVortelParamNumber, kVortelUnitMilli, "iParams.y", vortel_typical(0)),
    vortel_param("p2", kVortelParamNumber, kVortelUnitMilli, "iParams.z", vortel_typical(0)),
    vortel_param("p3", kVortelParamNumber, kVortelUnitMilli, "iParams.w", vortel_typical(0)));

constexpr auto kShaderQuad = vortel_params(
    kShader,
    vortel_text_param("channel0", kTypeTexture, kVortelTextZeroIsNone | kVortelTextNegativeIsNone,
                      "the 'TXTR' texture iChannel0 reads (a picture through Media.so, \"Render1\", "
                      "\"Render2\"); 0 or below: black",
                      vortel_typical(0)),
    vortel_text_param("channel1", kTypeTexture, kVortelTextZeroIsNone | kVortelTextNegativeIsNone,
                      "the same for iChannel1", vortel_typical(0)),
    kParams,
    vortel_param("opacity", kVortelParamColour, kVortelUnitChannel,
                 "iOpacity x 255, clamped; the mainImage form multiplies its alpha by it",
                 vortel_hard_range(0, 255).with_typical(255)),
    vortel_blend("0, 770", "0, 771", "destination blend factor; both factors 0: no blending"),
    vortel_param("renderTo", kVortelParamNumber, kTarget,
                 "0 the screen (the demo's viewport); 1 \"Render1\", 2 \"Render2\" at the window's size",
                 vortel_hard_range(0, 2).with_typical(0)));

constexpr auto kShaderPost = vortel_params(kShader, kParams);

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect("ShaderQuad",
                  "One quad covering the target, drawn with the shader; iChannel0 and iChannel1 read the two "
                  "textures, iParams the four words p0..p3.",
                  kShaderQuad),
    vortel_effect("ShaderPost",
                  "Takes the place of Show3D: renders the scene with its camera into off-screen buffer 0, "
                  "then draws the shader over the screen with iChannel0 = that picture and iChannel1 = its "
                  "own output of the previous frame (feedback trails).",
                  kShaderPost)};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
