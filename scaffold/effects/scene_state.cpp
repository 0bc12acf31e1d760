#include "effects/scene_state.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

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
    const int length = std::vsnprintf(text, sizeof(text) - 1, format, args);
    va_end(args);
    const size_t end = length < 0 ? 0 : std::min<size_t>(size_t(length), sizeof(text) - 2);
    text[end] = '\n';
    text[end + 1] = '\0';
    gServices.Log(text);
}
