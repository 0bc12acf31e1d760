// Demos built in code around the probe plug-in (Probe.so, see probe_plugin.cpp), and a log sink that
// keeps what plug-ins write, for the timeline, library host and registry tests.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "demo_model.h"
#include "library_host.h"
#include "services.h"

// Everything written through the services record's Log, one entry per call.
inline std::vector<std::string>& probe_log()
{
    static std::vector<std::string> lines;
    return lines;
}
inline void probe_log_sink(const char* text)
{
    probe_log().push_back(text);
}

inline Param constant_param(int32_t value)
{
    Param param;
    param.kind = kParamConstant;
    param.value = value;
    return param;
}

// An event of library `library` calling `function` from start to end (ms) with constant words.
inline Event probe_event(const std::string& function, uint32_t start, uint32_t end,
                         const std::vector<int32_t>& words, const std::string& library = "Probe.so")
{
    Event event;
    event.startTime = start;
    event.endTime = end;
    event.libraryFileName = library;
    event.functionName = function;
    for (int32_t word : words)
        event.params.push_back(constant_param(word));
    return event;
}

// A Probe event whose log lines end in "args=[3 0 <tag>]"; flags as in probe_plugin.cpp.
inline Event tagged_event(uint32_t start, uint32_t end, int32_t tag, int32_t flags = 0)
{
    return probe_event("Probe", start, end, {3, flags, tag});
}

// Events and tracks hold parameters that can only be moved: these build lists of them.
template <typename... E> std::vector<Event> event_list(E... events)
{
    std::vector<Event> list;
    (list.push_back(std::move(events)), ...);
    return list;
}

template <typename... E> Track track(E... events)
{
    Track result;
    result.events = event_list(std::move(events)...);
    return result;
}

inline LibraryRecord probe_library(const std::string& fileName, const std::vector<std::string>& functions)
{
    LibraryRecord library;
    library.fileName = fileName;
    for (const std::string& name : functions)
        library.functions.push_back({name, {}, nullptr});
    return library;
}

inline LibraryRecord full_probe_library()
{
    return probe_library("Probe.so", {"Probe", "ProbeFalse", "ProbeStore", "ProbeNone", "ProbeMany",
                                      "ProbeLoader", "ProbeAcquire"});
}

// Loads, binds and initialises the demo's libraries from the build's bin folder with a services record
// whose Log is probe_log_sink; unloads them when it goes.
class ProbeSession
{
public:
    explicit ProbeSession(Demo& demo) : demo_(demo)
    {
        // Keeps Probe.so mapped for the whole test program: the registry never forgets the handlers a
        // probe registered, so they must stay callable after a session unloads its libraries.
        static void* pinned = SDL_LoadObject(VORTEL_BIN_DIR "/Probe.so");
        (void)pinned;
        probe_log().clear();
        services_fill(&services_, nullptr);
        services_.Log = probe_log_sink;
        set_texts(&demo_.texts);
        load_libraries(demo_, LibrarySearch{VORTEL_BIN_DIR, ""});
        bind_events(demo_);
        initialised_ = init_libraries(demo_, outputs_, nullptr, &services_);
    }
    ~ProbeSession()
    {
        unload_libraries(demo_);
        set_texts(nullptr);
    }
    bool initialised() const { return initialised_; }
    ServicesStruct& services() { return services_; }

private:
    Demo& demo_;
    ServicesStruct services_{};
    SDL_Surface* outputs_[2] = {nullptr, nullptr};
    bool initialised_ = false;
};
