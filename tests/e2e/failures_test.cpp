// Start-up failures and failures during the demo: the exact text in Errorlog.txt, the exit status, and
// which libraries were shut down.
#include <gtest/gtest.h>

#include "player_runner.h"

namespace
{

const std::string kGL = "RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"";
const std::string kProbeLibrary = "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>";

std::string probe_event(const std::string& function, const std::string& words, int start = 0, int end = 100)
{
    std::string params;
    for (char w : words)
        params += "<param type=\"const\" val=\"" + std::string(1, w) + "\"/>";
    return "<E LibraryFileName=\"Probe.so\" FunctionName=\"" + function + "\" StartTime=\"" +
           std::to_string(start) + "\" EndTime=\"" + std::to_string(end) + "\">" + params + "</E>";
}

PlayerRun run_demo(const std::string& name, const std::string& document, std::vector<std::string> extra = {})
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", document);
    std::vector<std::string> args = {"--capture", "f", "--fps", "20", "--size", "64x48", "demo.xml"};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_player_in(folder, args);
}

TEST(StartUpFailure, MissingDocument)
{
    std::string folder = fresh_folder("missing_document");
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "absent.xml"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't load the demo absent.xml, does this file exists?");
}

TEST(StartUpFailure, LogSwitchAloneIsAlsoTakenAsTheDemoPath)
{
    std::string folder = fresh_folder("log_only");
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "-log"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't load the demo -log, does this file exists?");
}

TEST(StartUpFailure, MissingLibrary)
{
    PlayerRun run =
        run_demo("missing_library",
                 probe_demo(kGL, "<Library FileName=\"Nowhere.so\"><F Name=\"Probe\"/></Library>", ""));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't load library 'Nowhere.so'!\n");
}

TEST(StartUpFailure, MissingEntryPointIsNamed)
{
    PlayerRun run =
        run_demo("missing_entry",
                 probe_demo(kGL, "<Library FileName=\"ProbeNoQuit.so\"><F Name=\"Probe\"/></Library>", ""));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't load function 'Vortel_Quit' from library 'ProbeNoQuit.so'!\n");
}

TEST(StartUpFailure, UnboundEventNamesItsTrackAndIndex)
{
    std::string tracks = "<Track>" + probe_event("Probe", "1") + "</Track><Track>" +
                         probe_event("Probe", "1") + probe_event("ProbeNone", "", 100, 200) + "</Track>";
    PlayerRun run = run_demo("unbound_event", probe_demo(kGL, kProbeLibrary, tracks));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't match event 1's function 'ProbeNone' for library 'Probe.so' to available "
                       "libraries in track 1");
}

TEST(StartUpFailure, RefusedInitStopsAtStepFiveAndNobodyIsShutDown)
{
    // Two libraries: the first refuses (the probe refuses when a text says so), the second is never asked.
    std::string libraries = kProbeLibrary + "<Library FileName=\"Paint.so\"/>";
    std::string texts = "<Text>probe:fail-init</Text>";
    PlayerRun run = run_demo("refused_init", probe_demo(kGL, libraries, "", texts), {"-log"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.find_line("Initializing lib Probe.so ... "), -1) << run.log;
    EXPECT_NE(run.find_line(" *** Library Probe.so failed init! "), -1);
    EXPECT_EQ(run.find_line("Initializing lib Paint.so"), -1);
    EXPECT_EQ(run.find_line("probe Vortel_Quit"), -1);
    EXPECT_EQ(run.lines().back(), "Something went horribly wrong.  Stopped at step '5'.");
}

TEST(StartUpFailure, AbsurdNumberOfInputSurfacesIsRefusedBeforeMemoryRunsOut)
{
    PlayerRun run =
        run_demo("absurd_surfaces",
                 probe_demo("RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"2000000000\"",
                            kProbeLibrary, ""));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't create an input surface, probably out of memory");
}

TEST(StartUpFailure, MalformedSdlIniStopsAtStepOne)
{
    std::string folder = fresh_folder("bad_ini");
    write_file(folder, "demo.xml", probe_demo(kGL, kProbeLibrary, ""));
    write_file(folder, "SDL.ini", "[video]\nwidth = wide\n");
    PlayerRun run = run_player_in(folder, {"--no-setup", "demo.xml"});
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> lines = run.lines();
    ASSERT_EQ(lines.size(), 3u) << run.log;
    EXPECT_EQ(lines[0], "Couldn't load the SDL.ini file.");
    EXPECT_NE(lines[1].find("width wants a whole number"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2], "Something went horribly wrong.  Stopped at step '1'.");
}

TEST(StartUpFailure, MalformedCommandLineRunsNothing)
{
    std::string folder = fresh_folder("bad_option");
    PlayerRun run = run_player_in(folder, {"--size", "64by48", fixture("e2e_order.xml")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.stderrText.find("--size wants WIDTHxHEIGHT"), std::string::npos) << run.stderrText;
    EXPECT_EQ(run.find_line("probe"), -1);
}

TEST(DemoFailure, FalseLastFrameIsReportedButTheDemoHasPlayed)
{
    // ProbeFalse returns false on every running call, up to the last frame.
    PlayerRun run =
        run_demo("false_last_frame",
                 probe_demo(kGL, "<Library FileName=\"Probe.so\"><F Name=\"ProbeFalse\"/></Library>",
                            "<Track>" + probe_event("ProbeFalse", "1", 0, 1000) + "</Track>"));
    EXPECT_EQ(run.status, 0);
    int message = run.find_line("Something went horribly wrong.  Stopped at step '9'.");
    EXPECT_GE(message, 0) << run.log;
    EXPECT_GT(run.find_line("probe Vortel_Quit", message), message) << "the libraries are shut down after it";
}

TEST(DemoFailure, FalseEarlierFrameIsForgotten)
{
    std::string tracks =
        "<Track>" + probe_event("ProbeFalse", "1", 0, 50) + probe_event("Probe", "1", 50, 200) + "</Track>";
    PlayerRun run =
        run_demo("false_early_frame",
                 probe_demo(kGL,
                            "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/><F Name=\"ProbeFalse\"/>"
                            "</Library>",
                            tracks));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.find_line("Something went horribly wrong"), -1) << run.log;
}

TEST(DemoFailure, FatalErrorInAFrameEndsTheDemoWithStatusOne)
{
    // Probe flag 4: running calls throw BasicException. The demo stops part-way: that is no success.
    PlayerRun run =
        run_demo("throw_in_frame",
                 probe_demo(kGL, kProbeLibrary, "<Track>" + probe_event("Probe", "24") + "</Track>"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.log.find("Probe threw on request"), std::string::npos) << run.log;
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1);
    EXPECT_EQ(run.lines_starting("probe Probe phase=1").size(), 1u);
}

TEST(DemoFailure, AMissingNameIsReportedOncePerEventWithTrackAndEventNumbers)
{
    // ProbeAcquireEachFrame(count, textIndex) acquires on every running call: text 0 names nothing the
    // 'PRBE' handler knows, text 5 does not exist. 21 frames, one line per event.
    const std::string library =
        "<Library FileName=\"Probe.so\"><F Name=\"ProbeAcquireEachFrame\"/></Library>";
    const std::string tracks = "<Track>" + probe_event("ProbeAcquireEachFrame", "20", 0, 500) +
                               probe_event("ProbeAcquireEachFrame", "20", 500, 1000) + "</Track><Track>" +
                               probe_event("ProbeAcquireEachFrame", "25", 0, 1000) + "</Track>";
    PlayerRun run = run_demo("missing_name_once",
                             probe_demo("RunningTime=\"1000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                                        library, tracks, "<Text>nothing</Text>"));
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_GE(run.lines_starting("probe ProbeAcquireEachFrame phase=1").size(), 40u);
    EXPECT_EQ(
        run.lines_starting("ProbeAcquireEachFrame could not"),
        (std::vector<std::string>{
            "ProbeAcquireEachFrame could not find the name for the probe resource nr 5 (track 1, event 0)",
            "ProbeAcquireEachFrame could not find the probe resource named nothing (track 0, event 0)",
            "ProbeAcquireEachFrame could not find the probe resource named nothing (track 0, event 1)"}));
}

} // namespace
