#include "effect_describe.h"

#include <SDL_loadso.h>
#include <cstdio>

#include <vortel/effect_description.h>
#include <vortel/log_text.h>

#include "json_text.h"
#include "library_host.h"

namespace
{

std::string number_or_null(bool given, long long value)
{
    return given ? std::to_string(value) : "null";
}

const char* kind_name(int32_t kind)
{
    static const char* const kNames[] = {"number",     "colour",      "angle",   "position", "scale",
                                         "quaternion", "blendFactor", "boolean", "text"};
    return kind >= kVortelParamNumber && kind <= kVortelParamText ? kNames[kind] : "unknown";
}

std::string param_json(const VortelParamDescription& p)
{
    const bool range = p.minimum != 0 || p.maximum != 0;
    const bool text = p.kind == kVortelParamText;
    std::string out = "{\"name\": " + json_quoted(p.name) + ", \"kind\": " + json_quoted(kind_name(p.kind)) +
                      ", \"unit\": " + json_quoted(p.unit) + ", \"meaning\": " + json_quoted(p.meaning) +
                      ", \"scale\": " + number_or_null(p.scale != 0, p.scale);
    out += ", \"minimum\": " + number_or_null(range, p.minimum) +
           ", \"maximum\": " + number_or_null(range && p.maximum != kVortelNoMaximum, p.maximum) +
           ", \"hardRange\": " + (range && (p.flags & kVortelRangeHard) ? "true" : "false");
    out += ", \"typical\": " + number_or_null(p.flags & kVortelTypicalGiven, p.typical) +
           ", \"typicalText\": " + json_quoted(p.typicalText);
    out += ", \"resourceType\": " +
           (text && p.resourceType ? json_quoted(resource_type_text(p.resourceType)) : "null");
    auto text_flag = [&](const char* key, uint32_t flag) {
        out += std::string(", \"") + key + "\": " + (text && (p.textFlags & flag) ? "true" : "false");
    };
    text_flag("zeroIsNone", kVortelTextZeroIsNone);
    text_flag("negativeIsNone", kVortelTextNegativeIsNone);
    text_flag("makes", kVortelTextMakes);
    text_flag("namesFile", kVortelTextNamesFile);
    return out + "}";
}

// The rest of a library's entry when it describes nothing.
constexpr const char* kNoDescription =
    ", \"descriptionVersion\": null, \"about\": null, \"others\": [], \"effects\": []";

std::string table_json(const VortelEffectTable& table)
{
    std::string out = ", \"descriptionVersion\": " + std::to_string(table.version) +
                      ", \"about\": " + json_quoted(table.about) + ",\n   \"others\": [";
    for (int32_t o = 0; table.others && o < table.otherCount; ++o) {
        const VortelOtherExport other = vortel_read_other(table, o);
        out += std::string(o ? ", " : "") + "{\"name\": " + json_quoted(other.name) +
               ", \"about\": " + json_quoted(other.about) + "}";
    }
    out += "],\n   \"effects\": [";
    for (int32_t e = 0; table.effects && e < table.effectCount; ++e) {
        const VortelEffectDescription effect = vortel_read_effect(table, e);
        out += std::string(e ? "," : "") + "\n    {\"name\": " + json_quoted(effect.name) +
               ", \"about\": " + json_quoted(effect.about) + ", \"params\": [";
        for (int32_t p = 0; effect.params && p < effect.paramCount; ++p)
            out += std::string(p ? "," : "") + "\n     " + param_json(vortel_read_param(table, effect, p));
        out += "]}";
    }
    return out + "]";
}

} // namespace

std::string library_about_json(void* handle)
{
    auto describe =
        reinterpret_cast<VortelDescribeEffectsFn>(SDL_LoadFunction(handle, VORTEL_DESCRIBE_EFFECTS_NAME));
    return describe ? json_quoted(vortel_read_table(describe()).about) : "null";
}

std::string effects_by_name_json(void* handle)
{
    auto describe =
        reinterpret_cast<VortelDescribeEffectsFn>(SDL_LoadFunction(handle, VORTEL_DESCRIBE_EFFECTS_NAME));
    if (!describe)
        return "{}";
    const VortelEffectTable table = vortel_read_table(describe());
    std::string out = "{";
    for (int32_t e = 0; table.effects && e < table.effectCount; ++e) {
        const VortelEffectDescription effect = vortel_read_effect(table, e);
        if (!effect.name)
            continue;
        out += std::string(out.size() > 1 ? ", " : "") + json_quoted(effect.name) +
               ": {\"about\": " + json_quoted(effect.about) + ", \"params\": [";
        for (int32_t p = 0; effect.params && p < effect.paramCount; ++p)
            out += std::string(p ? ", " : "") + param_json(vortel_read_param(table, effect, p));
        out += "]}";
    }
    return out + "}";
}

std::string resource_type_text(uint32_t code)
{
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((code >> shift) & 0xFF);
        out += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return out;
}

int run_describe(const std::vector<std::string>& libraries)
{
    const LibrarySearch search{".", program_folder()};
    int status = 0;
    std::string out = "{\"format\": \"vortel-effects\", \"version\": 1, \"libraries\": [";
    std::vector<void*> handles;
    for (size_t n = 0; n < libraries.size(); ++n) {
        const std::string& file = libraries[n];
        out += std::string(n ? "," : "") + "\n  {\"file\": " + json_quoted(file);
        std::string reason;
        void* handle = open_library(file, search, &reason);
        if (!handle) {
            std::fprintf(stderr, "player: --describe: library '%s' cannot be loaded: %s\n",
                         vortel::LogName(file.c_str()).c_str(), vortel::LogName(reason.c_str()).c_str());
            status = 1;
            out += ", \"error\": " + json_quoted(reason) + ", \"described\": false" + kNoDescription + "}";
            continue;
        }
        handles.push_back(handle);
        auto describe =
            reinterpret_cast<VortelDescribeEffectsFn>(SDL_LoadFunction(handle, VORTEL_DESCRIBE_EFFECTS_NAME));
        out += ", \"error\": null, \"described\": " + std::string(describe ? "true" : "false");
        out += (describe ? table_json(vortel_read_table(describe())) : kNoDescription) + "}";
    }
    out += "\n]}\n";
    std::fputs(out.c_str(), stdout);
    for (void* handle : handles)
        SDL_UnloadObject(handle);
    return status;
}
