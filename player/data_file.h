// The packed data file: media packed into one file, kept in memory and served to plug-ins through
// OpenFile; and the "RSRC" resource declarations that drive resource preloading.
//
// File layout (text header, then raw bytes):
//   a word beginning with "7F"; the member count N and the content size S (both > 0);
//   N lines "name size" (name without blanks, at most 511 characters; size >= 0);
//   one byte (the line end), then S bytes: the members back to back in header order, and unused bytes
//   up to S when the members hold fewer;
//   optionally a number after the content, which is ignored.
// A file that does not begin with "7F", or that is missing, means no data file, silently. One that does
// but whose header does not hold (members larger than S, a file that ends before its members, a number
// that does not fit), one that is not a regular file or one larger than a data file can be is refused
// with one line in the log. Either way files are then read from disk.
//
// Process-wide, main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo_model.h"

struct SDL_RWops;

// Reads the data file at `path` (null: no data file) and keeps it in memory, freeing the previous one
// first. Registers the 'FILE' resource type (FileAcquire / FileRelease) with the registry on the first
// call, so nobody else needs to. Returns whether a data file is now in use.
bool open_data_file(const char* path);

// Opens a file for reading: the first member whose name equals `name` in upper case (names are
// compared in upper case, directory separators as written) is served from memory and stays valid until
// the next open_data_file; otherwise the file is opened from disk with the name as given, and a relative
// name missing from the working folder is tried in the media folder (set_media_folder). Only regular
// files are opened from disk: a device, a pipe or a folder gets "OpenFile: NAME is not a regular file;
// it is not read" in the log, once per call.
// Returns null when none has it. Every stream returned must be closed with CloseFile.
SDL_RWops* OpenFile(const char* name);
// The folder of the demo document, so a demo finds the files it names beside itself whatever folder it is
// started from, as it finds its music and data file. Empty: only the working folder.
void set_media_folder(const std::string& folder);
void CloseFile(SDL_RWops* file);

// The 'FILE' resource handlers: acquire returns OpenFile(name) and writes true (static) through outFlag;
// release closes the stream with CloseFile and returns true.
void* FileAcquire(const char* name, void* userData, bool* outFlag);
bool FileRelease(const char* name, void* resource);

// The resource type a declared parameter name asks to preload: the four characters after the first
// "RSRC" that has at least four characters after it (first character in the most significant byte).
// Returns false when the name holds no such declaration (names shorter than 8 never do).
bool declared_resource_type(const std::string& paramName, uint32_t* type);

// One resource an event asks to have loaded before the first frame.
struct ResourcePreload {
    size_t param;         // index of the constant parameter in the event
    uint32_t type;        // resource type code
    int32_t textIndex;    // the constant's value: the Texts index naming the resource
    int32_t userDataWord; // first data word of the next parameter (0 when there is none): pass its
                          // address as userData to AcquireByIndex
};

// The preloads of one event, in parameter order: every constant parameter whose declared name holds a
// resource declaration. The declaration is that of the first function named like the event's
// FunctionName over all libraries and their functions in document order (the event's LibraryFileName is
// not consulted); parameters past the declared names have none.
std::vector<ResourcePreload> event_resource_preloads(const Demo& demo, const Event& event);
