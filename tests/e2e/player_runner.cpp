#include "player_runner.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>

namespace fs = std::filesystem;

std::string file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> PlayerRun::lines() const
{
    std::vector<std::string> result;
    std::stringstream in(log);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> PlayerRun::lines_starting(const std::string& prefix) const
{
    std::vector<std::string> result;
    for (const std::string& line : lines())
        if (line.compare(0, prefix.size(), prefix) == 0)
            result.push_back(line);
    return result;
}

int PlayerRun::find_line(const std::string& text, int from) const
{
    std::vector<std::string> all = lines();
    for (size_t i = size_t(std::max(from, 0)); i < all.size(); ++i)
        if (all[i].find(text) != std::string::npos)
            return int(i);
    return -1;
}

std::string fresh_folder(const std::string& name)
{
    fs::path folder = fs::current_path() / ("run_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

void write_file(const std::string& folder, const std::string& name, const std::string& text)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out << text;
}

namespace
{
RunningPlayer start(const std::string& folder, const std::vector<std::string>& args,
                    const std::string& audioDriver, const Environment& environment)
{
    // An X server resets when its last client leaves and refuses connections meanwhile: one connection
    // kept open for the whole test keeps the players from starting into such a reset.
    static Display* keepServerUp = XOpenDisplay(nullptr);
    (void)keepServerUp;
    std::string program = std::string(VORTEL_BIN_DIR) + "/player";
    std::string errPath = folder + "/stderr.txt";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0)
            dup2(err, 2);
        int out = open((folder + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0)
            dup2(out, 1);
        setenv("SDL_AUDIODRIVER", audioDriver.c_str(), 1);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return RunningPlayer{int(pid), folder};
}
} // namespace

RunningPlayer start_player_in(const std::string& folder, const std::vector<std::string>& args,
                              const Environment& environment)
{
    return start(folder, args, "dummy", environment);
}

void append_file(const std::string& folder, const std::string& name, const std::string& text)
{
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::app);
    out << text;
}

bool wait_for_log(const RunningPlayer& player, const std::string& text, int seconds)
{
    return wait_for_log_count(player, text, 1, seconds);
}

bool wait_for_log_count(const RunningPlayer& player, const std::string& text, size_t count, int seconds)
{
    auto enough = [&] {
        std::string log = file_text(player.folder + "/Errorlog.txt");
        size_t found = 0;
        for (size_t at = log.find(text); at != std::string::npos && found < count;
             at = log.find(text, at + 1))
            ++found;
        return found >= count;
    };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (enough())
            return true;
        siginfo_t info{};
        bool ended =
            waitid(P_PID, id_t(player.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
        if (ended)
            return enough();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

PlayerRun finish_player(const RunningPlayer& player, int seconds)
{
    PlayerRun run;
    run.folder = player.folder;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(player.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(player.pid, SIGKILL);
            waitpid(player.pid, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status != -1 && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.log = file_text(player.folder + "/Errorlog.txt");
    run.stderrText = file_text(player.folder + "/stderr.txt");
    run.stdoutText = file_text(player.folder + "/stdout.txt");
    return run;
}

PlayerRun run_player_in(const std::string& folder, const std::vector<std::string>& args,
                        const std::string& audioDriver, const Environment& environment)
{
    return finish_player(start(folder, args, audioDriver, environment));
}

std::string fixture(const std::string& name)
{
    return std::string(VORTEL_FIXTURES) + "/" + name;
}

std::string probe_demo(const std::string& settings, const std::string& libraries, const std::string& tracks,
                       const std::string& texts)
{
    return "<?xml version=\"1.0\"?>\n<Demo>\n  <Settings " + settings + "/>\n" + libraries + tracks +
           (texts.empty() ? "" : "  <Texts>" + texts + "</Texts>\n") + "</Demo>\n";
}

std::vector<std::string> captured_frames(const std::string& folder)
{
    std::vector<std::string> frames;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("frame_", 0) == 0 && entry.path().extension() == ".png")
            frames.push_back(name);
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}
