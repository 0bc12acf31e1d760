// Scaffold's plug-in entry points: the shared scene, the resource types and the off-screen target.
#include "common/resource_cache.h"
#include "effects/model_import.h"
#include "effects/resource_handlers.h"
#include "effects/scaffold_state.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/pbuffer.h"
#include "scene/root_node3d.h"

#include <vortel/plugin_helper.h>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!vortel::adopt_services(services))
        return false;

    model_support_init();

    vortel::gHost.RegisterType(kType3DGroup, acquire_group, release_group);
    vortel::gHost.RegisterType(kTypeTexture, acquire_render_texture, release_render_texture);
    vortel::gHost.RegisterType(kTypeMaterial, acquire_material, release_material);
    if (!gScaffold.materialCache)
        gScaffold.materialCache = new ResourceCache("MaterialCache", 0, free_material, vortel::gHost.Log);

    gls_set_context(services->glContext);
    // One off-screen target per process, as large as the window; Show3D, Background and the post effects
    // draw into its two buffers.
    if (!gPBuffer && services->glContext)
        PBuffer::Create(gls_screen_width(), gls_screen_height());

    delete gScaffold.sceneRoot;
    delete gScaffold.sceneCamera;
    gScaffold.sceneCamera = new Camera3D(1.3333334f, 5.0f, 10000.0f);
    gScaffold.sceneRoot = new RootNode3D(gScaffold.sceneCamera);
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    delete gScaffold.sceneRoot;
    gScaffold.sceneRoot = nullptr;
    delete gScaffold.sceneCamera;
    gScaffold.sceneCamera = nullptr;
    model_support_quit();
    free_cache(gScaffold.materialCache, free_material);
    PBuffer::Destroy();
    return true;
}
