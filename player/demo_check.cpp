// [SECTION] Libraries
// [SECTION] Events
// [SECTION] Files
// [SECTION] Entry
#include "demo_check.h"

#include <SDL.h>
#include <SDL_loadso.h>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <unistd.h>

#include "data_file.h"
#include "demo_loader.h"
#include "error_log.h"

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

//-----------------------------------------------------------------------------
// [SECTION] Libraries
//-----------------------------------------------------------------------------

void check_libraries(Demo& demo, const LibrarySearch& search, Report& report)
{
    for (LibraryRecord& library : demo.libraries) {
        const char* name = library.fileName.c_str();
        library.handle = open_library(library.fileName, search);
        if (!library.handle) {
            report.add("library '%s': cannot be loaded", name);
            continue;
        }
        for (const char* entry : {VORTEL_INIT_NAME, VORTEL_QUIT_NAME, VORTEL_BEGIN_NEW_FRAME_NAME})
            if (!SDL_LoadFunction(library.handle, entry))
                report.add("library '%s': exports no %s", name, entry);
        for (FunctionDeclaration& function : library.functions) {
            function.function =
                reinterpret_cast<EffectFn>(SDL_LoadFunction(library.handle, function.name.c_str()));
            if (!function.function)
                report.add("library '%s': declares '%s', which it does not export", name,
                           function.name.c_str());
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

// The declaration binding uses: the first library with the event's FileName that declares the function.
const FunctionDeclaration* declaration_of(const Demo& demo, const Event& event)
{
    for (const LibraryRecord& library : demo.libraries) {
        if (library.fileName != event.libraryFileName)
            continue;
        for (const FunctionDeclaration& function : library.functions)
            if (function.name == event.functionName)
                return &function;
    }
    return nullptr;
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

void check_text_indices(const Demo& demo, const Event& event, int k, int i, Report& report)
{
    const size_t texts = demo.texts.size();
    auto out_of_range = [texts](int32_t index) { return index < 0 || size_t(index) >= texts; };
    for (const ResourcePreload& resource : event_resource_preloads(demo, event))
        if (out_of_range(resource.textIndex))
            report.add("track %d, event %d: parameter %zu names text %d, but the document has %zu texts", k,
                       i, resource.param, int(resource.textIndex), texts);
    for (size_t p = 0; p < event.params.size(); ++p) {
        const Param& param = event.params[p];
        if ((param.kind == kParamBeat || param.kind == kParamLoops) && out_of_range(param.textIndex))
            report.add("track %d, event %d: parameter %zu (%s) names text %d, but the document has %zu texts",
                       k, i, p, param.kind == kParamBeat ? "beat" : "loops", int(param.textIndex), texts);
    }
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
        if (event.endTime <= event.startTime) {
            report.add("track %d, event %d: ends at %u ms, not after its start at %u ms: it never plays", k,
                       i, event.endTime, event.startTime);
            continue;
        }
        if (n > 0 && event.startTime < track.events[n - 1].startTime)
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

void check_text_files(const Demo& demo, const std::string& folder, Report& report)
{
    for (size_t n = 0; n < demo.texts.size(); ++n) {
        const std::string& text = demo.texts[n];
        if (!looks_like_file_name(text) || exists(text, folder))
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
                                    const std::string& documentFolder)
{
    Report report;
    check_libraries(demo, search, report);
    for (size_t k = 0; k < demo.tracks.size(); ++k) {
        const Track& track = demo.tracks[k];
        for (size_t i = 0; i < track.events.size(); ++i) {
            const Event& event = track.events[i];
            check_binding(demo, event, int(k), int(i), report);
            check_text_indices(demo, event, int(k), int(i), report);
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
    check_text_files(demo, documentFolder, report);
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
        load_demo(path.c_str(), demo);
        std::string folder = folder_of(path);
        problems = check_demo(demo, LibrarySearch{folder, program_folder()}, folder);
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
