#include "shader_check.h"

#include "compiler_messages.h"
#include "data_file.h"
#include "shader_source.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr const char* kLibrary = "Shaders.so";
constexpr int64_t kLargestShader = 1 << 20;
constexpr int kNotFound = 127; // the shell's status for a program it cannot find

bool names_shader_effect(const Event& event)
{
    // The library as the document names it: a bare file name or a path ending in it.
    const std::string& file = event.libraryFileName;
    const size_t name = file.rfind('/') == std::string::npos ? 0 : file.rfind('/') + 1;
    return file.compare(name, std::string::npos, kLibrary) == 0 &&
           (event.functionName == "ShaderQuad" || event.functionName == "ShaderPost") &&
           !event.params.empty() && event.params[0].kind == kParamConstant;
}

// The whole of a file OpenFile serves, false when it cannot open it or it is larger than a shader can be.
bool read_source(const std::string& name, std::string& text)
{
    SDL_RWops* file = OpenFile(name.c_str());
    if (!file)
        return false;
    const int64_t size = SDL_RWseek(file, 0, RW_SEEK_END);
    bool ok = size >= 0 && size <= kLargestShader && SDL_RWseek(file, 0, RW_SEEK_SET) == 0;
    if (ok) {
        text.assign(size_t(size), '\0');
        ok = size == 0 || SDL_RWread(file, &text[0], 1, int(size)) == int(size);
    }
    CloseFile(file);
    return ok;
}

// Runs `command` (whose words hold no character the shell would read: the temporary name is ours) and
// returns its status as pclose gives it, -1 when it cannot be started; its output replaces `output`.
int run_validator(const std::string& command, std::string& output)
{
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, n);
    return pclose(pipe);
}

} // namespace

bool validate_fragment_shader(const std::string& source, const std::string& file,
                              std::vector<std::string>& messages, const std::string& validator)
{
    char path[] = "/tmp/vortel-shader-XXXXXX.frag";
    const int fd = mkstemps(path, 5);
    const bool written = fd >= 0 && write(fd, source.data(), source.size()) == ssize_t(source.size());
    if (fd >= 0)
        close(fd);
    if (!written) {
        unlink(path);
        messages.push_back(file + ": cannot write a temporary file to check it");
        return true;
    }
    // Compiled first, then linked (which finds a missing mainImage) only when it compiles, so that a
    // compile error does not also bring the linker's view of it.
    std::string output;
    int status = run_validator(validator + " " + path, output);
    if (status == 0)
        status = run_validator(validator + " -l " + path, output);
    unlink(path);
    if (status == -1 || (WIFEXITED(status) && WEXITSTATUS(status) == kNotFound)) {
        messages.push_back("shaders not checked: " + validator + " (glslang-tools) cannot be run");
        return false;
    }
    if (status == 0)
        return true;
    // glslangValidator names the file first, on a line of its own, and then as the source of each message
    // where the compilers name the source string: 0.
    const std::string temporary = path;
    const size_t echo = output.find(temporary + "\n");
    if (echo != std::string::npos)
        output.erase(echo, temporary.size() + 1);
    for (size_t at = output.find(temporary + ":"); at != std::string::npos;
         at = output.find(temporary + ":", at))
        output.replace(at, temporary.size(), "0");
    for (std::string& message : glsl::compiler_messages(output, file))
        messages.push_back(std::move(message));
    return true;
}

std::vector<std::string> check_shaders(const Demo& demo)
{
    std::vector<std::string> problems;
    std::set<std::string> checked;
    for (const Track& track : demo.tracks)
        for (const Event& event : track.events) {
            if (event.unread || !names_shader_effect(event))
                continue;
            const int32_t index = event.params[0].value;
            if (index < 0 || size_t(index) >= demo.texts.size())
                continue;
            const std::string& name = demo.texts[size_t(index)];
            std::string source;
            if (!checked.insert(name).second || !read_source(name, source))
                continue;
            if (!validate_fragment_shader(glsl::fragment_shader(source), name, problems))
                return problems;
        }
    return problems;
}
