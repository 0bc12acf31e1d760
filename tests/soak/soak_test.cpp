// The showcase captured for its whole length three times over in one player run (--repeat 3): the resident
// memory at the end of every pass, the frames of the passes against each other, and a clean exit.
#include <gtest/gtest.h>

#include <gl_window.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "player_runner.h"

namespace
{

const std::string kShowcase = std::string(VORTEL_BIN_DIR) + "/showcase";
constexpr int kFps = 5;
constexpr int kRunningTime = 72000;
constexpr int kPasses = 3;
constexpr int kFramesPerPass = kRunningTime * kFps / 1000 + 1;
// What a pass may add to the resident memory once the first has run: caches and the allocator's pools are
// warm by then, so anything beyond noise (well under 1 MiB) is memory kept per pass.
constexpr long kToleranceKiB = 4 * 1024;

long resident_kib(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

bool has_ended(int pid)
{
    siginfo_t info{};
    return waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

size_t frames_in(const std::string& folder)
{
    return captured_frames(folder).size();
}

TEST(Soak, ShowcaseThreeTimesOverKeepsItsMemoryAndItsFrames)
{
    const std::string folder = fresh_folder("soak_" + std::to_string(getpid()));
    ASSERT_EQ(std::system(("cp '" + kShowcase + "'/* '" + folder + "/'").c_str()), 0);
    // Under the sanitizer the resident memory is made a high-water mark of the heap: freed blocks are
    // reused at once (no quarantine) and never handed back to the system. A pass that needs no more
    // memory than the one before then leaves it exactly where it was; one that keeps memory raises it.
    const char* inherited = std::getenv("ASAN_OPTIONS");
    const std::string asan = std::string(inherited ? inherited : "") +
                             ":quarantine_size_mb=0:allocator_release_to_os_interval_ms=-1";
    RunningPlayer player =
        start_player_in(folder,
                        {"--size", "160x90", "--capture", "frames", "--fps", std::to_string(kFps), "--repeat",
                         std::to_string(kPasses), "showcase.xml"},
                        {{"ASAN_OPTIONS", asan}});
    ASSERT_GT(player.pid, 0);

    // The resident memory last seen while each pass was still being captured.
    std::vector<long> endOfPass(kPasses, -1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(8);
    while (!has_ended(player.pid) && std::chrono::steady_clock::now() < deadline) {
        const long rss = resident_kib(player.pid);
        const size_t frames = frames_in(folder + "/frames");
        // Once the last frame is written the player shuts down and lets go of its window and driver.
        if (rss > 0 && frames > 0 && frames < size_t(kPasses * kFramesPerPass))
            endOfPass[frames / kFramesPerPass] = rss;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    PlayerRun run = finish_player(player, 30);
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_EQ(run.stderrText.find("Sanitizer"), std::string::npos) << run.stderrText;
    EXPECT_EQ(run.stderrText.find("runtime error"), std::string::npos) << run.stderrText;
    ASSERT_EQ(frames_in(folder + "/frames"), size_t(kPasses * kFramesPerPass));

    for (int p = 0; p < kPasses; ++p) {
        std::printf("soak: resident memory at the end of pass %d: %ld KiB\n", p + 1, endOfPass[p]);
        ASSERT_GT(endOfPass[p], 0) << "pass " << p + 1 << " was never seen running";
    }
    EXPECT_LE(endOfPass[kPasses - 1] - endOfPass[0], kToleranceKiB) << "memory grows pass by pass";
    EXPECT_LE(endOfPass[kPasses - 1] - endOfPass[kPasses - 2], kToleranceKiB / 2);

    // Every pass starts its events afresh: the last pass draws what the first drew, frame for frame.
    for (int ms : {0, 6000, 18000, 32000, 44000, 52000, 62000, kRunningTime}) {
        const int k = ms * kFps / 1000;
        char first[40], last[40];
        std::snprintf(first, sizeof first, "/frames/frame_%05d.png", k);
        std::snprintf(last, sizeof last, "/frames/frame_%05d.png", k + (kPasses - 1) * kFramesPerPass);
        const Picture a = Picture::load_png(folder + first), b = Picture::load_png(folder + last);
        ASSERT_GT(a.width, 0) << first;
        EXPECT_EQ(a.rgba, b.rgba) << "pass " << kPasses << " differs from pass 1 at " << ms << " ms";
    }
}

} // namespace
