// Media's beat file reader on arbitrary text: every input is read or refused with a reason, and a pattern
// it accepts keeps the promises the beat and loops parameters rely on.
#include <cmath>
#include <cstdint>
#include <string>

#include "beat_file.h"
#include "fuzz_inputs.h"

int beat_file_input(const uint8_t* data, size_t size)
{
    BeatRecord record;
    std::string error;
    if (!media::parse_beat_text(std::string(reinterpret_cast<const char*>(data), size), record, error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    if (record.count < 1 || record.count > kMaxBeats || record.length < 0 || !(record.bar > 0) ||
        !std::isfinite(record.bar))
        __builtin_trap();
    for (int i = 0; i < record.count; ++i)
        if (!(record.beatLengths[i] > 0) || !std::isfinite(record.beatLengths[i]) ||
            !std::isfinite(record.beatValues[i]))
            __builtin_trap();
    if (!std::isfinite(record.beatValues[record.count]))
        __builtin_trap();
    return 0;
}

VORTEL_FUZZ_ENTRY(beat_file_input)
