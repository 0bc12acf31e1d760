// Media's entry points: it registers its three producers and frees what is left of them at the end.
#include "beat_patterns.h"
#include "grid_store.h"
#include "picture_textures.h"

#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!vortel::adopt_services(services))
        return false;
    if (services->RegisterType) {
        services->RegisterType(kTypeTexture, media::acquire_picture, media::release_picture);
        services->RegisterType(kTypeBeat, media::acquire_beat, media::release_beat);
        services->RegisterType(kTypeGrid, media::acquire_grid, media::release_grid);
    }
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    media::release_all_pictures();
    media::forget_beats();
    media::forget_grids();
    return true;
}
