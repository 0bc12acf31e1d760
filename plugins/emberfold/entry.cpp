// Plug-in entry points and the service pointers the effects use.
#include "emberfold_effects.h"
#include "emberfold_services.h"

#include <cstdarg>
#include <vortel/log_text.h>

namespace emberfold
{

Services gServices;
LegacyRand gRand;

void log_message(const char* format, ...)
{
    if (!gServices.Log)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    vortel::format_log_line(text, sizeof(text), true, format, args);
    va_end(args);
    gServices.Log(text);
}

const char* text_at(int32_t index)
{
    return gServices.GetText ? gServices.GetText(index) : nullptr;
}

} // namespace emberfold

using namespace emberfold;

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!services)
        return false;
    gServices.Log = services->Log;
    gServices.GetText = services->GetText;
    gServices.AcquireByIndex = services->AcquireByIndex;
    gServices.ReleaseByIndex = services->ReleaseByIndex;
    gServices.OpenFile = services->OpenFile;
    gServices.CloseFile = services->CloseFile;
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    return true;
}
