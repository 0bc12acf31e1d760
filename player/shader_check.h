// --check's look at the fragment shaders a document names: the shader file of every ShaderQuad and
// ShaderPost event of Shaders.so whose `shader` parameter is a constant text index, each file once,
// compiled offline with glslangValidator in the form Shaders.so compiles it (glsl/shader_source.h).
//
// Files are opened with OpenFile (the data file, then the working folder, then the media folder); one the
// player cannot open is left to the document check, which reports missing files. Each compiler message
// is one problem, "FILE:LINE: message" with the line of the author's file. Without glslangValidator
// there is one problem saying so. Main thread only (OpenFile).
#pragma once

#include <string>
#include <vector>

#include "demo_model.h"

std::vector<std::string> check_shaders(const Demo& demo);

// Appends to `messages` what glslangValidator says about one fragment shader `source` (already
// wrapped), named `file` in them; nothing when it compiles. `validator` is the program to run. False, with
// one message saying so, when it cannot be run.
bool validate_fragment_shader(const std::string& source, const std::string& file,
                              std::vector<std::string>& messages,
                              const std::string& validator = "glslangValidator");
