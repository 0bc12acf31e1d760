#include "swarm_shelf.h"

#include "effect_host.h"
#include "effects/scene_state.h"

namespace
{

SwarmShelf* shelf = nullptr;
ServicesStruct hostServices;

void* acquire(uint32_t type, int32_t index, void* userData, bool privateUse, const char* caller,
              const char* typeName, bool* flag)
{
    const char* name = EffectHost::get().services.GetText(index);
    if (type != kTypeSwarm || !name)
        return hostServices.AcquireByIndex(type, index, userData, privateUse, caller, typeName, flag);
    auto found = shelf->swarms.find(name);
    if (found == shelf->swarms.end())
        return nullptr;
    ++shelf->acquisitions;
    ++found->second.references;
    *flag = found->second.staticFlag;
    return found->second.record;
}

int32_t release(uint32_t type, int32_t index, void* resource)
{
    const char* name = EffectHost::get().services.GetText(index);
    if (type != kTypeSwarm || !name)
        return hostServices.ReleaseByIndex(type, index, resource);
    auto found = shelf->swarms.find(name);
    if (found == shelf->swarms.end())
        return 0;
    ++shelf->releases;
    if (found->second.references <= 1) {
        ++shelf->refusedReleases;
        return 0;
    }
    --found->second.references;
    return 1;
}

} // namespace

SwarmShelf::SwarmShelf()
{
    EffectHost::get();
    shelf = this;
    hostServices = gServices;
    gServices.AcquireByIndex = acquire;
    gServices.ReleaseByIndex = release;
}

SwarmShelf::~SwarmShelf()
{
    gServices.AcquireByIndex = hostServices.AcquireByIndex;
    gServices.ReleaseByIndex = hostServices.ReleaseByIndex;
    shelf = nullptr;
}

int32_t SwarmShelf::put(const std::string& name, SwarmRecord* record, bool staticFlag)
{
    swarms[name] = {record, staticFlag, 1};
    return EffectHost::get().text(name);
}
