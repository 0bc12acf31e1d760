// --repeat on the command line and in the real player: how often the events are started and ended when a
// capture runs its range several times over.
#include <gtest/gtest.h>

#include "command_line.h"
#include "player_runner.h"

namespace
{

CommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "player");
    return parse_command_line(int(args.size()), args.data());
}

TEST(RepeatOption, GoesWithCaptureOnlyAndWantsACountFromOneToAThousand)
{
    EXPECT_EQ(parse({"--capture", "f", "--repeat", "3"}).repeat, 3);
    EXPECT_EQ(parse({"--capture", "f"}).repeat, 1);
    EXPECT_EQ(parse({"--capture", "f", "--repeat", "1000"}).error, "");
    for (const char* count : {"0", "1001", "-1", "2x", ""}) {
        SCOPED_TRACE(count);
        EXPECT_EQ(parse({"--capture", "f", "--repeat", count}).error,
                  std::string("--repeat wants a whole number from 1 to 1000, not '") + count + "'");
    }
    EXPECT_EQ(parse({"--repeat", "2"}).error,
              "--fps, --from, --to and --repeat only apply to --capture and --video");
    EXPECT_EQ(parse({"--capture", "f", "--video", "v.mp4", "--repeat", "2"}).error,
              "--repeat does not go with --video: the music plays once");
}

TEST(RepeatOption, EveryPassStartsTheEventsAfreshAndTheFramesRunOn)
{
    // Event 1 ends inside the range, event 2 outlasts it: both are ended at every wrap and started again,
    // and only the event still running at the very end goes without a last call.
    const std::string settings = "RunningTime=\"400\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"";
    const std::string libraries = "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>";
    auto event = [](int start, int end) {
        return "<E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"" + std::to_string(start) +
               "\" EndTime=\"" + std::to_string(end) + "\"><param type=\"const\" val=\"1\"/></E>";
    };
    const std::string tracks = "<Track>" + event(0, 200) + "</Track><Track>" + event(100, 1000) + "</Track>";
    const std::string folder = fresh_folder("repeat_events");
    write_file(folder, "demo.xml", probe_demo(settings, libraries, tracks));
    PlayerRun run = run_player_in(
        folder, {"--capture", "f", "--fps", "10", "--size", "64x48", "--repeat", "3", "demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_EQ(captured_frames(folder + "/f").size(), 3u * 5u);
    EXPECT_EQ(run.lines_starting("probe Probe phase=0").size(), 6u) << run.log;
    EXPECT_EQ(run.lines_starting("probe Probe phase=-1").size(), 5u) << run.log;
    EXPECT_EQ(run.stderrText.find("Sanitizer"), std::string::npos) << run.stderrText;
}

} // namespace
