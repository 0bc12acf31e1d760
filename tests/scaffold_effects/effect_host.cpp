#include "effect_host.h"

#include <cstdio>

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

namespace
{

EffectHost* host()
{
    return &EffectHost::get();
}

const char* get_text(int32_t index)
{
    if (index < 0 || size_t(index) >= host()->texts.size())
        return nullptr;
    return host()->texts[size_t(index)].c_str();
}

void* acquire_by_name(uint32_t type, const char* name, void* userData, bool, const char* caller, const char*,
                      bool* flag)
{
    if (type == kTypeSwarm) {
        auto found = host()->swarms.find(name);
        if (found != host()->swarms.end())
            return found->second;
    }
    for (const EffectHost::Handler& handler : host()->handlers)
        if (handler.type == type)
            if (void* resource = handler.acquire(name, userData, flag))
                return resource;
    host()->log.push_back(std::string(caller) + ": no resource " + name);
    return nullptr;
}

void* acquire_by_index(uint32_t type, int32_t index, void* userData, bool privateUse, const char* caller,
                       const char* typeName, bool* flag)
{
    const char* name = get_text(index);
    if (!name) {
        host()->log.push_back(std::string(caller) + ": no text " + std::to_string(index));
        return nullptr;
    }
    return acquire_by_name(type, name, userData, privateUse, caller, typeName, flag);
}

int32_t release_by_name(uint32_t type, const char* name, void* resource)
{
    if (type == kTypeSwarm)
        return host()->swarms.count(name) ? 1 : 0;
    for (const EffectHost::Handler& handler : host()->handlers)
        if (handler.type == type && handler.release(name, resource))
            return 1;
    return 0;
}

int32_t release_by_index(uint32_t type, int32_t index, void* resource)
{
    const char* name = get_text(index);
    return name ? release_by_name(type, name, resource) : 0;
}

int32_t register_type(uint32_t type, AcquireFn acquire, ReleaseFn release)
{
    host()->handlers.push_back({type, acquire, release});
    return int32_t(host()->handlers.size());
}

void log_text(const char* text)
{
    host()->log.push_back(text);
}

void set_music_level(int32_t level)
{
    host()->musicLevel = level;
}

int32_t get_param(int32_t time, int32_t word)
{
    host()->paramRequests.push_back({time, word});
    return host()->param ? host()->param(time, word) : 0;
}

} // namespace

EffectHost& EffectHost::get()
{
    static EffectHost* instance = nullptr;
    if (!instance) {
        instance = new EffectHost();
        Vortel_Init(nullptr, nullptr, &instance->services);
    }
    return *instance;
}

EffectHost::EffectHost() : texts{"unused"}
{
    services.Log = log_text;
    services.SetMusicLevel = set_music_level;
    services.AcquireByIndex = acquire_by_index;
    services.AcquireByName = acquire_by_name;
    services.ReleaseByIndex = release_by_index;
    services.ReleaseByName = release_by_name;
    services.RegisterType = register_type;
    services.GetText = get_text;
}

int32_t EffectHost::text(const std::string& value)
{
    for (size_t i = 1; i < texts.size(); ++i)
        if (texts[i] == value)
            return int32_t(i);
    texts.push_back(value);
    return int32_t(texts.size() - 1);
}

std::vector<std::string> EffectHost::take_log()
{
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

void* EffectHost::acquire(uint32_t type, const std::string& name, bool* flag)
{
    return acquire_by_name(type, name.c_str(), nullptr, false, "test", "resource", flag);
}

bool EffectHost::release(uint32_t type, const std::string& name)
{
    return release_by_name(type, name.c_str(), nullptr) != 0;
}

Event::Event(int32_t startTime)
{
    state.startTime = startTime;
    state.duration = 1000;
    state.GetParam = get_param;
}

StateStruct* Event::at(int32_t phase, int32_t localTime)
{
    state.phase = phase;
    state.localTime = localTime;
    state.status = 0;
    return &state;
}
