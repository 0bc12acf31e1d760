#include "scaffold_host.h"

VORTEL_EXPORT bool Vortel_Init(SDL_Surface**, SDL_Surface**, ServicesStruct*);

ScaffoldHost* ScaffoldHost::get()
{
    static ScaffoldHost* instance = nullptr;
    if (!instance) {
        instance = new ScaffoldHost();
        if (!instance->window_->ok())
            return nullptr;
        gls_make_current(instance->cache_.get());
        Vortel_Init(nullptr, nullptr, &instance->services);
    }
    return instance->window_->ok() ? instance : nullptr;
}

ScaffoldHost::ScaffoldHost()
    : StandInHost(Options{true, false}), window_(std::make_unique<GLWindow>(kWidth, kHeight)),
      cache_(std::make_unique<GLStateContext>(kWidth, kHeight))
{
    services.glContext = cache_.get();
}
