// Scaffold's plug-in entry points: the shared scene, the resource types and the off-screen target.
#include "effects/model_import.h"
#include "common/resource_cache.h"
#include "effects/resource_handlers.h"
#include "effects/scene_state.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/material_record.h"
#include "scene/pbuffer.h"
#include "scene/root_node3d.h"

namespace
{

void free_material(void* material)
{
    delete static_cast<MaterialRecord*>(material);
}

} // namespace

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!services)
        return false;
    gServices = *services;

    model_support_init();

    gServices.RegisterType(kType3DGroup, acquire_group, release_group);
    gServices.RegisterType(kTypeTexture, acquire_render_texture, release_render_texture);
    gServices.RegisterType(kTypeMaterial, acquire_material, release_material);
    if (!materialCache)
        materialCache = new ResourceCache("MaterialCache", 0, free_material, gServices.Log);

    gls_set_context(services->glContext);
    // One off-screen target per process, as large as the window; Show3D, Background and the post effects
    // draw into its two buffers.
    if (!gPBuffer && services->glContext)
        PBuffer::Create(gls_screen_width(), gls_screen_height());

    delete sceneRoot;
    delete sceneCamera;
    sceneCamera = new Camera3D(1.3333334f, 5.0f, 10000.0f);
    sceneRoot = new RootNode3D(sceneCamera);
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    delete sceneRoot;
    sceneRoot = nullptr;
    delete sceneCamera;
    sceneCamera = nullptr;
    model_support_quit();
    free_cache(materialCache, free_material);
    PBuffer::Destroy();
    return true;
}
