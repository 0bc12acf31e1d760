// Loading, binding, initialising and unloading real plug-ins (the probe and its variants).
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "error_log.h"
#include "probe_demo.h"

namespace
{

const std::string kBin = VORTEL_BIN_DIR;

std::string message_of(Demo& demo, const LibrarySearch& search = {kBin, ""})
{
    try {
        load_libraries(demo, search);
        bind_events(demo);
    } catch (const BasicException& e) {
        unload_libraries(demo);
        return e.message;
    }
    unload_libraries(demo);
    return "";
}

Demo demo_of(std::vector<LibraryRecord> libraries, std::vector<Event> events = std::vector<Event>())
{
    Demo demo;
    demo.libraries = std::move(libraries);
    demo.tracks.resize(1);
    demo.tracks[0].events = std::move(events);
    return demo;
}

bool is_loaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void copy_file(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
}

} // namespace

TEST(LibraryLoading, FindsEntryPointsAndDeclaredFunctions)
{
    Demo demo = demo_of({probe_library("Probe.so", {"Probe", "ProbeNone"})});
    load_libraries(demo, {kBin, ""});
    const LibraryRecord& library = demo.libraries[0];
    EXPECT_NE(library.handle, nullptr);
    EXPECT_NE(library.init, nullptr);
    EXPECT_NE(library.beginNewFrame, nullptr);
    EXPECT_NE(library.quit, nullptr);
    EXPECT_NE(library.updateParam, nullptr);
    EXPECT_EQ(library.functions[1].function,
              reinterpret_cast<EffectFn>(SDL_LoadFunction(library.handle, "ProbeNone")));
    unload_libraries(demo);
    EXPECT_EQ(library.handle, nullptr);
    EXPECT_EQ(library.functions[1].function, nullptr);
}

TEST(LibraryLoading, FailuresNameTheFirstMissingPiece)
{
    Demo missing = demo_of({probe_library("Nowhere.so", {})});
    EXPECT_EQ(message_of(missing), "Couldn't load library 'Nowhere.so'!\n");
    Demo noInit = demo_of({probe_library("ProbeNoInit.so", {})});
    EXPECT_EQ(message_of(noInit), "Couldn't load function 'Vortel_Init' from library 'ProbeNoInit.so'!\n");
    // Vortel_BeginNewFrame is missing as well, but Vortel_Quit is looked up first.
    Demo noQuit = demo_of({probe_library("ProbeNoQuit.so", {})});
    EXPECT_EQ(message_of(noQuit), "Couldn't load function 'Vortel_Quit' from library 'ProbeNoQuit.so'!\n");
    Demo undeclared = demo_of({probe_library("Probe.so", {"Probe", "NoSuchEffect", "AlsoMissing"})});
    EXPECT_EQ(message_of(undeclared), "Couldn't load function 'NoSuchEffect' from library 'Probe.so'!\n");

    // A failure stops loading: later libraries are not touched, earlier ones stay loaded until unloaded.
    Demo partly = demo_of({probe_library("ProbeNoUpdate.so", {}), probe_library("Nowhere.so", {}),
                           probe_library("Probe.so", {})});
    EXPECT_THROW(load_libraries(partly, {kBin, ""}), BasicException);
    EXPECT_NE(partly.libraries[0].handle, nullptr);
    EXPECT_EQ(partly.libraries[2].handle, nullptr);
    unload_libraries(partly);
    EXPECT_FALSE(is_loaded(kBin + "/ProbeNoUpdate.so"));
}

TEST(LibraryLoading, OptionalUpdateParamMayBeMissing)
{
    Demo demo = demo_of({probe_library("ProbeNoUpdate.so", {"Probe"})});
    load_libraries(demo, {kBin, ""});
    EXPECT_NE(demo.libraries[0].handle, nullptr);
    EXPECT_EQ(demo.libraries[0].updateParam, nullptr);
    unload_libraries(demo);
}

TEST(LibraryLoading, LooksNextToTheDemoThenTheProgramThenAsGivenAndAcceptsDllNames)
{
    // A folder holding a "Probe.so" that is really the variant without Vortel_UpdateParam.
    const std::string demoFolder = "lookup_demo";
    mkdir(demoFolder.c_str(), 0755);
    copy_file(kBin + "/ProbeNoUpdate.so", demoFolder + "/Probe.so");

    Demo nextToDemo = demo_of({probe_library("Probe.dll", {})});
    load_libraries(nextToDemo, {demoFolder, kBin});
    EXPECT_EQ(nextToDemo.libraries[0].updateParam, nullptr) << "the demo's folder comes first";
    unload_libraries(nextToDemo);

    Demo nextToProgram = demo_of({probe_library("Probe.dll", {})});
    load_libraries(nextToProgram, {"no_such_folder", kBin});
    EXPECT_NE(nextToProgram.libraries[0].updateParam, nullptr);
    unload_libraries(nextToProgram);

    Demo withPath = demo_of({probe_library(kBin + "/Probe.dll", {})});
    load_libraries(withPath, {demoFolder, ""});
    EXPECT_NE(withPath.libraries[0].updateParam, nullptr) << "a name with a folder is used as given";
    unload_libraries(withPath);

    EXPECT_EQ(folder_of("demos/show.xml"), "demos");
    EXPECT_EQ(folder_of("show.xml"), ".");
    EXPECT_EQ(folder_of("/show.xml"), "/");
}

TEST(EventBinding, BindsToTheFirstLibraryWithThatNameDeclaringTheFunction)
{
    // The same file listed twice: the event binds to the second listing, the first that declares it.
    Demo demo = demo_of({probe_library("Probe.so", {"Probe"}), probe_library("Probe.so", {"ProbeNone"})},
                        event_list(probe_event("ProbeNone", 0, 10, {}), probe_event("Probe", 0, 10, {1})));
    load_libraries(demo, {kBin, ""});
    bind_events(demo);
    EXPECT_NE(demo.libraries[1].handle, nullptr);
    EXPECT_EQ(demo.tracks[0].events[0].function, demo.libraries[1].functions[0].function);
    EXPECT_EQ(demo.tracks[0].events[1].function, demo.libraries[0].functions[0].function);
    unload_libraries(demo);
    EXPECT_EQ(demo.tracks[0].events[0].function, nullptr);
    EXPECT_FALSE(is_loaded(kBin + "/ProbeNoUpdate.so"));
}

TEST(EventBinding, UnmatchedEventsNameTheirTrackAndIndex)
{
    // ProbeFalse is exported by the plug-in but not declared: declarations decide.
    Demo undeclared = demo_of({probe_library("Probe.so", {"Probe"})});
    undeclared.tracks.resize(3);
    undeclared.tracks[2].events =
        event_list(probe_event("Probe", 0, 10, {1}), probe_event("ProbeFalse", 10, 20, {1}));
    EXPECT_EQ(message_of(undeclared), "Couldn't match event 1's function 'ProbeFalse' for library 'Probe.so' "
                                      "to available libraries in track 2");

    // Names compare exactly as written: no case folding, no ".dll" to ".so" mapping.
    Demo otherCase = demo_of({probe_library("Probe.so", {"Probe"})},
                             event_list(probe_event("Probe", 0, 10, {1}, "probe.so")));
    EXPECT_EQ(
        message_of(otherCase),
        "Couldn't match event 0's function 'Probe' for library 'probe.so' to available libraries in track 0");
    Demo dllName = demo_of({probe_library("Probe.so", {"Probe"})},
                           event_list(probe_event("Probe", 0, 10, {1}, "Probe.dll")));
    EXPECT_NE(message_of(dllName).find("for library 'Probe.dll'"), std::string::npos);
}

TEST(LibraryLifecycle, InitialisesInOrderStopsAtARefusalAndUnloadsEachOnce)
{
    log_open("library_lifecycle.log");
    log_set_verbose(true);
    Demo demo = demo_of({probe_library("ProbeNoUpdate.so", {}), probe_library("ProbeNoUpdate.so", {})});
    {
        ProbeSession session(demo);
        EXPECT_TRUE(session.initialised());
        begin_new_frame(demo);
        quit_libraries(demo);
        EXPECT_EQ(probe_log(), (std::vector<std::string>{"probe Vortel_Init\n", "probe Vortel_Init\n",
                                                         "probe Vortel_BeginNewFrame 0\n",
                                                         "probe Vortel_BeginNewFrame 0\n",
                                                         "probe Vortel_Quit\n", "probe Vortel_Quit\n"}));
    }
    // Two listings of one file hold two references: both are dropped, once each.
    EXPECT_FALSE(is_loaded(kBin + "/ProbeNoUpdate.so"));
    unload_libraries(demo);

    Demo refusing = demo_of({probe_library("ProbeNoUpdate.so", {}), probe_library("ProbeNoUpdate.so", {})});
    refusing.texts = {"probe:fail-init"};
    {
        ProbeSession session(refusing);
        EXPECT_FALSE(session.initialised());
        EXPECT_EQ(probe_log(), (std::vector<std::string>{"probe Vortel_Init\n"}));
    }
    log_set_verbose(false);
    log_close();
    EXPECT_EQ(read_file("library_lifecycle.log"), "Initializing lib ProbeNoUpdate.so ... \n"
                                                  "Initializing lib ProbeNoUpdate.so ... \n"
                                                  "Initializing lib ProbeNoUpdate.so ... \n"
                                                  " *** Library ProbeNoUpdate.so failed init! \n");
}
