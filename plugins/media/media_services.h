// What Media keeps from the player, and its log messages (each written in exactly one place: here).
#pragma once

#include <vortel/plugin.h>

namespace media
{

struct Services {
    void (*Log)(const char* text) = nullptr;
    const char* (*GetText)(int32_t index) = nullptr;
    SDL_RWops* (*OpenFile)(const char* name) = nullptr;
    void (*CloseFile)(SDL_RWops* file) = nullptr;
};

extern Services gServices;

// Formats one message and writes it through Log (nothing before Vortel_Init). Messages end in "\n".
void log_message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The log messages, printf formats.
namespace msg
{
constexpr const char* kPictureNotFound = "Media: cannot open picture '%s'\n";
constexpr const char* kPictureUndecodable = "Media: cannot decode picture '%s': %s\n";
constexpr const char* kPictureTooLarge = "Media: picture '%s' (%d x %d) is larger than a texture can be\n";
constexpr const char* kFileTooLarge =
    "Media: '%s' is larger than a picture or beat file can be (%zu bytes)\n";
constexpr const char* kBeatNotFound = "Media: cannot open beat file '%s'\n";
constexpr const char* kBeatBad = "Media: beat file '%s': %s\n";
constexpr const char* kGridNoName = "MakeWaveGrid: no text at index %d for the grid's name\n";
constexpr const char* kGridTaken = "MakeWaveGrid: a grid named '%s' is already being made\n";
constexpr const char* kGridSize = "MakeWaveGrid: grid '%s' of %d x %d points is out of range; made %d x %d\n";
} // namespace msg

} // namespace media
