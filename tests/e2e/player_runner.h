// Runs the real player binary in a fresh working folder and collects what it left behind.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct PlayerRun {
    int status = -1;    // exit status; -1 when it did not exit by itself
    std::string log;    // Errorlog.txt
    std::string folder; // the working folder it ran in
    std::string stderrText;
    std::string stdoutText;

    // The log lines (without line ends) that start with `prefix`.
    std::vector<std::string> lines_starting(const std::string& prefix) const;
    // Index of the first log line containing `text` at or after line `from`; -1 when there is none.
    int find_line(const std::string& text, int from = 0) const;
    std::vector<std::string> lines() const;
};

// A fresh, empty working folder for one test (under the test's build folder), named after the test.
std::string fresh_folder(const std::string& name);

// The bytes of the file at `path`; empty when it cannot be read.
std::string file_text(const std::string& path);

// Writes `text` to folder/name.
void write_file(const std::string& folder, const std::string& name, const std::string& text);

// Environment variables set (or, with an empty value, removed) for one run, on top of the test's own.
using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs <build>/bin/player with `args` in `folder` under the current X display, with SDL_AUDIODRIVER=dummy
// unless `audioDriver` names another. Gives up (and kills it) after 120 s.
PlayerRun run_player_in(const std::string& folder, const std::vector<std::string>& args,
                        const std::string& audioDriver = "dummy", const Environment& environment = {});

// A player started without waiting for it: for tests that act while it runs.
struct RunningPlayer {
    int pid = -1;
    std::string folder;
};
RunningPlayer start_player_in(const std::string& folder, const std::vector<std::string>& args,
                              const Environment& environment = {});
// Waits until the player's log has a line containing `text` (true) or the player ended or `seconds`
// passed (false).
bool wait_for_log(const RunningPlayer& player, const std::string& text, int seconds = 60);
// Waits until the player's log has at least `count` lines containing `text`.
bool wait_for_log_count(const RunningPlayer& player, const std::string& text, size_t count, int seconds = 60);
// Appends `text` to folder/name.
void append_file(const std::string& folder, const std::string& name, const std::string& text);
// Waits for the player to end (killing it after `seconds`) and collects what it left.
PlayerRun finish_player(const RunningPlayer& player, int seconds = 120);

// A path under tests/fixtures.
std::string fixture(const std::string& name);

// A demo document with the probe library and the given tracks / texts / settings attributes.
std::string probe_demo(const std::string& settings, const std::string& libraries, const std::string& tracks,
                       const std::string& texts = "");

// The files frame_NNNNN.png in folder, sorted.
std::vector<std::string> captured_frames(const std::string& folder);
