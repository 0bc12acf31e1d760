// Plug-in entry points and the 'SWRM' type handlers.
#include "common/resource_cache.h"

#include "swarm_effects.h"
#include "swarm_store.h"

using namespace swarms;

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct* services)
{
    if (!vortel::adopt_services(services))
        return false;
    if (vortel::gHost.RegisterType)
        vortel::gHost.RegisterType(kTypeSwarm, ProduceSwarm, ReleaseSwarm);
    if (!gCache)
        gCache = new ResourceCache("SwarmsCache", 0, free_swarm, vortel::gHost.Log);
    return true;
}

VORTEL_EXPORT bool Vortel_BeginNewFrame(int32_t)
{
    return true;
}

VORTEL_EXPORT bool Vortel_Quit()
{
    if (!gCache)
        return true;
    try {
        gCache->FreeAll();
    } catch (const BasicException&) {
        // A swarm still referenced: its producer was active when the demo ended and got no last call, the
        // normal end of such an event. Nothing to report; the cache and what is left in it are kept, as
        // a holder may yet read them.
        return true;
    }
    delete gCache;
    gCache = nullptr;
    return true;
}

VORTEL_EXPORT void* ProduceSwarm(const char* name, void*, bool* outFlag)
{
    return gCache ? gCache->find(name, outFlag) : nullptr;
}

bool ReleaseSwarm(const char* name, void*)
{
    return gCache && gCache->release(name);
}
