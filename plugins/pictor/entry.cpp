// Pictor's entry points: it keeps the player's services and nothing else lives outside its events.
#include <vortel/plugin_helper.h>

namespace
{
SDL_Surface** gOutputSurfaces = nullptr;
SDL_Surface** gInputSurfaces = nullptr;
int32_t gLastFrame = 0;
} // namespace

VORTEL_EXPORT bool Vortel_Init(SDL_Surface** outputSurfaces, SDL_Surface** inputSurfaces,
                               ServicesStruct* services)
{
    gOutputSurfaces = outputSurfaces;
    gInputSurfaces = inputSurfaces;
    return vortel::adopt_services(services);
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t frame)
{
    gLastFrame = frame;
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    return true;
}
