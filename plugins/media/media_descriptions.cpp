// What the media effects read from their argument words, for tools that check documents
// (Vortel_DescribeEffects). One entry per exported effect, parameters in argument order, as
// docs/effect-params.txt lists them.
#include <vortel/effect_description.h>

namespace
{

constexpr VortelParamDescription kMakeWaveGrid[] = {vortel_text_param("name", kTypeGrid),
                                                    vortel_param("columns", kVortelParamNumber),
                                                    vortel_param("rows", kVortelParamNumber),
                                                    vortel_param("width", kVortelParamPosition),
                                                    vortel_param("height", kVortelParamPosition),
                                                    vortel_param("amplitude", kVortelParamPosition),
                                                    vortel_param("wavelength", kVortelParamPosition),
                                                    vortel_param("speed", kVortelParamNumber),
                                                    vortel_param("colors", kVortelParamBoolean)};

constexpr VortelEffectDescription kEffects[] = {vortel_effect("MakeWaveGrid", kMakeWaveGrid)};
constexpr VortelEffectTable kTable = vortel_effect_table(kEffects);

} // namespace

VORTEL_EXPORT const VortelEffectTable* Vortel_DescribeEffects()
{
    return &kTable;
}
