// What a plug-in says about its own effects: an optional entry point returning a static table with, for
// every effect it exports, the effect's argument words in order and what each one means to the effect.
//
// The entry point is optional, like Vortel_UpdateParam: a plug-in without it loads and plays as before,
// and tools (the player's --check) then fall back to what the demo document declares. A plug-in that
// exports it describes every effect it exports, with exactly as many parameters as the effect reads.
//
// The table and every text it points to are static: valid while the library is loaded, never freed by
// the caller, and the same on every call. The layout is fixed (see the static_asserts) so that a table
// built by one compiler is read by another. Fields a plug-in does not describe are 0 or null. Later
// versions of this header only add fields at the end of the structs and raise kVortelDescriptionVersion;
// readers go through vortel_read_table and its companions, which step through a table of any version and
// leave the fields it does not have 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "plugin.h"

// What an argument word is to the effect.
enum VortelParamKind : int32_t {
    kVortelParamNumber = 0,      // a plain number or count (see scale and unit)
    kVortelParamColour = 1,      // one colour channel or an opacity, 0..255
    kVortelParamAngle = 2,       // an angle
    kVortelParamPosition = 3,    // a position or distance in scene units
    kVortelParamScale = 4,       // a scale factor
    kVortelParamQuaternion = 5,  // one component of a rotation quaternion
    kVortelParamBlendFactor = 6, // a GL enum: blend factor or blend equation
    kVortelParamBoolean = 7,     // 0 is false, anything else true
    kVortelParamText = 8,        // an index into the document's texts naming a resource of resourceType,
                                 // or a file when resourceType is kTypeFile
};

// textFlags of a kVortelParamText parameter: values that name no text at all, and what the effect does
// with the name.
enum VortelTextFlags : uint32_t {
    kVortelTextZeroIsNone = 1u << 0,     // 0 means "none" (the scene root, the end of a list, ...)
    kVortelTextNegativeIsNone = 1u << 1, // a negative value means "none"
    kVortelTextMakes = 1u << 2,     // the effect makes the resource under this name (it does not read one)
    kVortelTextNamesFile = 1u << 3, // the name is the path of the file the resource is made from
};

// flags of a parameter: how to read its range and typical value.
enum VortelParamFlags : uint32_t {
    kVortelRangeHard = 1u << 0,    // the effect refuses or clamps a value outside minimum..maximum; without
                                   // it the range is only what the effect is made for
    kVortelTypicalGiven = 1u << 1, // typical holds a typical value
};

// A range without an upper end ("at least 2") has maximum kVortelNoMaximum.
constexpr int32_t kVortelNoMaximum = INT32_MAX;

struct VortelParamDescription {
    const char* name;         // the parameter's name, as the effect reference declares it
    const char* unit;         // e.g. "x0.001", "mrad"; null: not described
    const char* meaning;      // one line; null: not described
    int32_t kind;             // VortelParamKind
    uint32_t resourceType;    // kVortelParamText: the resource type code ('TXTR', 'FILE', ...); else 0
    uint32_t textFlags;       // kVortelParamText: VortelTextFlags; else 0
    int32_t scale;            // fixed point: the value is word / scale (1: a whole number); 0: not described
    int32_t minimum, maximum; // the range (see kVortelRangeHard); both 0: not described
    int32_t typical;          // a typical value when flags has kVortelTypicalGiven
    // Version 2:
    const char* typicalText; // typical values in words where the numbers cannot say them ("0, 1, 771",
                             // "1 .. swarm size"); null: minimum..maximum and typical say it
    uint32_t flags;          // VortelParamFlags
    int32_t reserved2_;      // 0
};

struct VortelEffectDescription {
    const char* name;                     // the exported function's name
    const VortelParamDescription* params; // paramCount entries, in argument order
    int32_t paramCount;                   // the number of argument words the effect reads
    int32_t reserved_;                    // 0
    // Version 2:
    const char* about; // what the effect does, for a demo maker (a paragraph, no line breaks)
};

// A function the plug-in exports that is not an effect (a resource handler, say): documented so that
// tools holding the exports against the descriptions know it.
struct VortelOtherExport {
    const char* name;
    const char* about; // what it is, for the reference ("the 'SWRM' resource handler ...")
};

struct VortelEffectTable {
    uint32_t version; // kVortelDescriptionVersion of the header it was built with
    int32_t effectCount;
    const VortelEffectDescription* effects; // effectCount entries
    // Version 2:
    const char* about;               // the library's introduction (a paragraph, no line breaks)
    const VortelOtherExport* others; // otherCount entries
    int32_t otherCount;
    // The sizes of the structs the table was built with, so that a reader built with another version of
    // this header steps through its arrays correctly.
    uint32_t effectSize, paramSize, otherSize;
};

constexpr uint32_t kVortelDescriptionVersion = 2;

constexpr size_t kVortelPointerSize = sizeof(const char*);
static_assert(offsetof(VortelParamDescription, kind) == 3 * kVortelPointerSize,
              "VortelParamDescription layout");
static_assert(offsetof(VortelParamDescription, resourceType) == 3 * kVortelPointerSize + 4,
              "VortelParamDescription layout");
static_assert(offsetof(VortelParamDescription, textFlags) == 3 * kVortelPointerSize + 8,
              "VortelParamDescription layout");
static_assert(offsetof(VortelParamDescription, scale) == 3 * kVortelPointerSize + 12,
              "VortelParamDescription layout");
static_assert(offsetof(VortelParamDescription, typical) == 3 * kVortelPointerSize + 24,
              "VortelParamDescription layout");
static_assert(offsetof(VortelEffectDescription, params) == kVortelPointerSize,
              "VortelEffectDescription layout");
static_assert(offsetof(VortelEffectDescription, paramCount) == 2 * kVortelPointerSize,
              "VortelEffectDescription layout");
static_assert(offsetof(VortelEffectTable, effectCount) == 4, "VortelEffectTable layout");
static_assert(offsetof(VortelEffectTable, effects) == 8, "VortelEffectTable layout");
static_assert(offsetof(VortelEffectTable, about) == 8 + kVortelPointerSize, "VortelEffectTable layout");

// The size of each struct in a version 1 table: where the version 2 fields begin.
constexpr size_t kVortelParamSizeV1 = offsetof(VortelParamDescription, typicalText);
constexpr size_t kVortelEffectSizeV1 = offsetof(VortelEffectDescription, about);
constexpr size_t kVortelTableSizeV1 = offsetof(VortelEffectTable, about);

// The entry point, looked up by this name. Returns the plug-in's table (never null).
typedef const VortelEffectTable* (*VortelDescribeEffectsFn)();
#define VORTEL_DESCRIBE_EFFECTS_NAME "Vortel_DescribeEffects"

//-----------------------------------------------------------------------------
// Reading a table built with any version of this header: copies of its parts, with the fields its
// version does not have left 0. A reader never indexes a table's arrays itself: an older or newer table's
// entries have another size.
//-----------------------------------------------------------------------------

namespace vortel_detail
{
template <typename T> inline T read_entry(const void* array, size_t index, size_t size)
{
    T out{};
    std::memcpy(&out, static_cast<const char*>(array) + index * size, size < sizeof(T) ? size : sizeof(T));
    return out;
}
} // namespace vortel_detail

inline VortelEffectTable vortel_read_table(const VortelEffectTable* table)
{
    if (!table)
        return VortelEffectTable{};
    VortelEffectTable out = vortel_detail::read_entry<VortelEffectTable>(
        table, 0, table->version >= 2 ? sizeof(VortelEffectTable) : kVortelTableSizeV1);
    if (out.version < 2) {
        out.effectSize = uint32_t(kVortelEffectSizeV1);
        out.paramSize = uint32_t(kVortelParamSizeV1);
    }
    return out;
}
// Entry e of a table read with vortel_read_table (0 <= e < table.effectCount).
inline VortelEffectDescription vortel_read_effect(const VortelEffectTable& table, int32_t e)
{
    return vortel_detail::read_entry<VortelEffectDescription>(table.effects, size_t(e), table.effectSize);
}
// Parameter p of one of its effects (0 <= p < effect.paramCount).
inline VortelParamDescription vortel_read_param(const VortelEffectTable& table,
                                                const VortelEffectDescription& effect, int32_t p)
{
    return vortel_detail::read_entry<VortelParamDescription>(effect.params, size_t(p), table.paramSize);
}
// Other export o (0 <= o < table.otherCount).
inline VortelOtherExport vortel_read_other(const VortelEffectTable& table, int32_t o)
{
    return vortel_detail::read_entry<VortelOtherExport>(table.others, size_t(o), table.otherSize);
}

//-----------------------------------------------------------------------------
// Writing a table.
//-----------------------------------------------------------------------------

// A unit as the reference shows it, and the fixed-point scale it implies.
struct VortelUnit {
    const char* name;
    int32_t scale;
};
constexpr VortelUnit kVortelUnitMilli{"x0.001", 1000};
constexpr VortelUnit kVortelUnitTenThousandth{"x0.0001", 10000};
constexpr VortelUnit kVortelUnitHundredThousandth{"x0.00001", 100000};
constexpr VortelUnit kVortelUnitHundredth{"x0.01", 100};
constexpr VortelUnit kVortelUnitTenth{"x0.1", 10};
constexpr VortelUnit kVortelUnitChannel{"0..255", 1};
constexpr VortelUnit kVortelUnitFlag{"flag", 1};
constexpr VortelUnit kVortelUnitGLEnum{"GL enum", 1};
constexpr VortelUnit kVortelUnitMrad{"mrad", 1};
constexpr VortelUnit kVortelUnitSceneUnits{"scene units", 1};
constexpr VortelUnit kVortelUnitPixels{"pixels", 1};
constexpr VortelUnit kVortelUnitPoints{"points", 1};
constexpr VortelUnit kVortelUnitCount{"count", 1};
constexpr VortelUnit kVortelUnitPlain{"—", 1}; // a plain number without a unit (seeds, reserved words)

// The values a parameter takes: its range and typical value, and typical values in words.
struct VortelValues {
    int32_t minimum = 0, maximum = 0, typical = 0;
    uint32_t flags = 0;
    const char* text = nullptr;

    constexpr VortelValues with_text(const char* words) const
    {
        VortelValues out = *this;
        out.text = words;
        return out;
    }
    constexpr VortelValues with_typical(int32_t value) const
    {
        VortelValues out = *this;
        out.typical = value;
        out.flags |= kVortelTypicalGiven;
        return out;
    }
};
constexpr VortelValues vortel_typical(int32_t value)
{
    return VortelValues{}.with_typical(value);
}
constexpr VortelValues vortel_typical_text(const char* words)
{
    return VortelValues{}.with_text(words);
}
// A range the effect is made for; values outside it still work.
constexpr VortelValues vortel_range(int32_t minimum, int32_t maximum)
{
    return VortelValues{minimum, maximum, 0, 0, nullptr};
}
// A range outside of which the effect refuses or clamps the value.
constexpr VortelValues vortel_hard_range(int32_t minimum, int32_t maximum = kVortelNoMaximum)
{
    return VortelValues{minimum, maximum, 0, kVortelRangeHard, nullptr};
}

constexpr VortelParamDescription vortel_param(const char* name, VortelParamKind kind, VortelUnit unit,
                                              const char* meaning, VortelValues values = {})
{
    return VortelParamDescription{
        name,           unit.name,      meaning,     kind,         0, 0, unit.scale, values.minimum,
        values.maximum, values.typical, values.text, values.flags, 0};
}
// A text index naming a resource of resourceType (or a file: kTypeFile).
constexpr VortelParamDescription vortel_text_param(const char* name, uint32_t resourceType,
                                                   uint32_t textFlags, const char* meaning,
                                                   VortelValues values = {})
{
    return VortelParamDescription{
        name,           "text",         meaning,        kVortelParamText, resourceType, textFlags, 0,
        values.minimum, values.maximum, values.typical, values.text,      values.flags, 0};
}

// A parameter described by its kind alone, and a text index by its resource type alone (a plug-in may
// describe no more than --check needs).
constexpr VortelParamDescription vortel_param(const char* name, VortelParamKind kind)
{
    return VortelParamDescription{name, nullptr, nullptr, kind, 0, 0, 0, 0, 0, 0, nullptr, 0, 0};
}
constexpr VortelParamDescription vortel_text_param(const char* name, uint32_t resourceType,
                                                   uint32_t textFlags = 0)
{
    return VortelParamDescription{
        name, nullptr, nullptr, kVortelParamText, resourceType, textFlags, 0, 0, 0, 0, nullptr, 0, 0};
}

// The name of a resource the effect makes.
constexpr VortelParamDescription vortel_made_param(const char* name, uint32_t resourceType,
                                                   const char* meaning)
{
    return vortel_text_param(name, resourceType, kVortelTextMakes, meaning);
}

// Runs of parameters that many effects read, each filled in the same way.
using VortelParams3 = std::array<VortelParamDescription, 3>;
using VortelParams4 = std::array<VortelParamDescription, 4>;
// A position: three words in thousandths of a scene unit.
constexpr VortelParams3 vortel_position(const char* x, const char* y, const char* z, const char* meaning,
                                        VortelValues values = {})
{
    return {vortel_param(x, kVortelParamPosition, kVortelUnitMilli, meaning, values),
            vortel_param(y, kVortelParamPosition, kVortelUnitMilli, meaning, values),
            vortel_param(z, kVortelParamPosition, kVortelUnitMilli, meaning, values)};
}
// A rotation quaternion (x, y, z, w) in the unit given; typically no turn. `note` says more on the first
// word (how the effect treats the quaternion).
constexpr VortelParams4 vortel_rotation(const char* x, const char* y, const char* z, const char* w,
                                        VortelUnit unit, const char* note = nullptr)
{
    return {
        vortel_param(x, kVortelParamQuaternion, unit, note ? note : "rotation quaternion x",
                     vortel_typical(0)),
        vortel_param(y, kVortelParamQuaternion, unit, "rotation quaternion y", vortel_typical(0)),
        vortel_param(z, kVortelParamQuaternion, unit, "rotation quaternion z", vortel_typical(0)),
        vortel_param(w, kVortelParamQuaternion, unit, "rotation quaternion w", vortel_typical(unit.scale))};
}

// Three colour channels that mean the same ("ambient colour", "tint").
constexpr VortelParams3 vortel_rgb(const char* r, const char* g, const char* b, const char* meaning,
                                   VortelValues values = {})
{
    return {vortel_param(r, kVortelParamColour, kVortelUnitChannel, meaning, values),
            vortel_param(g, kVortelParamColour, kVortelUnitChannel, meaning, values),
            vortel_param(b, kVortelParamColour, kVortelUnitChannel, meaning, values)};
}
// A uniform scale in hundred-thousandths, typically 1.
constexpr VortelParamDescription vortel_scale(const char* meaning = "uniform scale",
                                              VortelValues values = vortel_typical(100000))
{
    return vortel_param("scale", kVortelParamScale, kVortelUnitHundredThousandth, meaning, values);
}
// The source and destination blend factors (GL enums), with their typical values in words.
constexpr std::array<VortelParamDescription, 2>
vortel_blend(const char* sourceTypical, const char* destinationTypical,
             const char* destinationMeaning = "destination blend factor")
{
    return {vortel_param("blendSrc", kVortelParamBlendFactor, kVortelUnitGLEnum, "source blend factor",
                         vortel_typical_text(sourceTypical)),
            vortel_param("blendDst", kVortelParamBlendFactor, kVortelUnitGLEnum, destinationMeaning,
                         vortel_typical_text(destinationTypical))};
}
// Where a scene object goes: the '3DWR' group it is hung into, and whether an axis marker shows its place.
constexpr std::array<VortelParamDescription, 2> vortel_hang(const char* markerName = "showMarker")
{
    return {vortel_text_param("group", kType3DGroup, 0, "the group to hang it into"),
            vortel_param(markerName, kVortelParamBoolean, kVortelUnitFlag, "axis marker", vortel_typical(0))};
}

// One array of parameters from single parameters and runs, in argument order.
namespace vortel_detail
{
template <size_t N>
constexpr std::array<VortelParamDescription, N> as_run(const std::array<VortelParamDescription, N>& run)
{
    return run;
}
constexpr std::array<VortelParamDescription, 1> as_run(const VortelParamDescription& param)
{
    return {param};
}
template <size_t A, size_t B>
constexpr std::array<VortelParamDescription, A + B> join(const std::array<VortelParamDescription, A>& a,
                                                         const std::array<VortelParamDescription, B>& b)
{
    std::array<VortelParamDescription, A + B> out{};
    for (size_t i = 0; i < A; ++i)
        out[i] = a[i];
    for (size_t i = 0; i < B; ++i)
        out[A + i] = b[i];
    return out;
}
template <size_t A>
constexpr std::array<VortelParamDescription, A> join_all(const std::array<VortelParamDescription, A>& a)
{
    return a;
}
template <size_t A, typename Next, typename... Rest>
constexpr auto join_all(const std::array<VortelParamDescription, A>& a, const Next& next, const Rest&... rest)
{
    return join_all(join(a, as_run(next)), rest...);
}
} // namespace vortel_detail

template <typename First, typename... Rest>
constexpr auto vortel_params(const First& first, const Rest&... rest)
{
    return vortel_detail::join_all(vortel_detail::as_run(first), rest...);
}

// One table entry from a static array of parameters.
template <size_t N>
constexpr VortelEffectDescription vortel_effect(const char* name, const VortelParamDescription (&params)[N])
{
    return VortelEffectDescription{name, params, int32_t(N), 0, nullptr};
}
template <size_t N>
constexpr VortelEffectDescription vortel_effect(const char* name, const char* about,
                                                const std::array<VortelParamDescription, N>& params)
{
    return VortelEffectDescription{name, params.data(), int32_t(N), 0, about};
}
constexpr VortelEffectDescription vortel_effect(const char* name, const char* about = nullptr)
{
    return VortelEffectDescription{name, nullptr, 0, 0, about};
}

template <size_t N>
constexpr VortelEffectTable vortel_effect_table(const char* about,
                                                const VortelEffectDescription (&effects)[N])
{
    return VortelEffectTable{kVortelDescriptionVersion,
                             int32_t(N),
                             effects,
                             about,
                             nullptr,
                             0,
                             uint32_t(sizeof(VortelEffectDescription)),
                             uint32_t(sizeof(VortelParamDescription)),
                             uint32_t(sizeof(VortelOtherExport))};
}
template <size_t N>
constexpr VortelEffectTable vortel_effect_table(const VortelEffectDescription (&effects)[N])
{
    return vortel_effect_table(nullptr, effects);
}
template <size_t N, size_t M>
constexpr VortelEffectTable vortel_effect_table(const char* about,
                                                const VortelEffectDescription (&effects)[N],
                                                const VortelOtherExport (&others)[M])
{
    VortelEffectTable table = vortel_effect_table(about, effects);
    table.others = others;
    table.otherCount = int32_t(M);
    return table;
}
