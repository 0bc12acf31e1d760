#include "media_file.h"
#include "media_services.h"

#include <SDL.h>

namespace media
{

bool read_whole_file(const char* name, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (!gServices.OpenFile || !name)
        return false;
    SDL_RWops* file = gServices.OpenFile(name);
    if (!file)
        return false;
    // Read in chunks rather than trusting a seek to the end: not every stream can tell its size.
    constexpr size_t kChunk = 64 * 1024;
    bool fits = true;
    for (;;) {
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
    if (gServices.CloseFile)
        gServices.CloseFile(file);
    else
        SDL_RWclose(file);
    return fits && bytes.size() <= kMaxFileBytes;
}

} // namespace media
