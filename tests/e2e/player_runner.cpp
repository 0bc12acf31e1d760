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

namespace
{
std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

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

PlayerRun run_player_in(const std::string& folder, const std::vector<std::string>& args,
                        const std::string& audioDriver)
{
    // An X server resets when its last client leaves and refuses connections meanwhile: one connection
    // kept open for the whole test keeps the players from starting into such a reset.
    static Display* keepServerUp = XOpenDisplay(nullptr);
    (void)keepServerUp;
    PlayerRun run;
    run.folder = folder;
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
        setenv("SDL_AUDIODRIVER", audioDriver.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status != -1 && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.log = read_file(folder + "/Errorlog.txt");
    run.stderrText = read_file(errPath);
    return run;
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
