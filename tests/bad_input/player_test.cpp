// The real player on bad documents, bad data files and misbehaving plug-ins: the exact text in
// Errorlog.txt, the exit status, and no sanitizer report on its standard error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player_runner.h"

namespace
{

const std::string kGL = "RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"";
const std::string kProbeLibrary =
    "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/><F Name=\"ProbeMany\"/></Library>";

std::string bad(const std::string& name)
{
    return fixture("bad/" + name);
}

// A Probe event with `count` constant words: count itself, then zeros.
std::string probe_event(int count, const std::string& function = "Probe", int end = 100)
{
    std::string params = "<param type=\"const\" val=\"" + std::to_string(count) + "\"/>";
    for (int i = 1; i < count; ++i)
        params += "<param type=\"const\" val=\"0\"/>";
    return "<E LibraryFileName=\"Probe.so\" FunctionName=\"" + function + "\" StartTime=\"0\" EndTime=\"" +
           std::to_string(end) + "\">" + params + "</E>";
}

PlayerRun run_document(const std::string& name, const std::string& document,
                       std::vector<std::string> extra = {})
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", document);
    std::vector<std::string> args = {"--capture", "f", "--fps", "20", "--size", "64x48", "demo.xml"};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_player_in(folder, args);
}

PlayerRun run_fixture(const std::string& name, const std::string& path)
{
    std::string folder = fresh_folder(name);
    return run_player_in(folder, {"--capture", "f", "--fps", "20", "--size", "64x48", "--to", "100", path});
}

void expect_clean(const PlayerRun& run)
{
    EXPECT_EQ(run.stderrText.find("Sanitizer"), std::string::npos) << run.stderrText;
    EXPECT_EQ(run.stderrText.find("runtime error"), std::string::npos) << run.stderrText;
}

TEST(BadDocumentInThePlayer, RefusedDocumentsStopAtStartWithTheirMessage)
{
    const std::string xml =
        "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
    const std::string load = "An error occurred while loading demo from XML file. May have something to with "
                             "corrupt XML, not 100% sure...";
    const std::pair<const char*, std::string> cases[] = {
        {"truncated.xml", xml},
        {"latin1_undeclared.xml", xml},
        {"entity_expansion.xml", xml},
        {"deep_combi.xml", "Corrupt combi-function!"},
        {"missing_running_time.xml", load},
        {"unknown_interpolation.xml", load},
    };
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(file);
        PlayerRun run = run_fixture("refused", bad(file));
        EXPECT_EQ(run.status, 1);
        ASSERT_EQ(run.lines().size(), 2u) << run.log;
        EXPECT_EQ(run.lines()[0], message) << "the detail follows on the next line";
        expect_clean(run);
    }
}

TEST(BadDocumentInThePlayer, NegativeInputSurfaceCountIsRefusedBeforeMemoryRunsOut)
{
    PlayerRun run = run_fixture("negative_counts", bad("negative_counts.xml"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "Couldn't create an input surface, probably out of memory");
    expect_clean(run);
}

TEST(BadDocumentInThePlayer, HugeNumbersPlayAsSaturatedValues)
{
    // RunningTime saturates at 2^31 - 1 ms and the event starts past the captured range: it is never called.
    PlayerRun run = run_fixture("huge_numbers", bad("huge_numbers.xml"));
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(run.find_line("probe Probe"), -1) << run.log;
    EXPECT_EQ(captured_frames(run.folder + "/f").size(), 3u);
    expect_clean(run);
}

TEST(BadDocumentInThePlayer, AThousandTracksAllPlay)
{
    std::string tracks;
    for (int i = 0; i < 1000; ++i)
        tracks += "<Track>" + probe_event(1) + "</Track>";
    PlayerRun run = run_document("thousand_tracks", probe_demo(kGL, kProbeLibrary, tracks), {"--to", "0"});
    EXPECT_EQ(run.status, 0) << run.log.substr(0, 2000);
    EXPECT_EQ(run.lines_starting("probe Probe phase=0").size(), 1000u);
    EXPECT_EQ(run.lines_starting("probe Probe phase=1").size(), 1000u);
    expect_clean(run);
}

TEST(BadDocumentInThePlayer, AnEventOf69WordsIsNeverCalledAnd68Are)
{
    // Running calls go from the last track to the first, and a false one stops the rest of the frame's:
    // the 68-word event sits on the last track so that it is called before the 69-word one fails.
    std::string tracks = "<Track>" + probe_event(69, "Probe", 1000) + "</Track><Track>" +
                         probe_event(68, "ProbeMany", 1000) + "</Track>";
    PlayerRun run = run_document("69_words", probe_demo(kGL, kProbeLibrary, tracks));
    EXPECT_EQ(run.status, 0) << "the frame loop was reached";
    EXPECT_EQ(run.find_line("probe Probe "), -1) << run.log;
    EXPECT_GE(run.lines_starting("probe ProbeMany phase=1").size(), 1u) << run.log;
    // Its running calls count as false up to the last frame.
    EXPECT_NE(run.find_line("Something went horribly wrong.  Stopped at step '9'."), -1) << run.log;
    expect_clean(run);
}

TEST(BadPlugIn, ExceptionFromInitStopsStartUpWithItsMessage)
{
    // Probe starts, then Thrower throws: nobody gets Vortel_Quit, as when an init fails.
    std::string libraries = kProbeLibrary + "<Library FileName=\"Thrower.so\"><F Name=\"Thrown\"/></Library>";
    PlayerRun run = run_document("init_throws", probe_demo(kGL, libraries, ""));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.find_line("probe Vortel_Init"), -1) << run.log;
    EXPECT_NE(run.log.find("Thrower: cannot start, the machine is made of cheese\n"), std::string::npos)
        << run.log;
    EXPECT_EQ(run.find_line("Vortel_Quit"), -1) << run.log;
    expect_clean(run);
}

TEST(BadPlugIn, ExceptionFromAnEffectEndsTheDemoWithStatusOne)
{
    // Probe flag 4 throws on running calls.
    std::string tracks =
        "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
        "EndTime=\"100\"><param type=\"const\" val=\"2\"/><param type=\"const\" val=\"4\"/></E>"
        "</Track>";
    PlayerRun run = run_document("effect_throws", probe_demo(kGL, kProbeLibrary, tracks));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.log.find("Probe threw on request"), std::string::npos) << run.log;
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1) << "the libraries are shut down";
    expect_clean(run);
}

TEST(BadPlugIn, RefusedInitAndFalseFrameGiveTheFallbackMessageWithTheirStep)
{
    PlayerRun refused =
        run_document("init_false", probe_demo(kGL, kProbeLibrary, "", "<Text>probe:fail-init</Text>"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.lines().back(), "Something went horribly wrong.  Stopped at step '5'.");
    EXPECT_EQ(refused.find_line("Vortel_Quit"), -1);
    expect_clean(refused);

    std::string tracks = "<Track>" + probe_event(1, "ProbeFalse", 1000) + "</Track>";
    PlayerRun lastFalse = run_document(
        "frame_false",
        probe_demo(kGL, "<Library FileName=\"Probe.so\"><F Name=\"ProbeFalse\"/></Library>", tracks));
    EXPECT_EQ(lastFalse.status, 0);
    EXPECT_NE(lastFalse.find_line("Something went horribly wrong.  Stopped at step '9'."), -1)
        << lastFalse.log;
    expect_clean(lastFalse);
}

TEST(BadDataFile, AHeaderThatLiesIsIgnoredAndFilesComeFromDisk)
{
    // The preload of a 'FILE' resource goes through OpenFile: with the data file refused it finds
    // a.png neither in memory nor on disk, and says so; the demo plays on.
    for (const char* file : {"lying_count.dat", "sizes_exceed_content.dat", "count_two_billion.dat"}) {
        SCOPED_TRACE(file);
        std::string folder = fresh_folder("lying_data_file");
        std::string libraries = "<Library FileName=\"Probe.so\"><F Name=\"Probe\"><P Name=\"n\"/>"
                                "<P Name=\"fileRSRCFILE\"/></F></Library>";
        std::string tracks = "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                             "EndTime=\"100\"><param type=\"const\" val=\"2\"/><param type=\"const\" "
                             "val=\"0\"/></E></Track>";
        write_file(
            folder, "demo.xml",
            probe_demo(kGL + " DataFile=\"" + bad(file) + "\"", libraries, tracks, "<Text>a.png</Text>"));
        PlayerRun run =
            run_player_in(folder, {"--capture", "f", "--fps", "20", "--size", "64x48", "demo.xml"});
        EXPECT_EQ(run.status, 0) << run.log;
        EXPECT_NE(run.find_line("vortelLoadResources could not find the some resource named a.png"), -1)
            << run.log;
        EXPECT_GE(run.lines_starting("probe Probe phase=1").size(), 1u);
        expect_clean(run);
    }
}

} // namespace
