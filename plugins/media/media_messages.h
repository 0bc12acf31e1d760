// Media's log messages, printf formats, each written in exactly one place: here. They reach the log
// through vortel::log.
#pragma once

namespace media
{

namespace msg
{
constexpr const char* kPictureNotFound = "Media: cannot open picture '%s'\n";
constexpr const char* kPictureUndecodable = "Media: cannot decode picture '%s': %s\n";
constexpr const char* kPictureTooLarge = "Media: picture '%s' (%d x %d) is larger than a texture can be\n";
constexpr const char* kFileTooLarge =
    "Media: '%s' is larger than a picture or beat file can be (%zu bytes)\n";
constexpr const char* kFileNoMemory = "Media: not enough memory to read '%s'\n";
constexpr const char* kBeatNotFound = "Media: cannot open beat file '%s'\n";
constexpr const char* kBeatBad = "Media: beat file '%s': %s\n";
constexpr const char* kGridNoName = "MakeWaveGrid: no text at index %d for the grid's name\n";
constexpr const char* kGridTaken = "MakeWaveGrid: a grid named '%s' is already being made\n";
constexpr const char* kGridNoMemory = "MakeWaveGrid: not enough memory for grid '%s' of %d x %d points\n";
constexpr const char* kGridSize = "MakeWaveGrid: grid '%s' of %d x %d points is out of range; made %d x %d\n";
} // namespace msg

} // namespace media
