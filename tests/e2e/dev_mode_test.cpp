// Authoring mode and loops on the real player: keys are pressed through the player's test hook
// (VORTEL_DEV_SCRIPT, lines "FRAME KEY" appended while it runs), and the probe's log shows what the
// effects were called with.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <regex>
#include <thread>

#include "player_runner.h"

namespace
{

const char* const kLibrary =
    "  <Library FileName=\"Probe.so\"><Function Name=\"Probe\"><Param Name=\"count\"/>"
    "<Param Name=\"flags\"/><Param Name=\"tag\"/></Function></Library>\n";

std::string probe_event(uint32_t start, uint32_t end, int tag)
{
    return "    <Event LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"" +
           std::to_string(start) + "\" EndTime=\"" + std::to_string(end) +
           "\"><param type=\"const\" val=\"3\"/><param type=\"const\" "
           "val=\"0\"/><param type=\"const\" val=\"" +
           std::to_string(tag) + "\"/></Event>\n";
}

std::string demo(const std::string& events, uint32_t runningTime = 600000,
                 const std::string& library = kLibrary)
{
    return probe_demo("RunningTime=\"" + std::to_string(runningTime) +
                          "\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                      library, "  <Track>\n" + events + "  </Track>\n");
}

struct ProbeCall {
    int phase, local, tag;
};

// The probe's calls in log order, with the log line index of each.
std::vector<std::pair<int, ProbeCall>> probe_calls(const PlayerRun& run)
{
    static const std::regex call(R"(^probe Probe phase=(-?\d+) local=(-?\d+) .* args=\[3 0 (\d+)\]$)");
    std::vector<std::pair<int, ProbeCall>> calls;
    std::vector<std::string> lines = run.lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (std::regex_match(lines[i], m, call))
            calls.push_back({int(i), {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3])}});
    }
    return calls;
}

// Whether a top-level window's title holds `text` before `seconds` pass (polled: the title is refreshed a
// few times a second).
bool window_title_shows(const std::string& text, int seconds = 60)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    // Other tests' windows come and go on the same X server: one gone between the listing and the
    // question is an X error, which must not end the test program.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    bool found = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!found && std::chrono::steady_clock::now() < deadline) {
        Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, root, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i) {
                char* name = nullptr;
                if (XFetchName(display, children[i], &name) && name) {
                    found = std::strstr(name, text.c_str()) != nullptr;
                    XFree(name);
                }
            }
            XFree(children);
        }
        if (!found)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    return found;
}

class DevMode : public ::testing::Test
{
protected:
    RunningPlayer start(const std::string& name, const std::string& document, std::vector<std::string> args,
                        const std::string& keys = "")
    {
        folder = fresh_folder(name);
        write_file(folder, "demo.xml", document);
        write_file(folder, "keys.txt", keys);
        args.insert(args.end(), {"--size", "160x120", "demo.xml"});
        return start_player_in(folder, args, {{"VORTEL_DEV_SCRIPT", folder + "/keys.txt"}});
    }
    void press(const std::string& key, int frame = 0)
    {
        append_file(folder, "keys.txt", std::to_string(frame) + " " + key + "\n");
    }

    std::string folder;
};

TEST_F(DevMode, ReloadKeepsABrokenDocumentOutAndSwitchesToAGoodOne)
{
    RunningPlayer player = start("dev_reload", demo(probe_event(0, 600000, 1)), {"--dev"});
    ASSERT_TRUE(wait_for_log(player, "phase=1 local=")) << "the demo started";

    press("r");
    ASSERT_TRUE(wait_for_log(player, "Reload: demo.xml has not changed."));

    write_file(folder, "demo.xml", "<?xml version=\"1.0\"?>\n<Demo><Settings RunningTime=\"10\"");
    press("r");
    ASSERT_TRUE(wait_for_log(player, "Reload refused, the demo goes on unchanged: An XML error occurred"));

    std::string otherLibraries = std::string(kLibrary) + "  <Library FileName=\"Paint.so\"/>\n";
    write_file(folder, "demo.xml", demo(probe_event(0, 600000, 1), 600000, otherLibraries));
    press("r");
    ASSERT_TRUE(wait_for_log(player, "Reload refused, the demo goes on unchanged: The document names other "
                                     "libraries than the one playing: restart the player to load them."));
    write_file(folder, "demo.xml", demo(probe_event(0, 300000, 2) + probe_event(300000, 600000, 3)));
    press("r");
    ASSERT_TRUE(wait_for_log(player, "args=[3 0 2]"));
    ASSERT_TRUE(wait_for_log_count(player, "phase=1 local=", 5));
    press("escape");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;

    int refused = run.find_line("libraries than the one playing");
    int loaded = run.find_line("Reload: demo.xml loaded.");
    ASSERT_GT(loaded, refused);
    std::vector<std::pair<int, ProbeCall>> calls = probe_calls(run);
    bool ranAfterRefusal = false;
    const ProbeCall* lastOld = nullptr;
    const ProbeCall* firstNew = nullptr;
    for (const auto& [line, c] : calls) {
        if (line > refused && line < loaded && c.tag == 1 && c.phase == 1)
            ranAfterRefusal = true;
        if (line > loaded && !lastOld)
            lastOld = &c;
        else if (line > loaded && lastOld && !firstNew)
            firstNew = &c;
    }
    EXPECT_TRUE(ranAfterRefusal) << "the old document kept playing";
    ASSERT_TRUE(lastOld && firstNew);
    EXPECT_EQ(lastOld->tag, 1);
    EXPECT_EQ(lastOld->phase, -1) << "the old event got its last call";
    EXPECT_EQ(firstNew->tag, 2);
    EXPECT_EQ(firstNew->phase, 0) << "the new event got its first call";
    EXPECT_GE(firstNew->local, lastOld->local) << "the demo time went on from where it was";
    EXPECT_LT(firstNew->local, lastOld->local + 2000);
}

TEST_F(DevMode, SeekingMovesTheDemoTimeAndPauseHoldsIt)
{
    // Frame numbers, not moments: the same keys at the same frames on a fast or a slow machine.
    RunningPlayer player = start("dev_seek", demo(probe_event(0, 600000, 1)), {"--dev"},
                                 "20 shift+right\n40 left\n60 space\n200 escape\n");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;

    std::vector<int> locals;
    for (const auto& [line, c] : probe_calls(run))
        if (c.phase == 1)
            locals.push_back(c.local);
    ASSERT_GE(locals.size(), 40u);
    bool forward = false, back = false;
    for (size_t i = 1; i < locals.size(); ++i) {
        int step = locals[i] - locals[i - 1];
        forward = forward || (step >= 9000 && step < 11000 && !back);
        back = back || (forward && step <= -900 && step > -1100);
    }
    EXPECT_TRUE(forward) << "Shift+Right went 10 s ahead";
    EXPECT_TRUE(back) << "then Left 1 s back";
    std::vector<int> tail(locals.end() - 20, locals.end());
    EXPECT_EQ(std::count(tail.begin(), tail.end(), tail.front()), 20) << "paused frames show one time";
    EXPECT_GT(tail.front(), 8900);
}

TEST_F(DevMode, LoopRepeatsTheRangeAndReentersItsEvents)
{
    // Event 1 runs 0..300 ms, event 2 from 300 ms: the loop 200..400 enters both every round.
    RunningPlayer player = start("dev_loop", demo(probe_event(0, 300, 1) + probe_event(300, 1000, 2), 1000),
                                 {"--dev", "--loop", "200-400"});
    ASSERT_TRUE(wait_for_log_count(player, "phase=0 local=", 6)) << "three rounds";
    press("escape");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;
    int firstCallsOfEvent1 = 0;
    for (const auto& [line, c] : probe_calls(run)) {
        int t = c.local + (c.tag == 2 ? 300 : 0);
        EXPECT_GE(t, 200) << "line " << line;
        EXPECT_LE(t, 400 + 100) << "line " << line << ": a frame after the end of the range at most";
        firstCallsOfEvent1 += c.tag == 1 && c.phase == 0;
    }
    EXPECT_GE(firstCallsOfEvent1, 3);
}

TEST_F(DevMode, ASeekPastTheEndPausesOnTheLastFrameInsteadOfQuitting)
{
    RunningPlayer player =
        start("dev_end", demo(probe_event(0, 600000, 1), 5000), {"--dev"}, "5 shift+right\n");
    ASSERT_TRUE(wait_for_log(player, "Dev: the demo ends at 5000 ms; paused on its last frame"));
    ASSERT_TRUE(wait_for_log_count(player, "phase=1 local=5000 ", 30)) << "frames go on after the end";
    EXPECT_TRUE(window_title_shows("5.000 s  paused"));
    press("escape");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;
    for (const auto& [line, c] : probe_calls(run))
        EXPECT_LE(c.local, 5000) << "line " << line;
}

TEST_F(DevMode, SavingTheDocumentOrAFileItNamesReloadsAndARefusalShowsOnTheTerminal)
{
    const std::string texts = "<Text>notes.txt</Text>";
    auto document = [&](int tag) {
        return probe_demo("RunningTime=\"600000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"", kLibrary,
                          "  <Track>\n" + probe_event(0, 600000, tag) + "  </Track>\n", texts);
    };
    folder = fresh_folder("dev_watch");
    write_file(folder, "notes.txt", "first");
    write_file(folder, "demo.xml", document(1));
    write_file(folder, "keys.txt", "");
    RunningPlayer player = start_player_in(folder, {"--dev", "--size", "160x120", "demo.xml"},
                                           {{"VORTEL_DEV_SCRIPT", folder + "/keys.txt"}});
    ASSERT_TRUE(wait_for_log(player, "args=[3 0 1]"));

    write_file(folder, "demo.xml", document(2));
    ASSERT_TRUE(wait_for_log(player, "args=[3 0 2]")) << "saving the document reloaded it";
    write_file(folder, "demo.xml", "<?xml version=\"1.0\"?>\n<Demo><Settings");
    ASSERT_TRUE(wait_for_log(player, "Reload refused, the demo goes on unchanged: An XML error occurred"));
    write_file(folder, "demo.xml", document(3));
    ASSERT_TRUE(wait_for_log(player, "args=[3 0 3]"));
    append_file(folder, "notes.txt", " and second");
    ASSERT_TRUE(wait_for_log(player, "Reload: notes.txt was saved."));
    ASSERT_TRUE(wait_for_log_count(player, "args=[3 0 3]", 2)) << "the unchanged document was read again";
    press("escape");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_NE(
        run.stderrText.find("player: Reload refused, the demo goes on unchanged: An XML error occurred"),
        std::string::npos)
        << run.stderrText;
    int saved = run.find_line("Reload: notes.txt was saved.");
    int firstCall = -1;
    for (const auto& [line, c] : probe_calls(run))
        if (line > saved && c.phase == 0 && firstCall < 0)
            firstCall = line;
    EXPECT_GT(firstCall, saved) << "the event started afresh after the named file was saved";
}

TEST_F(DevMode, ALoopPastTheRunningTimeIsClampedWithAMessage)
{
    RunningPlayer player =
        start("dev_loop_clamped", demo(probe_event(0, 500, 1) + probe_event(500, 1000, 2), 1000),
              {"--dev", "--loop", "2000-9000"});
    ASSERT_TRUE(wait_for_log_count(player, "phase=0 local=", 6)) << "three rounds of the clamped range";
    press("escape");
    PlayerRun run = finish_player(player);
    ASSERT_EQ(run.status, 0) << run.log;
    const std::string message =
        "--loop 2000-9000 goes past the end of the demo (RunningTime 1000 ms): looping "
        "0-1000 instead";
    EXPECT_NE(run.find_line(message), -1) << run.log;
    EXPECT_NE(run.stderrText.find(message), std::string::npos) << run.stderrText;
}

} // namespace
