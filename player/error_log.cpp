#include "error_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <vortel/log_text.h>

namespace
{
FILE* gLog = nullptr;
std::string gLogPath; // absolute, once opened
bool gVerbose = false;
bool gEcho = false;
std::string gNewest;
uint64_t gMessageCount = 0;

void print_lines(const char* prefix, const char* text)
{
    while (*text) {
        const size_t length = std::strcspn(text, "\n");
        if (length > 0) {
            char line[1024];
            vortel::escape_controls(line, sizeof(line), text, length);
            std::fprintf(stderr, "%s%s\n", prefix, line);
        }
        text += length;
        if (*text == '\n')
            ++text;
    }
}

void print_fatal(const char* text)
{
    print_lines("player: ", text);
}

// What the authoring mode sees of a message: its lines on stderr, its text (without the line break) kept.
void note_message(const char* text)
{
    if (!gEcho)
        return;
    print_lines("log: ", text);
    char line[1024];
    vortel::escape_controls(line, sizeof(line), text, std::strcspn(text, "\n"));
    gNewest = line;
    ++gMessageCount;
}

void vlog(const char* format, va_list args)
{
    char text[2048];
    std::vsnprintf(text, sizeof(text), format, args);
    Log(text);
}
} // namespace

void log_open(const char* path)
{
    log_close();
    gLog = std::fopen(path, "wb");
    gLogPath = path;
    if (char* absolute = gLog ? realpath(path, nullptr) : nullptr) {
        gLogPath = absolute;
        std::free(absolute);
    }
}

void log_close()
{
    if (gLog)
        std::fclose(gLog);
    gLog = nullptr;
}

void Log(const char* text)
{
    if (!gLog || !text)
        return;
    std::fputs(text, gLog);
    std::fflush(gLog);
    note_message(text);
}

void log_line(const char* text)
{
    if (!gLog || !text)
        return;
    std::fputs(text, gLog);
    std::fputc('\n', gLog);
    std::fflush(gLog);
    note_message(text);
}

void log_echo_to_stderr(bool echo)
{
    gEcho = echo;
}

const std::string& log_newest_message()
{
    return gNewest;
}

uint64_t log_message_count()
{
    return gMessageCount;
}

void log_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
}

void log_fatal(const char* text)
{
    if (!text)
        return;
    const bool echo = gEcho;
    gEcho = false; // stderr gets it once, as a fatal message
    Log(text);
    gEcho = echo;
    print_fatal(text);
}

void log_fatal_printf(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    log_fatal(text);
}

void print_log_location()
{
    if (gLog)
        std::fprintf(stderr, "player: the error log is %s\n", gLogPath.c_str());
    else
        std::fprintf(stderr, "player: the error log %s could not be written\n", gLogPath.c_str());
}

void log_verbose(const char* format, ...)
{
    if (!gVerbose)
        return;
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
}

void log_set_verbose(bool verbose)
{
    gVerbose = verbose;
}
bool log_is_verbose()
{
    return gVerbose;
}
