// A beat file read by Media drives a beat parameter of a demo played by the real player: the probe
// plug-in logs the value it is given at every captured frame.
#include "player_runner.h"

#include <gtest/gtest.h>

namespace
{

// One bar of a second: the value climbs from 0 to 1 over half a second and falls back over the other half.
const char* kPattern = "start 0\nlength 10000\nbar 1000\nbeat 500 0\nbeat 500 1\nend 0\n";

std::string beat_demo(const std::string& beatName)
{
    return probe_demo(
        "RunningTime=\"2000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
        "  <Library FileName=\"Media.so\"/>\n"
        "  <Library FileName=\"Probe.so\"><Function Name=\"Probe\"><Param Name=\"count\"/>"
        "<Param Name=\"flags\"/><Param Name=\"value\"/></Function></Library>\n",
        "  <Track>\n"
        "    <Event LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" EndTime=\"2000\">\n"
        "      <param type=\"const\" val=\"3\"/>\n"
        "      <param type=\"const\" val=\"0\"/>\n"
        "      <param type=\"beat\" ID=\"0\" min=\"10\" max=\"1000\"/>\n"
        "    </Event>\n"
        "  </Track>\n",
        "<Text>" + beatName + "</Text>");
}

std::vector<std::string> probe_words(const PlayerRun& run)
{
    std::vector<std::string> words;
    for (const std::string& line : run.lines_starting("probe Probe phase=1")) {
        const size_t at = line.find("args=[3 0 ");
        if (at != std::string::npos)
            words.push_back(line.substr(at + 10, line.find(']', at) - at - 10));
    }
    return words;
}

TEST(BeatDemo, TheBeatFileShapesTheParameterEveryFrame)
{
    const std::string folder = fresh_folder("beat_demo");
    write_file(folder, "pattern.beat", kPattern);
    write_file(folder, "demo.xml", beat_demo("pattern.beat"));
    const PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "8", "--to", "1000", "--size", "64x48", "demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    // Frames at 125 ms steps; the first call (at 0) is not a running call. 10 + 1000 x the bar's phase.
    EXPECT_EQ(probe_words(run),
              (std::vector<std::string>{"10", "260", "510", "760", "1010", "760", "510", "260", "10"}))
        << run.log;
}

TEST(BeatDemo, ABrokenBeatFileIsReportedAndTheParameterStaysAtItsMinimum)
{
    const std::string folder = fresh_folder("beat_demo_broken");
    write_file(folder, "broken.beat", "start 0\nlength 10000\nbeat 500 0\nend 0\n");
    write_file(folder, "demo.xml", beat_demo("broken.beat"));
    const PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", "4", "--to", "500", "--size", "64x48", "demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_EQ(run.lines_starting("Media: beat file 'broken.beat': ").size(), 1u) << run.log;
    for (const std::string& word : probe_words(run))
        EXPECT_EQ(word, "10");
}

} // namespace
