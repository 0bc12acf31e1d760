#include "preload.h"

#include "data_file.h"
#include "dispatch.h"
#include "registry.h"
#include "timeline.h"

EffectFn find_loader_animation(const Demo& demo)
{
    if (!demo.hasLoaderAnim || demo.loaderAnim.empty())
        return nullptr;
    for (const LibraryRecord& library : demo.libraries)
        for (const FunctionDeclaration& function : library.functions)
            if (function.name == demo.loaderAnim)
                return function.function;
    return nullptr;
}

void preload_resources(Demo& demo, const Presenter& presenter)
{
    EffectFn loader = find_loader_animation(demo);
    if (demo.runningTime == 0)
        demo.runningTime = 1;
    size_t total = 0;
    for (const Track& track : demo.tracks)
        total += track.events.size();
    if (total == 0)
        return;

    StateStruct state{};
    state.phase = 1;
    state.status = 0;
    state.startTime = 0;
    state.duration = int32_t(total);
    state.paramsConstant = true;
    state.GetParam = timeline_get_param;
    void* loaderData = nullptr;

    size_t j = 0;
    for (const Track& track : demo.tracks) {
        for (const Event& event : track.events) {
            for (const ResourcePreload& preload : event_resource_preloads(demo, event)) {
                int32_t userData = preload.userDataWord;
                bool flag = false;
                AcquireByIndex(preload.type, preload.textIndex, &userData, false, "vortelLoadResources",
                               "some resource", &flag);
            }
            int32_t progress = int32_t(uint64_t(j + 1) * 10000 / total);
            if (loader) {
                state.localTime = int32_t(j);
                dispatch_effect(loader, &state, &loaderData, &progress, 1);
            }
            presenter.present();
            ++j;
        }
    }
}
