// What a plug-in says about its own effects: an optional entry point returning a static table with, for
// every effect it exports, the effect's argument words in order and what each one means to the effect.
//
// The entry point is optional, like Vortel_UpdateParam: a plug-in without it loads and plays as before,
// and tools (the player's --check) then fall back to what the demo document declares. A plug-in that
// exports it describes every effect it exports, with exactly as many parameters as the effect reads.
//
// The table and every text it points to are static: valid while the library is loaded, never freed by
// the caller, and the same on every call. The layout is fixed (see the static_asserts) so that a table
// built by one compiler is read by another. Fields a plug-in does not describe yet are 0 or null; later
// versions of this header only add fields at the end of VortelParamDescription and raise
// kVortelDescriptionVersion.
#pragma once

#include <cstddef>
#include <cstdint>

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

// textFlags of a kVortelParamText parameter: values that name no text at all.
enum VortelTextFlags : uint32_t {
    kVortelTextZeroIsNone = 1u << 0,     // 0 means "none" (the scene root, the end of a list, ...)
    kVortelTextNegativeIsNone = 1u << 1, // a negative value means "none"
};

struct VortelParamDescription {
    const char* name;         // the parameter's name, as the effect reference declares it
    const char* unit;         // e.g. "x0.001", "mrad"; null: not described
    const char* meaning;      // one line; null: not described
    int32_t kind;             // VortelParamKind
    uint32_t resourceType;    // kVortelParamText: the resource type code ('TXTR', 'FILE', ...); else 0
    uint32_t textFlags;       // kVortelParamText: VortelTextFlags; else 0
    int32_t scale;            // fixed point: the value is word / scale; 0: not described
    int32_t minimum, maximum; // the range the effect is made for; both 0: not described
    int32_t typical;          // a typical value (meaningful when minimum < maximum)
};

struct VortelEffectDescription {
    const char* name;                     // the exported function's name
    const VortelParamDescription* params; // paramCount entries, in argument order
    int32_t paramCount;                   // the number of argument words the effect reads
    int32_t reserved_;                    // 0
};

struct VortelEffectTable {
    uint32_t version; // kVortelDescriptionVersion of the header it was built with
    int32_t effectCount;
    const VortelEffectDescription* effects; // effectCount entries
};

constexpr uint32_t kVortelDescriptionVersion = 1;

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

// The entry point, looked up by this name. Returns the plug-in's table (never null).
typedef const VortelEffectTable* (*VortelDescribeEffectsFn)();
#define VORTEL_DESCRIBE_EFFECTS_NAME "Vortel_DescribeEffects"

// Helpers for writing a table: a parameter of a kind, and a text index naming a resource type.
constexpr VortelParamDescription vortel_param(const char* name, VortelParamKind kind)
{
    return VortelParamDescription{name, nullptr, nullptr, kind, 0, 0, 0, 0, 0, 0};
}
constexpr VortelParamDescription vortel_text_param(const char* name, uint32_t resourceType,
                                                   uint32_t textFlags = 0)
{
    return VortelParamDescription{name, nullptr, nullptr, kVortelParamText, resourceType, textFlags, 0,
                                  0,    0,       0};
}

// One table entry from a static array of parameters.
template <size_t N>
constexpr VortelEffectDescription vortel_effect(const char* name, const VortelParamDescription (&params)[N])
{
    return VortelEffectDescription{name, params, int32_t(N), 0};
}
constexpr VortelEffectDescription vortel_effect(const char* name)
{
    return VortelEffectDescription{name, nullptr, 0, 0};
}
template <size_t N>
constexpr VortelEffectTable vortel_effect_table(const VortelEffectDescription (&effects)[N])
{
    return VortelEffectTable{kVortelDescriptionVersion, int32_t(N), effects};
}
