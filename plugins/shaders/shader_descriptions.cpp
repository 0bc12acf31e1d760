// What the shader effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects).
#include <vortel/effect_description.h>

namespace
{

constexpr uint32_t kNone = kVortelTextZeroIsNone | kVortelTextNegativeIsNone;

// name, unit, meaning, kind, resourceType, textFlags, scale, minimum, maximum, typical
constexpr VortelParamDescription kShader = {"shader",
                                            "text index",
                                            "the fragment shader file (mainImage form or its own main)",
                                            kVortelParamText,
                                            kTypeFile,
                                            0,
                                            0,
                                            0,
                                            0,
                                            0};
constexpr VortelParamDescription shader_param(const char* name, const char* meaning)
{
    return {name, "x0.001", meaning, kVortelParamNumber, 0, 0, 1000, -1000000, 1000000, 0};
}

constexpr VortelParamDescription kShaderQuad[] = {
    kShader,
    {"channel0", "text index", "the 'TXTR' resource iChannel0 reads; 0 or below: black", kVortelParamText,
     kTypeTexture, kNone, 0, 0, 0, 0},
    {"channel1", "text index", "the 'TXTR' resource iChannel1 reads; 0 or below: black", kVortelParamText,
     kTypeTexture, kNone, 0, 0, 0, 0},
    shader_param("p0", "iParams.x"),
    shader_param("p1", "iParams.y"),
    shader_param("p2", "iParams.z"),
    shader_param("p3", "iParams.w"),
    {"opacity", "0..255", "iOpacity x 255: multiplies the alpha of a mainImage shader", kVortelParamColour, 0,
     0, 255, 0, 255, 255},
    {"blendSrc", "GL enum", "source blend factor; both factors 0: no blending", kVortelParamBlendFactor, 0, 0,
     0, 0, 0x8004, 0},
    {"blendDst", "GL enum", "destination blend factor; both factors 0: no blending", kVortelParamBlendFactor,
     0, 0, 0, 0, 0x8004, 0},
    {"renderTo", "target", "0 the screen, 1 Render1, 2 Render2", kVortelParamNumber, 0, 0, 1, 0, 2, 0}};

constexpr VortelParamDescription kShaderPost[] = {
    kShader, shader_param("p0", "iParams.x"), shader_param("p1", "iParams.y"),
    shader_param("p2", "iParams.z"), shader_param("p3", "iParams.w")};

constexpr VortelEffectDescription kEffects[] = {vortel_effect("ShaderQuad", kShaderQuad),
                                                vortel_effect("ShaderPost", kShaderPost)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
