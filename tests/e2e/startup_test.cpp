// The player from start to end on probe demos: what every library and effect is called with, in which
// order, across frames; the verbose start-up lines; the exit status of a demo that plays to its end.
#include <gtest/gtest.h>

#include <regex>

#include "player_runner.h"

namespace
{

// "probe Probe phase=0 local=0 const=1 status=0 start=0 dur=100 args=[3 0 10]" -> "Probe 0 0 [3 0 10]";
// entry points keep their names without the "probe " prefix.
std::vector<std::string> probe_calls(const PlayerRun& run)
{
    static const std::regex call(R"(^probe (\w+) phase=(-?\d+) local=(-?\d+) .*args=(\[.*\])$)");
    std::vector<std::string> calls;
    for (const std::string& line : run.lines_starting("probe ")) {
        std::smatch m;
        if (std::regex_match(line, m, call))
            calls.push_back(m[1].str() + " " + m[2].str() + " " + m[3].str() + " " + m[4].str());
        else
            calls.push_back(line.substr(6));
    }
    return calls;
}

TEST(PlayerRun, CallsEveryEventInTheDesignedOrderAcrossFrames)
{
    std::string folder = fresh_folder("order");
    PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "100", "--size", "64x48", fixture("e2e_order.xml")});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;

    std::vector<std::string> expected = {"Vortel_Init"};
    const std::string A = "[3 0 10]", B = "[3 0 11]", C = "[3 0 20]";
    for (int t = 0; t <= 200; t += 10) {
        std::string local = std::to_string(t), localB = std::to_string(t - 100);
        if (t == 100)
            expected.push_back("Probe -1 100 " + A); // A's last call comes before the new frame
        if (t == 200) {
            expected.push_back("Probe -1 200 " + C); // last calls: the last track first
            expected.push_back("Probe -1 100 " + B);
        }
        expected.push_back("Vortel_BeginNewFrame 0");
        if (t == 0) {
            expected.push_back("Probe 0 0 " + C); // first calls: the last track first
            expected.push_back("Probe 0 0 " + A);
        }
        if (t == 100)
            expected.push_back("Probe 0 0 " + B);
        if (t < 200) {
            expected.push_back("Probe 1 " + local + " " + C); // running calls: the last track first
            expected.push_back(t < 100 ? "Probe 1 " + local + " " + A : "Probe 1 " + localB + " " + B);
        }
    }
    expected.push_back("Vortel_Quit");
    EXPECT_EQ(probe_calls(run), expected);
}

TEST(PlayerRun, EventsStillActiveWhenTheDemoEndsGetNoLastCall)
{
    std::string folder = fresh_folder("no_last_call");
    write_file(folder, "demo.xml",
               probe_demo("RunningTime=\"50\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                          "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>",
                          "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                          "EndTime=\"1000\"><param type=\"const\" val=\"1\"/></E></Track>"));
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "50", "--size", "64x48", "demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log;
    std::vector<std::string> calls = probe_calls(run);
    EXPECT_EQ(calls, (std::vector<std::string>{"Vortel_Init", "Vortel_BeginNewFrame 0", "Probe 0 0 [1]",
                                               "Probe 1 0 [1]", "Vortel_BeginNewFrame 0", "Probe 1 20 [1]",
                                               "Vortel_BeginNewFrame 0", "Probe 1 40 [1]", "Vortel_Quit"}));
}

TEST(PlayerRun, RealTimeRunEndsAfterRunningTimeWithStatusZero)
{
    std::string folder = fresh_folder("real_time");
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", fixture("e2e_order.xml")});
    EXPECT_EQ(run.status, 0) << run.log << run.stderrText;
    // Every running call happens at a clock reading within the demo; the last calls at its end.
    std::vector<std::string> running = run.lines_starting("probe Probe phase=1 ");
    ASSERT_FALSE(running.empty());
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1);
    EXPECT_EQ(run.find_line("Something went horribly wrong"), -1);
}

TEST(PlayerRun, VerboseLogShowsTheStartUpSteps)
{
    std::string folder = fresh_folder("verbose");
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "10", "--size", "64x48",
                                           fixture("e2e_order.xml"), "0", "255", "1.0", "-log"});
    ASSERT_EQ(run.status, 0) << run.log;
    int gl = run.find_line("Initializing openGL state ");
    int warn = run.find_line("Setting warning function", gl);
    int viewport = run.find_line("Setting viewport to correct aspect ratio ", warn);
    int libs = run.find_line("Initialising libraries: ", viewport);
    int lib = run.find_line("Initializing lib Probe.so ... ", libs);
    int init = run.find_line("probe Vortel_Init", lib);
    EXPECT_GE(gl, 0);
    EXPECT_GT(init, lib) << run.log;
    EXPECT_GT(lib, libs);
}

TEST(PlayerRun, QuietLogWithoutTheLogSwitch)
{
    std::string folder = fresh_folder("quiet");
    PlayerRun run =
        run_player_in(folder, {"--capture", "f", "--fps", "10", "--size", "64x48", fixture("e2e_order.xml")});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.find_line("Initializing"), -1) << run.log;
    EXPECT_EQ(run.lines().front(), "probe Vortel_Init");
}

TEST(PlayerRun, RunningTimeZeroDrawsFramesAtZeroAndOneMillisecond)
{
    std::string folder = fresh_folder("running_time_zero");
    write_file(folder, "demo.xml",
               probe_demo("RunningTime=\"0\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                          "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>",
                          "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                          "EndTime=\"10\"><param type=\"const\" val=\"1\"/></E></Track>"));
    PlayerRun captured =
        run_player_in(folder, {"--capture", "f", "--fps", "1000", "--size", "64x48", "demo.xml"});
    ASSERT_EQ(captured.status, 0) << captured.log;
    EXPECT_EQ(captured.lines_starting("probe Probe phase=1 local=0 ").size(), 1u);
    EXPECT_EQ(captured.lines_starting("probe Probe phase=1 local=1 ").size(), 1u);
    EXPECT_EQ(captured.lines_starting("probe Probe phase=1 ").size(), 2u);

    PlayerRun realTime = run_player_in(folder, {"--no-setup", "--size", "64x48", "demo.xml"});
    ASSERT_EQ(realTime.status, 0) << realTime.log;
    std::vector<std::string> running = realTime.lines_starting("probe Probe phase=1 ");
    ASSERT_FALSE(running.empty());
    for (const std::string& line : running)
        EXPECT_TRUE(line.find("local=0 ") != std::string::npos || line.find("local=1 ") != std::string::npos)
            << line;
}

TEST(PlayerRun, GammaThatIsNoPositiveNumberIsLeftAlone)
{
    std::string folder = fresh_folder("bad_gamma");
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "10", "--size", "64x48",
                                           fixture("e2e_order.xml"), "0", "255", "bright"});
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(run.lines().front(), "Gamma 0 is no positive number: the display's gamma is left alone.");
}

TEST(PlayerRun, HelpAndVersionNeedNoDemo)
{
    std::string folder = fresh_folder("help");
    EXPECT_EQ(run_player_in(folder, {"--help"}).status, 0);
    EXPECT_EQ(run_player_in(folder, {"--version"}).status, 0);
}

} // namespace
