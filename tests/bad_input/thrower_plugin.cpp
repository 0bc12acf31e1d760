// Thrower.so: a library whose Vortel_Init throws BasicException, the way a plug-in reports a fatal error
// while it starts. Its other entry points log a line each, so a test sees whether they were called.
#include <vortel/plugin.h>

namespace
{
ServicesStruct* gServices = nullptr;
}

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    gServices = services;
    throw BasicException("Thrower: cannot start, the machine is made of cheese\n");
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    if (gServices && gServices->Log)
        gServices->Log("thrower Vortel_Quit\n");
    return true;
}

VORTEL_EXPORT bool Thrown(StateStruct*, void**, ...)
{
    return true;
}
