#include "shader_file.h"

#include <vortel/plugin_helper.h>

#include <SDL.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace shaders
{

namespace
{

// Whether `file` reads a stdio stream (a file on disk) rather than memory (the data file): the stream
// functions are SDL's own for each kind, so a probe stream tells them apart.
bool reads_stdio(const SDL_RWops* file)
{
    SDL_RWops* probe = SDL_RWFromFP(stdin, 0);
    const bool stdio = probe && file->seek == probe->seek;
    if (probe)
        SDL_FreeRW(probe);
    return stdio;
}

// The path of the file behind an open stdio stream, empty when it cannot be told.
std::string path_of(SDL_RWops* file)
{
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(file->hidden.stdio.fp));
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return "";
    return std::string(path, size_t(length));
}

} // namespace

bool ShaderFile::read(const char* name, std::string& text, std::string& why)
{
    name_ = name ? name : "";
    SDL_RWops* file = vortel::open_file(name);
    if (!file) {
        why = "cannot be opened";
        return false;
    }
    if (diskPath_.empty() && reads_stdio(file))
        diskPath_ = path_of(file);
    const int64_t size = SDL_RWseek(file, 0, RW_SEEK_END);
    bool ok = size >= 0 && size <= kLargestShader && SDL_RWseek(file, 0, RW_SEEK_SET) == 0;
    if (ok) {
        text.assign(size_t(size), '\0');
        ok = size == 0 || SDL_RWread(file, &text[0], 1, int(size)) == int(size);
    }
    vortel::close_file(file);
    if (!ok)
        why = size > kLargestShader ? "is larger than 1 MiB" : "cannot be read";
    stamp_now(modified_, size_);
    return ok;
}

bool ShaderFile::stamp_now(timespec& modified, int64_t& size) const
{
    struct stat info;
    if (diskPath_.empty() || stat(diskPath_.c_str(), &info) != 0)
        return false;
    modified = info.st_mtim;
    size = int64_t(info.st_size);
    return true;
}

bool ShaderFile::changed(uint32_t now)
{
    if (diskPath_.empty() || now - lastCheck_ < kCheckInterval)
        return false;
    lastCheck_ = now;
    return changed_now();
}

bool ShaderFile::changed_now()
{
    timespec modified{};
    int64_t size = 0;
    if (!stamp_now(modified, size))
        return false;
    const bool different =
        modified.tv_sec != modified_.tv_sec || modified.tv_nsec != modified_.tv_nsec || size != size_;
    modified_ = modified;
    size_ = size;
    return different;
}

} // namespace shaders
