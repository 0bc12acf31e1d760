// The effect libraries of a demo: loading them as shared objects, binding events to their functions,
// and calling their entry points at start-up, every frame and at shutdown.
//
// Pairing: load_libraries -> bind_events -> init_libraries -> (begin_new_frame per frame) -> quit_libraries
// -> unload_libraries. Main thread only.
#pragma once

#include <string>

#include "demo_model.h"

struct SDL_Surface;

// Where a library FileName without "/" is looked for, in this order: next to the demo document, next to
// the player, then as given (the dynamic loader's own search). A FileName ending in ".dll" is also tried
// with ".so" in its place at every one of those places. Empty folders are skipped.
struct LibrarySearch {
    std::string demoFolder;
    std::string playerFolder;
};

// The folder holding the demo document (no trailing "/"; "." for a bare file name), and the folder
// holding the running program.
std::string folder_of(const std::string& path);
std::string program_folder();

// A media file named in the document: `path` itself when it exists (or is absolute, or there is no
// other folder), else otherFolder/path when that exists, else `path`.
std::string existing_file(const std::string& path, const std::string& otherFolder);

// Opens one library file as load_libraries does (see LibrarySearch); null when it cannot be loaded, with
// the dynamic loader's reason in *reason when given (for the file found, else for the name as written).
void* open_library(const std::string& fileName, const LibrarySearch& search, std::string* reason = nullptr);

// Loads every library of the demo in document order, looks up its entry points and its declared
// functions (FunctionDeclaration::function). Throws BasicException at the first failure; libraries
// loaded until then stay loaded (unload_libraries releases them).
void load_libraries(Demo& demo, const LibrarySearch& search);

// Gives `next` (a document read again) the libraries `current` has loaded and initialised: the same
// handles and entry points, and the functions `next` declares looked up in them. Throws BasicException
// when `next` does not name the same libraries in the same order or declares a function a library does
// not export. `current` is left as it was; only one of the two may be unloaded.
void share_libraries(Demo& next, const Demo& current);

// Binds every event to the first library with the event's FileName that declares its function. Names
// are compared exactly as written in the document. Throws BasicException for an event nothing matches.
void bind_events(Demo& demo);

// Calls Vortel_Init of every library in document order (verbose progress lines in the log). Stops at the
// first library that refuses and returns false then; the surfaces and services must outlive Vortel_Quit.
bool init_libraries(Demo& demo, SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                    ServicesStruct* services);

// Vortel_BeginNewFrame(0) of every library, in document order.
void begin_new_frame(const Demo& demo);

// Vortel_Quit of every loaded library, in document order.
void quit_libraries(const Demo& demo);

// Unloads every library still loaded, each exactly once, and forgets its entry points and the functions
// bound from it (events included). Safe to call again; call it before the demo model is freed.
void unload_libraries(Demo& demo);
