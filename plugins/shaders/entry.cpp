// Shaders.so's entry points: the services, and what its effects share (the shaders of the run and the
// black texture).
#include "shader_cache.h"
#include "shader_draw.h"
#include "shader_effects.h"

#include <vortel/plugin_helper.h>

#include "glstate.h"

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!vortel::adopt_services(services))
        return false;
    gls_set_context(services->glContext);
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    shaders::release_post_buffers();
    shaders::release_shaders();
    shaders::release_black_texture();
    return true;
}
