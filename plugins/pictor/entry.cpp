// Pictor's entry points: it keeps the services it needs and nothing else lives outside its events.
#include "pictor_services.h"

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
    pictor::gServices = pictor::Services{};
    if (services) {
        pictor::gServices.Log = services->Log;
        pictor::gServices.GetText = services->GetText;
        pictor::gServices.AcquireByIndex = services->AcquireByIndex;
        pictor::gServices.ReleaseByIndex = services->ReleaseByIndex;
    }
    return true;
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
