// Reading a description table built with the first version of include/vortel/effect_description.h: its
// entries are smaller than today's, so a reader that indexed the arrays itself would read the wrong
// parameters. The vortel_read_* helpers step by the table's own sizes and leave the newer fields 0.
#include <gtest/gtest.h>

#include <string>

#include <vortel/effect_description.h>

namespace
{

// The version 1 layout, as a plug-in built with it has it in memory.
struct ParamV1 {
    const char *name, *unit, *meaning;
    int32_t kind;
    uint32_t resourceType, textFlags;
    int32_t scale, minimum, maximum, typical;
};
struct EffectV1 {
    const char* name;
    const ParamV1* params;
    int32_t paramCount, reserved;
};
struct TableV1 {
    uint32_t version;
    int32_t effectCount;
    const EffectV1* effects;
};
static_assert(sizeof(ParamV1) == kVortelParamSizeV1 && sizeof(EffectV1) == kVortelEffectSizeV1 &&
                  sizeof(TableV1) == kVortelTableSizeV1,
              "the first version's layout");

TEST(EffectDescription, AVersionOneTableReadsWithTheNewerFieldsEmpty)
{
    static const ParamV1 first[] = {{"a", "x0.001", "first", kVortelParamPosition, 0, 0, 1000, -5, 5, 0},
                                    {"b", nullptr, nullptr, kVortelParamText, kTypeSwarm, 1, 0, 0, 0, 0}};
    static const ParamV1 second[] = {{"c", "flag", "third", kVortelParamBoolean, 0, 0, 1, 0, 0, 0}};
    static const EffectV1 effects[] = {{"One", first, 2, 0}, {"Two", second, 1, 0}};
    static const TableV1 v1 = {1, 2, effects};

    const VortelEffectTable table = vortel_read_table(reinterpret_cast<const VortelEffectTable*>(&v1));
    ASSERT_EQ(table.effectCount, 2);
    EXPECT_EQ(table.about, nullptr);
    EXPECT_EQ(table.otherCount, 0);
    const VortelEffectDescription one = vortel_read_effect(table, 0);
    const VortelEffectDescription two = vortel_read_effect(table, 1);
    EXPECT_EQ(std::string(two.name), "Two");
    EXPECT_EQ(one.about, nullptr);
    ASSERT_EQ(one.paramCount, 2);
    const VortelParamDescription b = vortel_read_param(table, one, 1);
    EXPECT_EQ(std::string(b.name), "b");
    EXPECT_EQ(b.resourceType, kTypeSwarm);
    EXPECT_EQ(b.typicalText, nullptr);
    EXPECT_EQ(b.flags, 0u) << "a version 1 range is never taken for a hard one";
    EXPECT_EQ(std::string(vortel_read_param(table, two, 0).meaning), "third");
}

} // namespace
