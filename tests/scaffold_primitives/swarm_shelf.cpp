#include "swarm_shelf.h"

#include "effect_host.h"

#include <algorithm>

namespace
{

SwarmShelf* shelf = nullptr;

void* acquire(const char* name, void*, bool* flag)
{
    auto found = shelf->swarms.find(name);
    if (found == shelf->swarms.end())
        return nullptr;
    ++shelf->acquisitions;
    ++found->second.references;
    if (flag)
        *flag = found->second.staticFlag;
    return found->second.record;
}

bool release(const char* name, void*)
{
    auto found = shelf->swarms.find(name);
    if (found == shelf->swarms.end())
        return false;
    ++shelf->releases;
    if (found->second.references <= 1) {
        ++shelf->refusedReleases;
        return false;
    }
    --found->second.references;
    return true;
}

bool is_shelf(const StandInHost::Handler& handler)
{
    return handler.acquire == acquire;
}

} // namespace

SwarmShelf::SwarmShelf()
{
    shelf = this;
    EffectHost::get().handlers.push_back({kTypeSwarm, acquire, release});
}

SwarmShelf::~SwarmShelf()
{
    auto& handlers = EffectHost::get().handlers;
    handlers.erase(std::remove_if(handlers.begin(), handlers.end(), is_shelf), handlers.end());
    shelf = nullptr;
}

int32_t SwarmShelf::put(const std::string& name, SwarmRecord* record, bool staticFlag)
{
    swarms[name] = {record, staticFlag, 1};
    return EffectHost::get().text(name);
}
