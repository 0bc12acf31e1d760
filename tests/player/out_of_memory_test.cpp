// Running out of memory ends the run with "Out of memory" and the step reached, in the log and on stderr,
// whether it happens while the libraries start or while the demo plays; the shutdown of that step runs.
#include <gtest/gtest.h>

#include "player_runner.h"

namespace
{

const std::string kSettings = "RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"";
const std::string kProbeLibrary = "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>";

PlayerRun run_demo(const std::string& name, const std::string& document)
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", document);
    return run_player_in(folder, {"--capture", "f", "--fps", "20", "--size", "64x48", "demo.xml"});
}

TEST(OutOfMemory, WhileALibraryStartsStopsAtStepFive)
{
    PlayerRun run = run_demo("out_of_memory_init", probe_demo(kSettings, kProbeLibrary, "",
                                                              "<Text>probe:init-out-of-memory</Text>"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "probe Vortel_Init\nOut of memory.  Stopped at step '5'.\n");
    EXPECT_NE(run.stderrText.find("player: Out of memory.  Stopped at step '5'.\n"), std::string::npos)
        << run.stderrText;
}

TEST(OutOfMemory, InAnEffectEndsTheDemoAndTheLibrariesAreShutDown)
{
    // Probe with the out-of-memory flag: its first call is fine, its first running call throws.
    std::string event =
        "<E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" EndTime=\"100\">"
        "<param type=\"const\" val=\"2\"/><param type=\"const\" val=\"8\"/></E>";
    PlayerRun run = run_demo("out_of_memory_effect",
                             probe_demo(kSettings, kProbeLibrary, "<Track>" + event + "</Track>"));
    EXPECT_EQ(run.status, 1);
    int running = run.find_line("probe Probe phase=1");
    int message = run.find_line("Out of memory.  Stopped at step '9'.");
    ASSERT_GE(running, 0) << run.log;
    EXPECT_EQ(message, running + 1) << run.log;
    EXPECT_GT(run.find_line("probe Vortel_Quit", message), message) << run.log;
    EXPECT_NE(run.stderrText.find("player: Out of memory.  Stopped at step '9'.\n"), std::string::npos)
        << run.stderrText;
}

} // namespace
