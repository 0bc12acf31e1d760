// Line and number scanning shared by the OBJ and MTL readers.
//
// Text is walked in place (no copies); a line view excludes its end (LF or CR LF). Blank lines are
// skipped by next_line. Numbers are plain decimals with an optional sign, fraction and exponent, and
// finite as floats ("nan", "inf" and values beyond the float range cannot be read).
#pragma once

#include <cstddef>
#include <cstdint>

struct TextLine {
    const char* begin;
    const char* end;
    int32_t number; // 1-based line number in the file
};

class LineScanner
{
public:
    LineScanner(const char* text, size_t length) : at_(text), end_(text + length) {}
    // The next line that is not blank (only spaces, tabs or a CR), with leading blanks removed and a
    // trailing CR and blanks cut. False at the end of the text.
    bool next_line(TextLine& line);

private:
    const char* at_;
    const char* end_;
    int32_t number_ = 0;
};

inline bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

// True when the line starts with keyword followed by a blank or the end of the line.
bool starts_with_word(const TextLine& line, const char* keyword);
// The text after the keyword and the blanks that follow it.
const char* after_word(const TextLine& line, const char* keyword);

// Reads up to `count` numbers separated by blanks from [at, end); values not present are 0. Returns
// false when something other than a number stands where one is expected; text after the last wanted
// number is ignored.
bool read_numbers(const char* at, const char* end, float* values, int count);
