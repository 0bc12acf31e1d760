#include "media_file.h"
#include "media_messages.h"

#include <SDL.h>
#include <new>
#include <vortel/plugin_helper.h>

namespace media
{

bool read_whole_file(const char* name, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    SDL_RWops* file = vortel::open_file(name);
    if (!file)
        return false;
    // A stream that tells its size is refused before it is read when it is too large; the others are read
    // in chunks up to the bound.
    const int size = SDL_RWseek(file, 0, RW_SEEK_END);
    bool fits = size < 0 || size_t(size) <= kMaxFileBytes;
    bool allocated = true;
    SDL_RWseek(file, 0, RW_SEEK_SET);
    constexpr size_t kChunk = 64 * 1024;
    try {
        while (fits) {
            const size_t at = bytes.size();
            if (at > kMaxFileBytes) {
                fits = false;
                break;
            }
            bytes.resize(at + kChunk);
            const int got = SDL_RWread(file, bytes.data() + at, 1, int(kChunk));
            bytes.resize(at + size_t(got > 0 ? got : 0));
            if (got <= 0)
                break;
        }
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    vortel::close_file(file);
    if (!allocated) {
        std::vector<uint8_t>().swap(bytes);
        vortel::log(msg::kFileNoMemory, name);
        return false;
    }
    if (!fits || bytes.size() > kMaxFileBytes) {
        vortel::log(msg::kFileTooLarge, name, kMaxFileBytes);
        return false;
    }
    return true;
}

} // namespace media
