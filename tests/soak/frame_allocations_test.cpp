// The frame loop allocates nothing per frame once the demo runs: the showcase is started as the player
// starts it (libraries, services, preloading) and then driven frame by frame on a fixed clock, every heap
// allocation of the process's main thread counted through the sanitizer allocator's hooks.
//
// A frame in which an event starts or ends may allocate (first calls make their records and nodes, last
// calls free them); every other frame must not, in the timeline and in presenting alike.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <gl_window.h>
#include <glstate.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <execinfo.h>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

#include "data_file.h"
#include "demo_loader.h"
#include "error_log.h"
#include "frame_loop.h"
#include "library_host.h"
#include "player_runner.h"
#include "preload.h"
#include "registry.h"
#include "services.h"
#include "timeline.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
#define VORTEL_COUNTS_ALLOCATIONS 1
#endif

namespace
{

// Only the thread that runs the frames counts: llvmpipe's rasteriser threads are the driver's business.
thread_local bool tCounting = false;

// Who asked for the memory: the first caller outside the sanitizer, the C and C++ runtimes. Ours (the
// test program with player_core, and the plug-ins beside the player) are counted by function; the GL
// driver, X and SDL only in total.
struct Tally {
    uint64_t ours = 0, foreign = 0;
    std::map<std::string, uint64_t> byFunction;
};
Tally gTally;

bool is_runtime(const char* module)
{
    for (const char* runtime : {"libasan", "libubsan", "libc.so", "libstdc++", "libgcc_s", "libm.so"})
        if (std::strstr(module, runtime))
            return true;
    return false;
}

[[maybe_unused]] void count_allocation(const volatile void*, size_t)
{
    if (!tCounting)
        return;
    tCounting = false; // what follows may allocate itself
    void* frames[64];
    const int n = backtrace(frames, 64);
    // The sanitizer's frames, this hook, the sanitizer's allocator, then the runtime's own callers
    // (operator new, strdup, ...): the frame after those is the one that asked.
    Dl_info info{};
    auto in_runtime = [&](int i) {
        return dladdr(frames[i], &info) && info.dli_fname && is_runtime(info.dli_fname);
    };
    int i = 0;
    while (i < n && in_runtime(i))
        ++i;
    ++i;
    while (i < n && in_runtime(i))
        ++i;
    static Dl_info self{};
    if (!self.dli_fbase)
        dladdr(reinterpret_cast<void*>(&count_allocation), &self);
    const bool known = i < n && dladdr(frames[i], &info) && info.dli_fname;
    const std::string module = known ? info.dli_fname : "?";
    const bool ours = known && (info.dli_fbase == self.dli_fbase || module.find(VORTEL_BIN_DIR) == 0);
    if (ours) {
        ++gTally.ours;
        const std::string name = module.substr(module.find_last_of('/') + 1) + " " +
                                 (info.dli_sname ? info.dli_sname : "(static function)");
        ++gTally.byFunction[name];
    } else {
        ++gTally.foreign;
    }
    tCounting = true;
}

// The sanitizer takes hooks only in pairs.
[[maybe_unused]] void ignore_free(const volatile void*) {}

// The allocations made while `work` runs on this thread, added to `into`.
template <typename Work> void count_in(Tally& into, Work&& work)
{
    gTally = Tally{};
    tCounting = true;
    work();
    tCounting = false;
    into.ours += gTally.ours;
    into.foreign += gTally.foreign;
    for (const auto& [name, count] : gTally.byFunction)
        into.byFunction[name] += count;
}

constexpr int kWidth = 160, kHeight = 90;
constexpr int32_t kFps = 10;

// The active event of every track at one frame, as "function@track#event".
std::set<std::string> active_events(const Demo& demo, const Timeline& timeline)
{
    std::set<std::string> active;
    for (size_t track = 0; track < timeline.track_count(); ++track) {
        const int32_t index = timeline.run_state(track).activeIndex;
        if (index >= 0)
            active.insert(demo.tracks[track].events[size_t(index)].functionName + "@" +
                          std::to_string(track) + "#" + std::to_string(index));
    }
    return active;
}

TEST(FrameAllocations, TheShowcaseAllocatesNothingBetweenItsEventsStartingAndEnding)
{
#ifndef VORTEL_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "allocations are counted through the sanitizer allocator: build with VORTEL_SANITIZE";
#else
    const std::string folder = fresh_folder("frame_allocations_" + std::to_string(getpid()));
    ASSERT_EQ(std::system(("cp '" VORTEL_BIN_DIR "/showcase'/* '" + folder + "/'").c_str()), 0);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    log_open("Errorlog.txt");

    Demo demo;
    load_demo("showcase.xml", demo);
    set_texts(&demo.texts);
    GLWindow window(kWidth, kHeight);
    ASSERT_TRUE(window.ok());
    load_libraries(demo, LibrarySearch{".", VORTEL_BIN_DIR});
    bind_events(demo);
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_Surface* outputs[2] = {
        SDL_CreateRGBSurface(0, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
        SDL_CreateRGBSurface(0, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)};
    GLStateContext gl(kWidth, kHeight);
    gls_make_current(&gl);
    registry_set_sink(Log);
    ServicesStruct services{};
    services_fill(&services, &gl);
    ASSERT_TRUE(init_libraries(demo, outputs, nullptr, &services));
    open_data_file(demo.hasDataFile ? demo.dataFile.c_str() : nullptr);
    const Presenter presenter{true, screen, outputs[0]};
    preload_resources(demo, presenter);

    // Hooks cannot be taken out again: they stay, counting only while tCounting is set.
    static const int hooked = __sanitizer_install_malloc_and_free_hooks(count_allocation, ignore_free);
    ASSERT_NE(hooked, 0);
    uint64_t steadyFrames = 0;
    Tally steady, changing, presenting;
    {
        Timeline timeline(demo);
        std::set<std::string> before;
        bool stop = false;
        for (uint32_t frame = 0;; ++frame) {
            const uint32_t t = uint32_t(uint64_t(frame) * 1000 / kFps);
            if (t > demo.runningTime)
                break;
            Tally inTimeline;
            count_in(inTimeline, [&] { timeline.run_frame(t); });
            count_in(presenting, [&] {
                presenter.present();
                poll_events(&stop);
            });
            std::set<std::string> now = active_events(demo, timeline);
            const bool isSteady = now == before;
            steadyFrames += isSteady;
            count_in(isSteady ? steady : changing, [] {});
            Tally& into = isSteady ? steady : changing;
            into.ours += inTimeline.ours;
            into.foreign += inTimeline.foreign;
            for (const auto& [name, count] : inTimeline.byFunction)
                into.byFunction[name] += count;
            before = std::move(now);
        }
        timeline.finish(demo.runningTime + 1);
    }

    auto report = [](const char* what, const Tally& tally) {
        std::printf("%s: %llu allocations by our code, %llu by the GL driver and system libraries\n", what,
                    (unsigned long long)tally.ours, (unsigned long long)tally.foreign);
        for (const auto& [name, count] : tally.byFunction)
            std::printf("    %8llu  %s\n", (unsigned long long)count, name.c_str());
    };
    std::printf("%llu steady frames\n", (unsigned long long)steadyFrames);
    report("steady frames", steady);
    report("frames where events start or end", changing);
    report("presenting and polling", presenting);
    EXPECT_GT(steadyFrames, uint64_t(kFps) * 30) << "most of the showcase is steady";
    EXPECT_EQ(presenting.ours, 0u);
    // Everything reuses what it has, the flame morph's mesh regenerated in place, a ribbon over a swarm
    // made anew each frame, that swarm's colours and pictures of an off-screen buffer (its texture is never
    // static) included: none of it may allocate in a steady frame.
    for (const auto& [function, count] : steady.byFunction)
        ADD_FAILURE() << count << " allocations in steady frames by " << function;
    EXPECT_EQ(steady.ours, 0u);

    quit_libraries(demo);
    gls_make_current(nullptr);
    SDL_FreeSurface(outputs[0]);
    SDL_FreeSurface(outputs[1]);
    unload_libraries(demo);
    set_texts(nullptr);
    open_data_file(nullptr);
    log_close();
#endif
}

} // namespace
