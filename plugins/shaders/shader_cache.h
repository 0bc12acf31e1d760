// The shaders of a run, one per file name, shared by every event that names the file and kept until
// Vortel_Quit. Keeping them is what lets the last program that built stay on screen when the file later
// breaks, also across the player's own reload of the document in --dev, which starts every event afresh.
//
// Contracts
//  - shader_for(name, effect) reads and builds the file the first time it is named; later it rebuilds
//    only when the file changed on disk since it was last read. Null when `name` is null.
//  - rebuild() reads the file again and builds it. On success the new program replaces the old one and
//    "EFFECT: FILE: reloaded" is logged; on failure the old program stays and `errors` (or `readError`)
//    says why.
//  - release_shaders() frees them all (Vortel_Quit, GL context current).
#pragma once

#include "shader_file.h"
#include "shader_program.h"

#include <string>

namespace shaders
{

struct CachedShader {
    ShaderFile file;
    ShaderProgram program;    // the last one that built
    std::string readError;    // why the file could not be read the last time, empty when it could
    std::string errors;       // the compiler's messages of the last build, empty when it built
    bool toldByWatch = false; // the last failure was logged by a running event that saw the change

    bool failed() const { return !readError.empty() || !errors.empty(); }
    // The one log line of the last failure.
    void tell_failure(const char* effect) const;
    void rebuild(const char* effect);
};

CachedShader* shader_for(const char* name, const char* effect);
void release_shaders();

} // namespace shaders
