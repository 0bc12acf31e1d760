#include "effects/scene_state.h"

#include <cstdarg>
#include <vortel/log_text.h>

ServicesStruct gServices = {};
RootNode3D* sceneRoot = nullptr;
Camera3D* sceneCamera = nullptr;
ResourceCache* materialCache = nullptr;

void scaffold_log(const char* format, ...)
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
