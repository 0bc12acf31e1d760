// Compiler and linker logs (Mesa's and glslangValidator's) turned into "file:line: message" lines, the
// line counted in the author's file (the mainImage wrapper resets the count with #line).
#pragma once

#include <string>
#include <vector>

namespace glsl
{

// One entry per message of `log`, "file:line: message" (or "file: message" for one without a line,
// such as a link error). Lines that carry no message of their own (glslangValidator's "compilation
// terminated" and its error count) are left out. Never empty for a non-blank log.
std::vector<std::string> compiler_messages(const std::string& log, const std::string& file);

// The messages of `log` joined with "; ", for one line of the error log.
std::string joined_messages(const std::string& log, const std::string& file);

} // namespace glsl
