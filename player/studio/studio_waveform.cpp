#include "studio_waveform.h"

#include <SDL/SDL_mixer.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "error_log.h"
#include "studio_request.h"

namespace
{

constexpr int64_t kMaxPoints = 20000;

} // namespace

void MusicWaveform::decode()
{
    decoded_ = true;
    if (path_.empty())
        return;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels) || channels < 1) {
        log_printf("Studio: no waveform of %s: the sound is switched off.\n", path_.c_str());
        return;
    }
    if (format != AUDIO_S16SYS) {
        log_printf("Studio: no waveform of %s: the sound device does not take 16-bit samples.\n",
                   path_.c_str());
        return;
    }
    Mix_Chunk* chunk = Mix_LoadWAV(path_.c_str());
    if (!chunk) {
        log_printf("Studio: no waveform of %s: %s\n", path_.c_str(), Mix_GetError());
        return;
    }
    const size_t frames = chunk->alen / (sizeof(int16_t) * size_t(channels));
    samples_.resize(frames);
    for (size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) {
            int16_t sample;
            std::memcpy(&sample, chunk->abuf + (f * size_t(channels) + size_t(c)) * sizeof(int16_t),
                        sizeof(sample));
            sum += sample;
        }
        samples_[f] = float(sum) / float(channels) / 32768.0f;
    }
    rate_ = uint32_t(frequency);
    Mix_FreeChunk(chunk);
}

std::string MusicWaveform::json(int64_t points)
{
    if (points < 1 || points > kMaxPoints)
        throw StudioBadRequest("\"points\" must be in 1 .. " + std::to_string(kMaxPoints));
    if (!decoded_)
        decode();
    if (samples_.empty())
        return "{\"duration\": 0, \"peaks\": []}";
    std::string out =
        "{\"duration\": " + std::to_string(uint64_t(samples_.size()) * 1000 / rate_) + ", \"peaks\": [";
    for (int64_t p = 0; p < points; ++p) {
        const size_t from = size_t(uint64_t(samples_.size()) * uint64_t(p) / uint64_t(points));
        const size_t to =
            std::max(from + 1, size_t(uint64_t(samples_.size()) * uint64_t(p + 1) / uint64_t(points)));
        const auto [low, high] = std::minmax_element(samples_.begin() + long(from),
                                                     samples_.begin() + long(std::min(to, samples_.size())));
        char pair[40];
        std::snprintf(pair, sizeof(pair), "%s[%.3f, %.3f]", p ? ", " : "", double(*low), double(*high));
        out += pair;
    }
    return out + "]}";
}
