// Runs the real player binary in a fresh working folder and collects what it left behind.
#pragma once

#include <string>
#include <vector>

struct PlayerRun {
    int status = -1;    // exit status; -1 when it did not exit by itself
    std::string log;    // Errorlog.txt
    std::string folder; // the working folder it ran in
    std::string stderrText;

    // The log lines (without line ends) that start with `prefix`.
    std::vector<std::string> lines_starting(const std::string& prefix) const;
    // Index of the first log line containing `text` at or after line `from`; -1 when there is none.
    int find_line(const std::string& text, int from = 0) const;
    std::vector<std::string> lines() const;
};

// A fresh, empty working folder for one test (under the test's build folder), named after the test.
std::string fresh_folder(const std::string& name);

// Writes `text` to folder/name.
void write_file(const std::string& folder, const std::string& name, const std::string& text);

// Runs <build>/bin/player with `args` in `folder` under the current X display, with SDL_AUDIODRIVER=dummy
// unless `audioDriver` names another. Gives up (and kills it) after 120 s.
PlayerRun run_player_in(const std::string& folder, const std::vector<std::string>& args,
                        const std::string& audioDriver = "dummy");

// A path under tests/fixtures.
std::string fixture(const std::string& name);

// A demo document with the probe library and the given tracks / texts / settings attributes.
std::string probe_demo(const std::string& settings, const std::string& libraries, const std::string& tracks,
                       const std::string& texts = "");

// The files frame_NNNNN.png in folder, sorted.
std::vector<std::string> captured_frames(const std::string& folder);
