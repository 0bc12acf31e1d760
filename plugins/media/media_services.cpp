#include "media_services.h"

#include <cstdarg>
#include <cstdio>

namespace media
{

Services gServices;

void log_message(const char* format, ...)
{
    if (!gServices.Log)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    gServices.Log(text);
}

} // namespace media
