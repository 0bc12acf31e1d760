#include "swarm_host.h"

#include "common/resource_cache.h"
#include <swarm_effects.h>
#include <swarm_store.h>

SwarmHost::SwarmHost(Options options) : StandInHost(options)
{
    EXPECT_TRUE(Vortel_Init(nullptr, nullptr, &services));
}

SwarmHost::~SwarmHost()
{
    Vortel_Quit();
}

const SwarmRecord* SwarmHost::swarm(const std::string& name, bool* isStatic)
{
    bool flag = false;
    void* r = ProduceSwarm(name.c_str(), nullptr, &flag);
    if (r)
        ReleaseSwarm(name.c_str(), r);
    if (isStatic)
        *isStatic = flag;
    return static_cast<const SwarmRecord*>(r);
}

int32_t live_swarms()
{
    return swarms::gCache ? swarms::gCache->size() : 0;
}
