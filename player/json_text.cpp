#include "json_text.h"

#include <cstdio>

std::string json_quoted(const char* text)
{
    if (!text)
        return "null";
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        const unsigned char ch = static_cast<unsigned char>(*c);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += char(ch);
        } else if (ch < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", ch);
            out += escaped;
        } else {
            out += char(ch);
        }
    }
    return out + "\"";
}

std::string json_quoted(const std::string& text)
{
    return json_quoted(text.c_str());
}
