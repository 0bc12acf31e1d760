#include "swarm_host.h"

#include "common/resource_cache.h"
#include <swarm_effects.h>
#include <swarm_store.h>

#include <cstdio>

SwarmHost* SwarmHost::current = nullptr;

namespace
{

void host_log(const char* text)
{
    SwarmHost::current->log.push_back(text);
}

const char* host_get_text(int32_t index)
{
    const auto& texts = SwarmHost::current->texts;
    return index >= 0 && index < int32_t(texts.size()) ? texts[index].c_str() : nullptr;
}

int32_t host_register(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    SwarmHost::current->handlers.push_back({type, acquire, release});
    return int32_t(SwarmHost::current->handlers.size());
}

void say(const char* format, const char* a, const char* b, const char* c)
{
    char text[512];
    std::snprintf(text, sizeof(text), format, a, b, c);
    host_log(text);
}

void* host_acquire(uint32_t type, int32_t index, void* userData, bool, const char* caller, const char* what,
                   bool* outFlag)
{
    const char* name = host_get_text(index);
    if (!name) {
        char text[512];
        std::snprintf(text, sizeof(text), "%s could not find the name for the %s nr %d", caller, what, index);
        host_log(text);
        return nullptr;
    }
    for (const auto& h : SwarmHost::current->handlers) {
        if (h.type != type)
            continue;
        if (void* r = h.acquire(name, userData, outFlag)) {
            ++SwarmHost::current->acquisitions;
            return r;
        }
    }
    say("%s could not find the %s named %s", caller, what, name);
    return nullptr;
}

int32_t host_release(uint32_t type, int32_t index, void* resource)
{
    const char* name = host_get_text(index);
    if (index < 0 || !name)
        return 0;
    for (const auto& h : SwarmHost::current->handlers) {
        if (h.type == type && h.release(name, resource)) {
            ++SwarmHost::current->releases;
            return 1;
        }
    }
    return 0;
}

} // namespace

SwarmHost::SwarmHost()
{
    current = this;
    services.Log = host_log;
    services.GetText = host_get_text;
    services.RegisterType = host_register;
    services.AcquireByIndex = host_acquire;
    services.ReleaseByIndex = host_release;
    EXPECT_TRUE(Vortel_Init(nullptr, nullptr, &services));
}

SwarmHost::~SwarmHost()
{
    Vortel_Quit();
    current = nullptr;
}

int32_t SwarmHost::text(const std::string& t)
{
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == t)
            return int32_t(i);
    texts.push_back(t);
    return int32_t(texts.size() - 1);
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

void SwarmHost::registerType(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    host_register(type, acquire, release);
}

int32_t live_swarms()
{
    return swarms::gCache ? swarms::gCache->size() : 0;
}
