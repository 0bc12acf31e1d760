#include "media_services.h"

#include <cstdarg>
#include <vortel/log_text.h>

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
    vortel::format_log_line(text, sizeof(text), false, format, args);
    va_end(args);
    gServices.Log(text);
}

} // namespace media
