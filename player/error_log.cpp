#include "error_log.h"

#include <cstdarg>
#include <cstdio>

namespace
{
FILE* gLog = nullptr;
bool gVerbose = false;

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
}

void log_line(const char* text)
{
    if (!gLog || !text)
        return;
    std::fputs(text, gLog);
    std::fputc('\n', gLog);
    std::fflush(gLog);
}

void log_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
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
