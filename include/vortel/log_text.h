// Texts that reach the error log from a demo document (resource names, file names, function names) can
// hold anything, a line break (&#10;) or a terminal escape sequence included. Messages quote them through
// these helpers, so that one message stays one line and no document can forge log lines or drive the
// terminal a message is shown on.
//
// Escapes: \n, \r and \t for those three, \xHH for the other C0 controls and DEL, \uHHHH for the C1
// controls and the Unicode line and paragraph separators (U+2028, U+2029) written in UTF-8. Everything
// else, other UTF-8 included, is kept as it is. Header-only; nothing is allocated.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace vortel
{

// Writes `text` (n bytes) into out[0 .. size) with its control characters escaped, NUL-terminated
// (size must be at least 1). Returns false when it had to stop early: an escape is never cut in half.
inline bool escape_controls(char* out, size_t size, const char* text, size_t n)
{
    size_t used = 0;
    auto put = [&](const char* piece, size_t length) {
        if (used + length >= size)
            return false;
        std::memcpy(out + used, piece, length);
        used += length;
        return true;
    };
    bool complete = true;
    for (size_t i = 0; i < n && complete; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char next = i + 1 < n ? static_cast<unsigned char>(text[i + 1]) : 0;
        const unsigned char third = i + 2 < n ? static_cast<unsigned char>(text[i + 2]) : 0;
        char escape[8];
        if (c == '\n' || c == '\r' || c == '\t') {
            const char plain[2] = {'\\', c == '\n' ? 'n' : c == '\r' ? 'r' : 't'};
            complete = put(plain, 2);
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof(escape), "\\x%02X", unsigned(c));
            complete = put(escape, 4);
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escape, sizeof(escape), "\\u%04X", unsigned(next));
            complete = put(escape, 6);
            ++i;
        } else if (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            complete = put(third == 0xA8 ? "\\u2028" : "\\u2029", 6);
            i += 2;
        } else {
            complete = put(text + i, 1);
        }
    }
    out[used] = '\0';
    return complete;
}

// One name quoted in a message: `LogName(name).c_str()` among the arguments of a printf-style call.
// Null gives "". A name longer than the buffer is cut and ends in "...".
class LogName
{
public:
    explicit LogName(const char* text)
    {
        if (!text)
            text = "";
        if (!escape_controls(text_, sizeof(text_) - 3, text, std::strlen(text)))
            std::strcat(text_, "...");
    }
    const char* c_str() const { return text_; }

private:
    char text_[1024];
};

// Formats a whole message as one log line into out[0 .. size): control characters in the formatted text
// are escaped, all but a line break that ends it; with endLine, a line break is added when the message
// has none. A message that does not fit is cut, keeping its line break.
__attribute__((format(printf, 4, 0))) inline void format_log_line(char* out, size_t size, bool endLine,
                                                                  const char* format, va_list args)
{
    char text[2048];
    const int formatted = std::vsnprintf(text, sizeof(text), format, args);
    size_t length = formatted < 0 ? 0 : std::strlen(text);
    const bool endsLine = length > 0 && text[length - 1] == '\n';
    if (endsLine)
        --length;
    const bool addLineBreak = endsLine || endLine;
    escape_controls(out, addLineBreak ? size - 1 : size, text, length);
    if (addLineBreak)
        std::strcat(out, "\n");
}

} // namespace vortel
