#include "compiler_messages.h"

#include <cctype>
#include <cstdlib>

namespace glsl
{

namespace
{

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Reads "S:L" (glslangValidator) or "S:L(C)" (Mesa) at `at`, S the source string and L the line; on
// success `at` moves past it (and past the ": " after it).
bool read_location(const std::string& text, size_t& at, int& line)
{
    size_t i = at;
    auto digits = [&](size_t& pos) {
        const size_t start = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))
            ++pos;
        return pos > start;
    };
    if (!digits(i) || i >= text.size() || text[i] != ':')
        return false;
    const size_t lineStart = ++i;
    if (!digits(i))
        return false;
    line = std::atoi(text.c_str() + lineStart);
    if (i < text.size() && text[i] == '(') {
        while (i < text.size() && text[i] != ')')
            ++i;
        ++i;
    }
    if (i >= text.size() || text[i] != ':')
        return false;
    at = i + 1;
    return true;
}

// One message line in "file:line: message" form; empty for a line without a message of its own.
std::string message_of(const std::string& rawLine, const std::string& file)
{
    std::string text = trimmed(rawLine);
    if (text.empty())
        return "";
    std::string severity;
    for (const char* tag : {"ERROR: ", "WARNING: "}) {
        const std::string prefix = tag;
        if (text.compare(0, prefix.size(), prefix) == 0) {
            severity = prefix == "ERROR: " ? "error: " : "warning: ";
            text = text.substr(prefix.size());
        }
    }
    size_t at = 0;
    int line = 0;
    if (!read_location(text, at, line)) {
        // glslangValidator's summary: "2 compilation errors.  No code generated."
        if (!severity.empty() && std::isdigit(static_cast<unsigned char>(text[0])))
            return "";
        return file + ": " + severity + text;
    }
    std::string message = trimmed(text.substr(at));
    if (message == "'' : compilation terminated")
        return "";
    return file + ":" + std::to_string(line) + ": " + severity + message;
}

} // namespace

std::vector<std::string> compiler_messages(const std::string& log, const std::string& file)
{
    std::vector<std::string> messages;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        // An indented line goes on with the message before it.
        const bool continues = !line.empty() && (line[0] == ' ' || line[0] == '\t') && !trimmed(line).empty();
        if (continues && !messages.empty()) {
            messages.back() += " " + trimmed(line);
        } else {
            std::string message = message_of(line, file);
            if (!message.empty())
                messages.push_back(message);
        }
        start = end + 1;
    }
    if (messages.empty() && !trimmed(log).empty())
        messages.push_back(file + ": " + trimmed(log));
    return messages;
}

std::string joined_messages(const std::string& log, const std::string& file)
{
    std::string joined;
    for (const std::string& message : compiler_messages(log, file))
        joined += (joined.empty() ? "" : "; ") + message;
    return joined;
}

} // namespace glsl
