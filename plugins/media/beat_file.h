// Beat files: a small text describing one 'BEAT' pattern (see the README for the format).
#pragma once

#include <vortel/records.h>

#include <string>

namespace media
{

// Parses a beat file's text into record. False with a reason naming the line when the text is not a
// complete pattern: unknown or repeated words, missing or malformed numbers, a bar or beat length that is
// not positive, no beats, more than kMaxBeats beats, or no closing value.
bool parse_beat_text(const std::string& text, BeatRecord& record, std::string& error);

} // namespace media
