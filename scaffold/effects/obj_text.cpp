#include "effects/obj_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

bool LineScanner::next_line(TextLine& line)
{
    while (at_ < end_) {
        const char* start = at_;
        const char* stop = static_cast<const char*>(std::memchr(at_, '\n', size_t(end_ - at_)));
        if (!stop)
            stop = end_;
        at_ = stop < end_ ? stop + 1 : end_;
        ++number_;
        while (start < stop && is_blank(*start))
            ++start;
        while (stop > start && (is_blank(stop[-1]) || stop[-1] == '\r'))
            --stop;
        if (start == stop)
            continue;
        line = {start, stop, number_};
        return true;
    }
    return false;
}

bool starts_with_word(const TextLine& line, const char* keyword)
{
    const size_t length = std::strlen(keyword);
    if (size_t(line.end - line.begin) < length || std::memcmp(line.begin, keyword, length) != 0)
        return false;
    return line.begin + length == line.end || is_blank(line.begin[length]);
}

const char* after_word(const TextLine& line, const char* keyword)
{
    const char* at = line.begin + std::strlen(keyword);
    while (at < line.end && is_blank(*at))
        ++at;
    return at;
}

bool read_numbers(const char* at, const char* end, float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        while (at < end && is_blank(*at))
            ++at;
        if (at == end) {
            values[i] = 0.0f;
            continue;
        }
        if (*at == '+') // from_chars takes no plus sign
            ++at;
        const std::from_chars_result read = std::from_chars(at, end, values[i], std::chars_format::general);
        // from_chars also takes "nan" and "inf": no model needs them, and equal NaN positions would all
        // land in one probe run of the welding tables, making reading quadratic.
        if (read.ec != std::errc() || (read.ptr < end && !is_blank(*read.ptr)) || !std::isfinite(values[i]))
            return false;
        at = read.ptr;
    }
    return true;
}
