// Plug-in entry points. Emberfold registers no resource type: it only keeps the player's services.
#include "emberfold_effects.h"

#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    return vortel::adopt_services(services);
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    return true;
}
