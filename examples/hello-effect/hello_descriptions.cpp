// What HelloQuad reads from its argument words, for tools: `player --check` holds documents against it,
// `player --describe HelloEffect.so` prints it as JSON for editors. Optional: without it the plug-in
// plays the same.
#include <vortel/effect_description.h>

namespace
{
constexpr auto kHelloQuad = vortel_params(
    vortel_text_param("group", kType3DGroup, 0, "the group to hang the square into"),
    vortel_position("x", "y", "z", "centre in the group", vortel_typical(0)),
    vortel_param("edge", kVortelParamPosition, kVortelUnitMilli, "side length; 0 or less draws nothing",
                 vortel_hard_range(1).with_typical(8000)),
    vortel_param("spin", kVortelParamAngle, VortelUnit{"mrad per second", 1000},
                 "turning speed about the group's z axis, counter-clockwise", vortel_range(-6283, 6283)));

constexpr VortelEffectDescription kEffects[] = {
    vortel_effect("HelloQuad", "A textured square hung into a group, turning about its z axis.", kHelloQuad)};
constexpr VortelEffectTable kTable =
    vortel_effect_table("The example plug-in: one effect, a turning square.", kEffects);
} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
