#include "beat_file.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace media
{

namespace
{
bool read_number(std::istringstream& words, double& value)
{
    std::string word;
    if (!(words >> word))
        return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end && *end == '\0' && std::isfinite(value);
}

bool read_milliseconds(std::istringstream& words, int32_t& value)
{
    double number = 0;
    if (!read_number(words, number) || number != std::trunc(number) || number < -2147483648.0 ||
        number > 2147483647.0)
        return false;
    value = int32_t(number);
    return true;
}

bool fail(std::string& error, int line, const std::string& what)
{
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}
} // namespace

bool parse_beat_text(const std::string& text, BeatRecord& record, std::string& error)
{
    record = BeatRecord{};
    bool seenStart = false, seenLength = false, seenOffset = false, seenBar = false, seenCubic = false,
         seenEnd = false;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key))
            continue;
        if (seenEnd)
            return fail(error, number, "nothing may follow 'end'");
        bool ok = true;
        if (key == "start" || key == "length" || key == "offset") {
            bool& seen = key == "start" ? seenStart : key == "length" ? seenLength : seenOffset;
            int32_t& field = key == "start" ? record.start : key == "length" ? record.length : record.offset;
            if (seen)
                return fail(error, number, "'" + key + "' given twice");
            seen = true;
            ok = read_milliseconds(words, field) && (key != "length" || field >= 0);
        } else if (key == "bar") {
            if (seenBar)
                return fail(error, number, "'bar' given twice");
            seenBar = true;
            ok = read_number(words, record.bar) && record.bar > 0;
        } else if (key == "cubic") {
            double flag = 0;
            if (seenCubic)
                return fail(error, number, "'cubic' given twice");
            seenCubic = true;
            ok = read_number(words, flag) && (flag == 0 || flag == 1);
            record.cubic = flag == 1;
        } else if (key == "beat") {
            if (record.count == kMaxBeats)
                return fail(error, number, "more than 32 beats");
            double& length = record.beatLengths[record.count];
            ok = read_number(words, length) && length > 0 &&
                 read_number(words, record.beatValues[record.count]);
            ++record.count;
        } else if (key == "end") {
            if (record.count == 0)
                return fail(error, number, "'end' before any 'beat'");
            seenEnd = true;
            ok = read_number(words, record.beatValues[record.count]);
        } else {
            return fail(error, number, "unknown word '" + key + "'");
        }
        std::string extra;
        if (!ok || (words >> extra))
            return fail(error, number,
                        "'" + key + "' needs " +
                            (key == "beat"    ? "a positive length and a value"
                             : key == "bar"   ? "a positive length"
                             : key == "cubic" ? "0 or 1"
                             : key == "end"   ? "one value"
                                              : "a whole number of milliseconds"));
    }
    if (!seenStart || !seenLength || !seenBar)
        return fail(error, number, "'start', 'length' and 'bar' are required");
    if (record.count == 0 || !seenEnd)
        return fail(error, number, "the pattern needs at least one 'beat' and a closing 'end'");
    return true;
}

} // namespace media
