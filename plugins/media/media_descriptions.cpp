// What the media effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects), and the effect reference (docs/effects.md) made from it: one entry per
// exported effect, parameters in argument order.
#include <vortel/effect_description.h>

namespace
{

constexpr const char* kAbout =
    "Makes shared resources from files and numbers: 'TXTR' textures from picture files (PNG, JPEG, TGA, BMP) "
    "and 'BEAT' patterns from beat files, both named by their path in the Texts, and 'GRID' sheets made by "
    "MakeWaveGrid. List it before the libraries that use them.";

constexpr auto kMakeWaveGrid = vortel_params(
    vortel_made_param("name", kTypeGrid, "the grid's name"),
    vortel_param("columns", kVortelParamNumber, kVortelUnitPoints,
                 "points per row, 2 .. 256 (others are clamped, with a log line)",
                 vortel_hard_range(2, 256).with_typical(8).with_text("8 .. 64")),
    vortel_param("rows", kVortelParamNumber, kVortelUnitPoints, "rows, 2 .. 256",
                 vortel_hard_range(2, 256).with_typical(8).with_text("8 .. 64")),
    vortel_param("width", kVortelParamPosition, kVortelUnitMilli, "sheet width", vortel_range(2000, 20000)),
    vortel_param("height", kVortelParamPosition, kVortelUnitMilli, "sheet height", vortel_range(2000, 20000)),
    vortel_param("amplitude", kVortelParamPosition, kVortelUnitMilli, "wave height", vortel_range(0, 2000)),
    vortel_param("wavelength", kVortelParamPosition, kVortelUnitMilli, "wave length; 0 or less: a flat sheet",
                 vortel_range(1000, 10000)),
    vortel_param("speed", kVortelParamNumber, VortelUnit{"x0.001 per second", 1000},
                 "how fast the wave runs along x (event's local time)", vortel_range(0, 5000)),
    vortel_param("colors", kVortelParamBoolean, kVortelUnitFlag,
                 "not 0: opaque on the crests, half transparent in the troughs", vortel_typical(0)));

constexpr VortelEffectDescription kEffects[] = {vortel_effect(
    "MakeWaveGrid",
    "The 'GRID' sheet `name`: columns x rows points in the x-y plane, lifted along z by a wave running along "
    "x, z = amplitude sin(2 pi (x - speed t) / wavelength). Show it with ImageGrid3D or DualImageGrid3D.",
    kMakeWaveGrid)};
constexpr VortelEffectTable kTable = vortel_effect_table(kAbout, kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
