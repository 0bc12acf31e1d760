// Capture rates on the showcase's first scene at 1280 x 720 and 30 fps (1000..5000 ms, 121 frames), in one
// run: the live render rate of those frames in this process (showcase_session.h), then whole runs of the
// built player (bin/player on bin/player.xml) capturing them to PNG files, to a video (with the encoder's
// default preset and with the fastest), supersampled by 2 and with 8 motion-blur sub-frames. Each capture
// benchmark times a one-frame run and the whole range with the same options; the frames between them over the
// time between them give frames_per_second, so the player's start-up is left out. Run it under Xvfb:
//   xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" bin/bench_capture
// The video benchmark needs ffmpeg on PATH. Absolute figures move with the machine's load: compare the
// benchmarks of one run.
#include "showcase_session.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr uint32_t kFrom = 1000, kTo = 5000, kFps = 30;

// Runs the player with `options` on the range from kFrom to `to` in a fresh folder; returns the seconds it
// took, or a negative number when it did not end with status 0.
double run_player(const std::vector<std::string>& options, uint32_t to)
{
    const std::string bin = showcase_session::program_folder();
    char folder[] = "/tmp/bench_capture.XXXXXX";
    if (!mkdtemp(folder))
        return -1.0;
    std::vector<std::string> args = {
        bin + "/player",       "--size", "1280x720",        "--fps", std::to_string(kFps), "--from",
        std::to_string(kFrom), "--to",   std::to_string(to)};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(bin + "/player.xml");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder) != 0)
            _exit(127);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = -1;
    if (pid > 0)
        waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

void Live(benchmark::State& state)
{
    showcase_session::play_frames(state, kFrom, kTo);
}

// state.range(0) picks the options: 0 PNG, 1 video, 2 PNG supersampled by 2, 3 PNG with motion blur 8,
// 4 video with the fastest encoder preset.
void Capture(benchmark::State& state)
{
    static const std::vector<std::string> kOptions[] = {
        {"--capture", "frames"},
        {"--video", "capture.mp4"},
        {"--capture", "frames", "--supersample", "2"},
        {"--capture", "frames", "--motion-blur", "8"},
        {"--video", "capture.mp4", "--preset", "ultrafast"},
    };
    const std::vector<std::string>& options = kOptions[state.range(0)];
    const double frames = double(kTo - kFrom) * kFps / 1000.0; // beyond the first
    for (auto _ : state) {
        const double one = run_player(options, kFrom), all = run_player(options, kTo);
        if (one < 0 || all < 0) {
            state.SkipWithError("the player failed (is it built, with bin/player.xml; ffmpeg for video?)");
            return;
        }
        state.SetIterationTime(all - one);
        state.counters["frames_per_second"] = frames / (all - one);
    }
}

} // namespace

BENCHMARK(Live)->Name("Capture/live")->MinTime(3.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Capture)->Name("Capture/png")->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Capture)->Name("Capture/video")->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(Capture)
    ->Name("Capture/video_ultrafast")
    ->Arg(4)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(Capture)
    ->Name("Capture/png_supersample2")
    ->Arg(2)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(Capture)
    ->Name("Capture/png_motion_blur8")
    ->Arg(3)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
