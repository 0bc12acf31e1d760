#include "effect_host.h"

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

EffectHost& EffectHost::get()
{
    static EffectHost* instance = nullptr;
    if (!instance) {
        instance = new EffectHost();
        Vortel_Init(nullptr, nullptr, &instance->services);
    }
    return *instance;
}

Event::Event(int32_t startTime)
{
    state.startTime = startTime;
    state.duration = 1000;
    state.GetParam = StandInHost::get_param;
}

StateStruct* Event::at(int32_t phase, int32_t localTime)
{
    state.phase = phase;
    state.localTime = localTime;
    state.status = 0;
    return &state;
}
