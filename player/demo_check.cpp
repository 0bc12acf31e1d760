// [SECTION] Libraries
// [SECTION] Events
// [SECTION] Files
// [SECTION] Entry
#include "demo_check.h"

#include <SDL.h>
#include <SDL_loadso.h>
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <unistd.h>

#include <vortel/effect_description.h>
#include <vortel/log_text.h>

#include "data_file.h"
#include "demo_loader.h"
#include "effect_describe.h"
#include "error_log.h"
#include "shader_check.h"

namespace
{

class Report
{
public:
    void add(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        char line[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof(line), format, args);
        va_end(args);
        lines.push_back(line);
    }
    std::vector<std::string> lines;
};

// What the check knows besides the document: the libraries' own descriptions of their effects (read with
// vortel_read_table; effectCount 0 for a library without them, in document order), the texts that name
// files, and the resource types described effects make under each text.
struct CheckContext {
    const Demo& demo;
    std::vector<VortelEffectTable> tables;
    std::set<int32_t> fileTexts;
    std::map<int32_t, std::set<uint32_t>> made;
};

//-----------------------------------------------------------------------------
// [SECTION] Libraries
//-----------------------------------------------------------------------------

// The description of one effect in a library's table; false when the table does not describe it in a
// form that can be used.
bool find_description(const VortelEffectTable& table, const std::string& name, VortelEffectDescription* out)
{
    for (int32_t e = 0; table.effects && e < table.effectCount; ++e) {
        const VortelEffectDescription effect = vortel_read_effect(table, e);
        if (effect.name && name == effect.name) {
            *out = effect;
            return effect.paramCount >= 0 && (effect.params || effect.paramCount == 0);
        }
    }
    return false;
}

void check_libraries(Demo& demo, const LibrarySearch& search, CheckContext& context, Report& report)
{
    for (LibraryRecord& library : demo.libraries) {
        const char* name = library.fileName.c_str();
        std::string reason;
        library.handle = open_library(library.fileName, search, &reason);
        context.tables.push_back(VortelEffectTable{});
        if (!library.handle) {
            report.add("library '%s': cannot be loaded: %s", name, reason.c_str());
            continue;
        }
        if (auto describe = reinterpret_cast<VortelDescribeEffectsFn>(
                SDL_LoadFunction(library.handle, VORTEL_DESCRIBE_EFFECTS_NAME)))
            context.tables.back() = vortel_read_table(describe());
        for (const char* entry : {VORTEL_INIT_NAME, VORTEL_QUIT_NAME, VORTEL_BEGIN_NEW_FRAME_NAME})
            if (!SDL_LoadFunction(library.handle, entry))
                report.add("library '%s': exports no %s", name, entry);
        for (FunctionDeclaration& function : library.functions) {
            function.function =
                reinterpret_cast<EffectFn>(SDL_LoadFunction(library.handle, function.name.c_str()));
            if (!function.function)
                report.add("library '%s': declares '%s', which it does not export", name,
                           function.name.c_str());
            VortelEffectDescription effect{};
            if (function.function && find_description(context.tables.back(), function.name, &effect) &&
                size_t(effect.paramCount) != function.paramNames.size())
                report.add("library '%s': declares '%s' with %zu parameters, but the effect reads %d", name,
                           function.name.c_str(), function.paramNames.size(), int(effect.paramCount));
        }
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Events
//-----------------------------------------------------------------------------

bool library_declared(const Demo& demo, const std::string& fileName)
{
    for (const LibraryRecord& library : demo.libraries)
        if (library.fileName == fileName)
            return true;
    return false;
}

// The declaration binding uses: the first library with the event's FileName that declares the function;
// *libraryIndex tells which library that is.
const FunctionDeclaration* declaration_of(const Demo& demo, const Event& event,
                                          size_t* libraryIndex = nullptr)
{
    for (size_t n = 0; n < demo.libraries.size(); ++n) {
        const LibraryRecord& library = demo.libraries[n];
        if (library.fileName != event.libraryFileName)
            continue;
        for (const FunctionDeclaration& function : library.functions)
            if (function.name == event.functionName) {
                if (libraryIndex)
                    *libraryIndex = n;
                return &function;
            }
    }
    return nullptr;
}

// The effect's description by the library the event binds to, with that library's table; false when there
// is none.
bool description_of(const CheckContext& context, const Event& event, const VortelEffectTable** table,
                    VortelEffectDescription* effect)
{
    size_t library = 0;
    if (!declaration_of(context.demo, event, &library))
        return false;
    *table = &context.tables[library];
    return find_description(**table, event.functionName, effect);
}

bool names_no_text(const VortelParamDescription& param, int32_t index)
{
    return (index == 0 && (param.textFlags & kVortelTextZeroIsNone)) ||
           (index < 0 && (param.textFlags & kVortelTextNegativeIsNone));
}

void check_binding(const Demo& demo, const Event& event, int k, int i, Report& report)
{
    if (!library_declared(demo, event.libraryFileName)) {
        report.add("track %d, event %d: library '%s' is not declared in the document", k, i,
                   event.libraryFileName.c_str());
        return;
    }
    const FunctionDeclaration* declaration = declaration_of(demo, event);
    if (!declaration) {
        report.add("track %d, event %d: function '%s' is not declared by library '%s'", k, i,
                   event.functionName.c_str(), event.libraryFileName.c_str());
        return;
    }
    if (declaration->paramNames.size() != event.params.size())
        report.add("track %d, event %d: '%s' declares %zu parameters, the event gives %zu", k, i,
                   event.functionName.c_str(), declaration->paramNames.size(), event.params.size());
}

// Every resource a described event makes from a constant text index, for the reading events to be held
// against.
void collect_made_resources(CheckContext& context)
{
    for (const Track& track : context.demo.tracks)
        for (const Event& event : track.events) {
            const VortelEffectTable* table = nullptr;
            VortelEffectDescription effect{};
            if (event.unread || !description_of(context, event, &table, &effect))
                continue;
            const size_t described = std::min(event.params.size(), size_t(effect.paramCount));
            for (size_t p = 0; p < described; ++p) {
                const VortelParamDescription param = vortel_read_param(*table, effect, int32_t(p));
                if (param.kind == kVortelParamText && (param.textFlags & kVortelTextMakes) &&
                    event.params[p].kind == kParamConstant)
                    context.made[event.params[p].value].insert(param.resourceType);
            }
        }
}

// A text an effect reads as a resource of one type that the document's events make only as other types.
void check_made_type(const CheckContext& context, const VortelParamDescription& param, int32_t text, int k,
                     int i, size_t p, Report& report)
{
    const auto made = context.made.find(text);
    if ((param.textFlags & (kVortelTextMakes | kVortelTextNamesFile)) || param.resourceType == kTypeFile ||
        made == context.made.end() || made->second.count(param.resourceType))
        return;
    std::string types;
    for (uint32_t type : made->second)
        types += std::string(types.empty() ? "'" : " or '") + resource_type_text(type) + "'";
    report.add("track %d, event %d: parameter %zu (%s) reads a '%s' named '%s' (text %d), but the document "
               "makes that name only as a %s",
               k, i, p, param.name ? param.name : "?", resource_type_text(param.resourceType).c_str(),
               vortel::LogName(context.demo.texts[size_t(text)].c_str()).c_str(), int(text), types.c_str());
}

std::string range_text(const VortelParamDescription& param)
{
    if (param.maximum == kVortelNoMaximum)
        return std::to_string(param.minimum) + " or more";
    return std::to_string(param.minimum) + " .. " + std::to_string(param.maximum);
}

// What the effect's own description says about the constant words: values outside a range the effect
// refuses or clamps; with checkTexts, text indices out of range or of a type the document does not make
// under that name, and which texts it reads as file names.
void check_described_params(CheckContext& context, const Event& event, const VortelEffectTable& table,
                            const VortelEffectDescription& effect, bool checkTexts, int k, int i,
                            Report& report)
{
    const size_t texts = context.demo.texts.size();
    const size_t described = std::min(event.params.size(), size_t(effect.paramCount));
    for (size_t p = 0; p < described; ++p) {
        const VortelParamDescription param = vortel_read_param(table, effect, int32_t(p));
        const Param& given = event.params[p];
        if (given.kind != kParamConstant)
            continue;
        const char* name = param.name ? param.name : "?";
        const int32_t value = given.value;
        if (param.kind == kVortelParamText) {
            if (!checkTexts || names_no_text(param, value))
                continue;
            if (value < 0 || size_t(value) >= texts)
                report.add(
                    "track %d, event %d: parameter %zu (%s) names text %d, but the document has %zu texts", k,
                    i, p, name, int(value), texts);
            else if (param.resourceType == kTypeFile || (param.textFlags & kVortelTextNamesFile))
                context.fileTexts.insert(value);
            else
                check_made_type(context, param, value, k, i, p, report);
        } else if ((param.flags & kVortelRangeHard) && param.minimum <= param.maximum &&
                   (value < param.minimum || value > param.maximum)) {
            report.add("track %d, event %d: %s parameter %zu (%s) is %d, outside its range %s", k, i,
                       event.functionName.c_str(), p, name, int(value), range_text(param).c_str());
        }
    }
}

// Text indices the document itself marks: for an effect without a description, the parameters whose
// declared names say they name a resource ("RSRC" and a type); for every effect, the beat and loops
// parameters.
void check_declared_text_indices(const CheckContext& context, const Event& event, bool described, int k,
                                 int i, Report& report)
{
    const size_t texts = context.demo.texts.size();
    auto out_of_range = [texts](int32_t index) { return index < 0 || size_t(index) >= texts; };
    if (!described)
        for (const ResourcePreload& resource : event_resource_preloads(context.demo, event))
            if (out_of_range(resource.textIndex))
                report.add("track %d, event %d: parameter %zu names text %d, but the document has %zu texts",
                           k, i, resource.param, int(resource.textIndex), texts);
    for (size_t p = 0; p < event.params.size(); ++p) {
        const Param& param = event.params[p];
        if ((param.kind == kParamBeat || param.kind == kParamLoops) && out_of_range(param.textIndex))
            report.add("track %d, event %d: parameter %zu (%s) names text %d, but the document has %zu texts",
                       k, i, p, param.kind == kParamBeat ? "beat" : "loops", int(param.textIndex), texts);
    }
}

// The parameters' values: by the effect's own description when its library has one, else by what the
// declaration marks. `texts` false: the document's texts are not all known (it was read only up to an XML
// error), so no text index is checked.
void check_params(CheckContext& context, const Event& event, bool texts, int k, int i, Report& report)
{
    const VortelEffectTable* table = nullptr;
    VortelEffectDescription effect{};
    const bool described = description_of(context, event, &table, &effect);
    if (described)
        check_described_params(context, event, *table, effect, texts, k, i, report);
    if (texts)
        check_declared_text_indices(context, event, described, k, i, report);
}

void check_quaternion_keys(const Event& event, int k, int i, Report& report)
{
    const std::vector<Param>& params = event.params;
    for (size_t p = 0; p < params.size(); ++p) {
        if (params[p].kind != kParamMulti || params[p].interpolation != kInterpolSqd)
            continue;
        bool ok = p + 3 < params.size();
        for (size_t c = 1; ok && c <= 3; ++c)
            ok =
                params[p + c].kind == kParamMulti && params[p + c].lengths.size() == params[p].lengths.size();
        if (!ok)
            report.add("track %d, event %d: parameter %zu (sqd) is not followed by three multi parameters "
                       "with the same number of segments (%zu)",
                       k, i, p, params[p].lengths.size());
        // The three components belong to this one.
        p += 3;
    }
}

void check_timing(const Track& track, int k, Report& report)
{
    uint32_t latestEnd = 0;
    int latest = -1;
    for (size_t n = 0; n < track.events.size(); ++n) {
        const Event& event = track.events[n];
        int i = int(n);
        if (event.unread)
            continue;
        if (event.endTime <= event.startTime) {
            report.add("track %d, event %d: ends at %u ms, not after its start at %u ms: it never plays", k,
                       i, event.endTime, event.startTime);
            continue;
        }
        if (n > 0 && !track.events[n - 1].unread && event.startTime < track.events[n - 1].startTime)
            report.add("track %d, event %d: starts at %u ms, before event %d (%u ms): a track's events must "
                       "be in time order",
                       k, i, event.startTime, i - 1, track.events[n - 1].startTime);
        else if (latest >= 0 && event.startTime < latestEnd)
            report.add("track %d, event %d: starts at %u ms while event %d still runs (until %u ms)", k, i,
                       event.startTime, latest, latestEnd);
        if (event.endTime > latestEnd) {
            latestEnd = event.endTime;
            latest = i;
        }
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Files
//-----------------------------------------------------------------------------

bool exists(const std::string& path, const std::string& folder)
{
    return access(existing_file(path, folder).c_str(), F_OK) == 0;
}

void check_setting_file(bool has, const std::string& file, const char* what, const std::string& folder,
                        Report& report)
{
    if (has && !file.empty() && !exists(file, folder))
        report.add("Settings: the %s '%s' does not exist", what, file.c_str());
}

void check_text_files(const CheckContext& context, const std::string& folder, Report& report)
{
    const std::vector<std::string>& texts = context.demo.texts;
    for (size_t n = 0; n < texts.size(); ++n) {
        const std::string& text = texts[n];
        const bool namesFile = looks_like_file_name(text) || context.fileTexts.count(int32_t(n));
        if (!namesFile || exists(text, folder))
            continue;
        if (SDL_RWops* packed = OpenFile(text.c_str())) {
            CloseFile(packed);
            continue;
        }
        report.add("text %zu: the file '%s' does not exist", n, text.c_str());
    }
}

} // namespace

bool looks_like_file_name(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (std::isspace(static_cast<unsigned char>(c)))
            return false;
    if (text.find('/') != std::string::npos)
        return true;
    size_t dot = text.rfind('.');
    if (dot == std::string::npos || dot == 0 || text.size() - dot - 1 < 1 || text.size() - dot - 1 > 8)
        return false;
    bool letter = false;
    for (size_t c = dot + 1; c < text.size(); ++c) {
        unsigned char ch = static_cast<unsigned char>(text[c]);
        if (!std::isalnum(ch))
            return false;
        letter = letter || std::isalpha(ch);
    }
    return letter;
}

std::vector<std::string> check_demo(Demo& demo, const LibrarySearch& search,
                                    const std::string& documentFolder, bool complete)
{
    Report report;
    CheckContext context{demo, {}, {}, {}};
    check_libraries(demo, search, context, report);
    collect_made_resources(context);
    for (size_t k = 0; k < demo.tracks.size(); ++k) {
        const Track& track = demo.tracks[k];
        for (size_t i = 0; i < track.events.size(); ++i) {
            const Event& event = track.events[i];
            if (event.unread)
                continue;
            check_binding(demo, event, int(k), int(i), report);
            check_params(context, event, complete, int(k), int(i), report);
            check_quaternion_keys(event, int(k), int(i), report);
        }
        check_timing(track, int(k), report);
    }
    check_setting_file(demo.hasInputMusicFile, demo.inputMusicFile, "music file", documentFolder, report);
    check_setting_file(demo.hasLoaderMusicFile, demo.loaderMusicFile, "loader music file", documentFolder,
                       report);
    check_setting_file(demo.hasDataFile, demo.dataFile, "data file", documentFolder, report);
    std::string dataFile = demo.hasDataFile ? existing_file(demo.dataFile, documentFolder) : "";
    open_data_file(demo.hasDataFile ? dataFile.c_str() : nullptr);
    set_media_folder(documentFolder);
    check_text_files(context, documentFolder, report);
    for (const std::string& problem : check_shaders(demo))
        report.add("%s", problem.c_str());
    set_media_folder("");
    open_data_file(nullptr);
    return report.lines;
}

//-----------------------------------------------------------------------------
// [SECTION] Entry
//-----------------------------------------------------------------------------

int run_check(const std::string& path)
{
    std::vector<std::string> problems;
    Demo demo;
    try {
        bool complete = load_demo_leniently(path.c_str(), demo, problems);
        std::string folder = folder_of(path);
        std::vector<std::string> found =
            check_demo(demo, LibrarySearch{folder, program_folder()}, folder, complete);
        problems.insert(problems.end(), found.begin(), found.end());
    } catch (const BasicException& e) {
        std::string message = e.message;
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        problems.push_back("document: " + message);
    }
    unload_libraries(demo);
    for (const std::string& line : problems) {
        std::printf("%s\n", line.c_str());
        log_printf("%s\n", line.c_str());
    }
    char summary[512];
    if (problems.empty())
        std::snprintf(summary, sizeof(summary), "%s: no problems found\n", path.c_str());
    else
        std::snprintf(summary, sizeof(summary), "%s: %zu problem%s found\n", path.c_str(), problems.size(),
                      problems.size() == 1 ? "" : "s");
    std::fputs(summary, stdout);
    Log(summary);
    std::fflush(stdout);
    return problems.empty() ? 0 : 1;
}
