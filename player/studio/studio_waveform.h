// The music's waveform for the page's time ruler: the decoded sound as min/max pairs. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MusicWaveform
{
public:
    // The music file (as the document names it, found like the player finds it); empty: no music.
    // Nothing is decoded until the first request.
    explicit MusicWaveform(std::string path) : path_(std::move(path)) {}

    // GET /api/waveform: {"duration": ms, "peaks": [[min, max], ...]} with `points` pairs (1 .. 20000,
    // else StudioBadRequest), values -1 .. 1; no peaks when there is no music or it cannot be decoded
    // (sound switched off, a format SDL_mixer cannot decode: said once in the log).
    std::string json(int64_t points);

private:
    void decode();

    std::string path_;
    bool decoded_ = false;
    std::vector<float> samples_; // mono, -1 .. 1
    uint32_t rate_ = 0;          // samples a second
};
