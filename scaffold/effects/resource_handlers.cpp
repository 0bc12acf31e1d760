#include "effects/resource_handlers.h"

#include "common/resource_cache.h"
#include "effects/scaffold_state.h"
#include "scene/pbuffer.h"
#include "scene/root_node3d.h"

#include <cstring>

namespace
{

constexpr const char* kWorldName = "theWorld";

// Buffer number of an off-screen texture name, -1 for any other name.
int render_buffer_of(const char* name)
{
    if (std::strcmp(name, "Render1") == 0)
        return 0;
    if (std::strcmp(name, "Render2") == 0)
        return 1;
    return -1;
}

} // namespace

void* acquire_group(const char* name, void*, bool* outFlag)
{
    if (std::strcmp(name, kWorldName) == 0) {
        *outFlag = true;
        return gScaffold.sceneRoot;
    }
    const int32_t slot = gScaffold.find_group(name);
    if (slot < 0)
        return nullptr;
    *outFlag = true;
    return gScaffold.groups[slot];
}

bool release_group(const char* name, void*)
{
    return std::strcmp(name, kWorldName) == 0 || gScaffold.find_group(name) >= 0;
}

void* acquire_render_texture(const char* name, void*, bool* outFlag)
{
    *outFlag = false;
    const int buffer = render_buffer_of(name);
    // The buffer being drawn into cannot be handed out as a texture at the same time.
    if (buffer < 0 || !gPBuffer || gPBuffer->currentTarget() == buffer)
        return nullptr;
    return gPBuffer->GetTexture(buffer);
}

bool release_render_texture(const char* name, void*)
{
    return render_buffer_of(name) >= 0;
}

void* acquire_material(const char* name, void*, bool* outFlag)
{
    return gScaffold.materialCache ? gScaffold.materialCache->find(name, outFlag) : nullptr;
}

bool release_material(const char* name, void*)
{
    return gScaffold.materialCache && gScaffold.materialCache->release(name);
}
