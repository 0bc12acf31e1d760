#include "library_host.h"

#include <SDL.h>
#include <SDL_loadso.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <vortel/log_text.h>

#include "error_log.h"

namespace
{

bool is_file(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ends_with(const std::string& text, const char* suffix)
{
    size_t length = std::char_traits<char>::length(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// The names to try for one FileName: as written, then with ".so" for ".dll".
std::vector<std::string> name_variants(const std::string& fileName)
{
    std::vector<std::string> names{fileName};
    if (ends_with(fileName, ".dll"))
        names.push_back(fileName.substr(0, fileName.size() - 4) + ".so");
    return names;
}

// Why SDL_LoadObject(path) just failed: the dynamic loader's own text, without SDL's "Failed loading
// PATH: " in front of it.
std::string loader_reason(const std::string& path)
{
    std::string reason = SDL_GetError();
    const std::string prefix = "Failed loading " + path + ": ";
    if (reason.compare(0, prefix.size(), prefix) == 0)
        reason.erase(0, prefix.size());
    return reason;
}

template <typename Fn> Fn find_function(void* handle, const char* name)
{
    return reinterpret_cast<Fn>(SDL_LoadFunction(handle, name));
}

[[noreturn]] void missing_function(const char* name, const std::string& fileName)
{
    throw BasicException::format("Couldn't load function '%s' from library '%s'!\n",
                                 vortel::LogName(name).c_str(), vortel::LogName(fileName.c_str()).c_str());
}

void find_declared_functions(LibraryRecord& library)
{
    for (FunctionDeclaration& function : library.functions) {
        function.function = find_function<EffectFn>(library.handle, function.name.c_str());
        if (!function.function)
            missing_function(function.name.c_str(), library.fileName);
    }
}

void load_library(LibraryRecord& library, const LibrarySearch& search)
{
    library.handle = open_library(library.fileName, search);
    if (!library.handle)
        throw BasicException::format("Couldn't load library '%s'!\n",
                                     vortel::LogName(library.fileName.c_str()).c_str());
    // SDL_LoadFunction reports a missing symbol through SDL_SetError only; the messages below are ours.
    library.init = find_function<VortelInitFn>(library.handle, VORTEL_INIT_NAME);
    if (!library.init)
        missing_function(VORTEL_INIT_NAME, library.fileName);
    library.quit = find_function<VortelQuitFn>(library.handle, VORTEL_QUIT_NAME);
    if (!library.quit)
        missing_function(VORTEL_QUIT_NAME, library.fileName);
    library.beginNewFrame = find_function<VortelBeginNewFrameFn>(library.handle, VORTEL_BEGIN_NEW_FRAME_NAME);
    if (!library.beginNewFrame)
        missing_function(VORTEL_BEGIN_NEW_FRAME_NAME, library.fileName);
    library.updateParam = SDL_LoadFunction(library.handle, VORTEL_UPDATE_PARAM_NAME);
    find_declared_functions(library);
}

EffectFn find_bound_function(const Demo& demo, const Event& event)
{
    for (const LibraryRecord& library : demo.libraries) {
        if (library.fileName != event.libraryFileName)
            continue;
        for (const FunctionDeclaration& function : library.functions) {
            if (function.name == event.functionName && function.function)
                return function.function;
        }
    }
    return nullptr;
}

} // namespace

std::string folder_of(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string program_folder()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return std::string();
    path[length] = '\0';
    return folder_of(path);
}

void* open_library(const std::string& fileName, const LibrarySearch& search, std::string* reason)
{
    const std::vector<std::string> names = name_variants(fileName);
    if (fileName.find('/') == std::string::npos) {
        for (const std::string* folder : {&search.demoFolder, &search.playerFolder}) {
            if (folder->empty())
                continue;
            for (const std::string& name : names) {
                std::string path = *folder + "/" + name;
                if (!is_file(path))
                    continue;
                void* handle = SDL_LoadObject(path.c_str());
                // A file that is there but does not load is the user's problem to see: say why.
                if (!handle) {
                    std::string why = loader_reason(path);
                    log_printf("%s\n", why.c_str());
                    if (reason)
                        *reason = why;
                }
                return handle;
            }
        }
    }
    std::string firstFailure;
    for (const std::string& name : names) {
        if (void* handle = SDL_LoadObject(name.c_str()))
            return handle;
        if (firstFailure.empty())
            firstFailure = loader_reason(name);
    }
    if (reason)
        *reason = firstFailure;
    return nullptr;
}

std::string existing_file(const std::string& path, const std::string& otherFolder)
{
    if (path.empty() || path[0] == '/' || access(path.c_str(), F_OK) == 0 || otherFolder.empty())
        return path;
    std::string beside = otherFolder + "/" + path;
    return access(beside.c_str(), F_OK) == 0 ? beside : path;
}

void load_libraries(Demo& demo, const LibrarySearch& search)
{
    for (LibraryRecord& library : demo.libraries)
        load_library(library, search);
}

void share_libraries(Demo& next, const Demo& current)
{
    bool same = next.libraries.size() == current.libraries.size();
    for (size_t i = 0; same && i < next.libraries.size(); ++i)
        same = next.libraries[i].fileName == current.libraries[i].fileName;
    if (!same)
        throw BasicException("The document names other libraries than the one playing: restart the player "
                             "to load them.\n");
    for (size_t i = 0; i < next.libraries.size(); ++i) {
        LibraryRecord& library = next.libraries[i];
        const LibraryRecord& loaded = current.libraries[i];
        library.handle = loaded.handle;
        library.init = loaded.init;
        library.beginNewFrame = loaded.beginNewFrame;
        library.quit = loaded.quit;
        library.updateParam = loaded.updateParam;
        if (library.handle)
            find_declared_functions(library);
    }
}

void bind_events(Demo& demo)
{
    for (size_t k = 0; k < demo.tracks.size(); ++k) {
        std::vector<Event>& events = demo.tracks[k].events;
        for (size_t i = 0; i < events.size(); ++i) {
            Event& event = events[i];
            event.function = find_bound_function(demo, event);
            if (!event.function)
                throw BasicException::format("Couldn't match event %d's function '%s' for library '%s' to "
                                             "available libraries in track %d",
                                             int(i), vortel::LogName(event.functionName.c_str()).c_str(),
                                             vortel::LogName(event.libraryFileName.c_str()).c_str(), int(k));
        }
    }
}

bool init_libraries(Demo& demo, SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                    ServicesStruct* services)
{
    for (LibraryRecord& library : demo.libraries) {
        const vortel::LogName name(library.fileName.c_str());
        log_verbose("Initializing lib %s ... \n", name.c_str());
        if (!library.init || !library.init(outputSurfaces, inputSurfaces, services)) {
            log_verbose(" *** Library %s failed init! \n", name.c_str());
            return false;
        }
    }
    return true;
}

void begin_new_frame(const Demo& demo)
{
    for (const LibraryRecord& library : demo.libraries) {
        if (library.beginNewFrame)
            library.beginNewFrame(0);
    }
}

void quit_libraries(const Demo& demo)
{
    for (const LibraryRecord& library : demo.libraries) {
        if (library.quit)
            library.quit();
    }
}

void unload_libraries(Demo& demo)
{
    // Events bound into a library must not outlive it.
    for (Track& track : demo.tracks)
        for (Event& event : track.events)
            event.function = nullptr;
    for (LibraryRecord& library : demo.libraries) {
        if (library.handle)
            SDL_UnloadObject(library.handle);
        library.handle = nullptr;
        library.init = nullptr;
        library.beginNewFrame = nullptr;
        library.quit = nullptr;
        library.updateParam = nullptr;
        for (FunctionDeclaration& function : library.functions)
            function.function = nullptr;
    }
}
