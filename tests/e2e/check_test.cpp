// --check: every kind of author's mistake reported on its own line, with the exit status and the summary,
// on standard output and in the log; no window is opened for it. --describe: the libraries' descriptions
// of their effects, for the tools that --check shares them with.
#include <gtest/gtest.h>

#include <sstream>

#include "player_runner.h"

namespace
{

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs --check on a fixture without an X display: a window would fail to open.
PlayerRun check(const std::string& name)
{
    std::string folder = fresh_folder("check_" + name);
    return run_player_in(folder, {"--check", fixture("check_" + name + ".xml")}, "dummy", {{"DISPLAY", ""}});
}

void expect_report(const std::string& name, const std::vector<std::string>& problems)
{
    PlayerRun run = check(name);
    std::vector<std::string> expected = problems;
    std::string path = fixture("check_" + name + ".xml");
    expected.push_back(path + ": " + std::to_string(problems.size()) +
                       (problems.size() == 1 ? " problem found" : " problems found"));
    EXPECT_EQ(run.status, 1) << run.stderrText;
    EXPECT_EQ(lines_of(run.stdoutText), expected);
    EXPECT_EQ(run.lines(), expected) << "the log holds the same report";
}

TEST(Check, GoodDocumentPassesWithoutAWindow)
{
    PlayerRun run = check("good");
    EXPECT_EQ(run.status, 0) << run.stdoutText << run.stderrText;
    EXPECT_EQ(lines_of(run.stdoutText),
              std::vector<std::string>{fixture("check_good.xml") + ": no problems found"});
    EXPECT_EQ(run.log.find("probe Vortel_Init"), std::string::npos) << "no library was initialised";
}

TEST(Check, UnknownLibrariesAndFunctions)
{
    expect_report("unknown_function",
                  {"library 'Probe.so': declares 'ProbeGone', which it does not export",
                   "track 0, event 1: library 'Other.so' is not declared in the document",
                   "track 0, event 2: function 'Prob' is not declared by library 'Probe.so'"});
    expect_report("unknown_library",
                  {"library 'NoSuchLibrary.so': cannot be loaded: NoSuchLibrary.so: cannot "
                   "open shared object file: No such file or directory"});
}

TEST(Check, ALibraryFileThatDoesNotLoadGivesTheLoadersReason)
{
    std::string folder = fresh_folder("check_broken_library");
    write_file(folder, "Broken.so", std::string(200, 'x'));
    write_file(folder, "demo.xml",
               probe_demo("RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                          "<Library FileName=\"Broken.so\"/>", ""));
    PlayerRun run = run_player_in(folder, {"--check", "demo.xml"}, "dummy", {{"DISPLAY", ""}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        lines_of(run.stdoutText),
        (std::vector<std::string>{"library 'Broken.so': cannot be loaded: ./Broken.so: invalid ELF header",
                                  "demo.xml: 1 problem found"}));
}

TEST(Check, ParameterCountsDifferingFromTheDeclaration)
{
    expect_report("param_count", {"track 1, event 0: 'Probe' declares 3 parameters, the event gives 2",
                                  "track 1, event 1: 'Probe' declares 3 parameters, the event gives 4"});
}

TEST(Check, TextIndicesOutOfRangeForResourceParameters)
{
    expect_report("text_index",
                  {"track 0, event 1: parameter 2 names text 2, but the document has 2 texts",
                   "track 0, event 2: parameter 2 names text -1, but the document has 2 texts",
                   "track 0, event 3: parameter 1 (beat) names text 5, but the document has 2 texts"});
}

TEST(Check, TextIndicesAndParameterCountsByTheEffectsOwnDescriptions)
{
    expect_report("described",
                  {"library 'Probe.so': declares 'ProbeAcquire' with 2 parameters, but the effect reads 3",
                   "track 0, event 1: parameter 1 (textIndex) names text 7, but the document has 1 texts",
                   "track 0, event 2: parameter 1 (textIndex) names text -1, but the document has 1 texts"});
}

TEST(Check, TextIndicesResourceTypesFilesAndHardRangesOfARealPluginByItsDescriptions)
{
    expect_report(
        "scaffold_described",
        {"track 0, event 1: Show3D parameter 0 (renderTo) is 5, outside its range 0 .. 2",
         "track 1, event 1: parameter 0 (name) names text 4, but the document has 2 texts",
         "track 2, event 0: parameter 0 (swarm) reads a 'SWRM' named 'group' (text 0), but the document "
         "makes that name only as a '3DWR'",
         "track 2, event 0: ShowRibbons3D parameter 2 (pointsPerStrip) is 1, outside its range 2 or "
         "more",
         "text 1: the file 'ring' does not exist"});
}

TEST(Check, ReportsWhatItCanReadBeforeAndAfterProblemsInTheDocument)
{
    expect_report(
        "xml_error",
        {"document: An XML error occurred while loading demo from XML file. The XML file is corrupt in "
         "some way. (" +
             fixture("check_xml_error.xml") + ":14:146: whitespace expected)",
         "library 'Probe.so', function 1: An error occurred while loading demo from XML file. May have "
         "something to with corrupt XML, not 100% sure... (<Function> has no Name: each element in a Library "
         "declares a function and needs its Name)",
         "track 0, event 0: An error occurred while loading demo from XML file. May have something to "
         "with corrupt XML, not 100% sure... (<Event> has no EndTime: each element in a Track is an event "
         "and needs LibraryFileName, FunctionName, StartTime and EndTime)",
         "track 0, event 1: function 'Prob' is not declared by library 'Probe.so'",
         "track 0, event 2: 'Probe' declares 2 parameters, the event gives 1"});
}

TEST(Check, QuaternionKeysWithoutThreeMatchingComponents)
{
    expect_report("sqd",
                  {"track 0, event 0: parameter 1 (sqd) is not followed by three multi parameters with "
                   "the same number of segments (1)",
                   "track 0, event 1: parameter 3 (sqd) is not followed by three multi parameters with "
                   "the same number of segments (1)"});
}

TEST(Check, OverlappingUnsortedAndEmptyEvents)
{
    expect_report(
        "timing",
        {"track 0, event 1: starts at 300 ms while event 0 still runs (until 400 ms)",
         "track 0, event 2: starts at 200 ms, before event 1 (300 ms): a track's events must be in time "
         "order",
         "track 0, event 3: ends at 600 ms, not after its start at 600 ms: it never plays"});
}

TEST(Check, MissingFilesInSettingsAndTexts)
{
    expect_report("missing_files", {"Settings: the music file 'missing.ogg' does not exist",
                                    "Settings: the loader music file 'sounds/loader.ogg' does not exist",
                                    "Settings: the data file 'media.dat' does not exist",
                                    "text 0: the file 'logo.png' does not exist",
                                    "text 1: the file 'models/ship.obj' does not exist"});
}

TEST(Check, TextsServedByTheDataFileExist)
{
    std::string folder = fresh_folder("check_data_file");
    write_file(folder, "media.dat", "7F 1 5\nLOGO.PNG 5\nhello");
    write_file(
        folder, "demo.xml",
        probe_demo(
            "RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" DataFile=\"media.dat\"", "",
            "", "<Text>logo.png</Text><Text>gone.png</Text>"));
    PlayerRun run = run_player_in(folder, {"--check", "demo.xml"}, "dummy", {{"DISPLAY", ""}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines_of(run.stdoutText),
              (std::vector<std::string>{"text 1: the file 'gone.png' does not exist",
                                        "demo.xml: 1 problem found"}));
}

TEST(Check, UnreadableDocumentIsAProblem)
{
    std::string folder = fresh_folder("check_unreadable");
    PlayerRun run = run_player_in(folder, {"--check", "nothing.xml"}, "dummy", {{"DISPLAY", ""}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        lines_of(run.stdoutText),
        (std::vector<std::string>{"document: Couldn't load the demo nothing.xml, does this file exists?",
                                  "nothing.xml: 1 problem found"}));
}

TEST(Describe, SaysForEachLibraryWhatItDescribesOrWhyItCannot)
{
    std::string folder = fresh_folder("describe");
    PlayerRun run = run_player_in(folder, {"--describe", "Probe.so", "Paint.so", "Missing.so"}, "dummy",
                                  {{"DISPLAY", ""}});
    EXPECT_EQ(run.status, 1) << "a library that does not load fails the run";
    const std::string& json = run.stdoutText;
    EXPECT_NE(json.find("{\"file\": \"Probe.so\", \"error\": null, \"described\": true, "
                        "\"descriptionVersion\": 2"),
              std::string::npos)
        << json;
    EXPECT_NE(
        json.find("{\"name\": \"ProbeAcquire\", \"about\": null, \"params\": [\n     {\"name\": \"count\", "
                  "\"kind\": \"number\", \"unit\": null"),
        std::string::npos)
        << "what a plug-in leaves undescribed is null: " << json;
    EXPECT_NE(json.find("{\"file\": \"Paint.so\", \"error\": null, \"described\": false"), std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"file\": \"Missing.so\", \"error\": \"Missing.so: cannot open shared object file"),
              std::string::npos)
        << json;
    EXPECT_NE(run.stderrText.find("player: --describe: library 'Missing.so' cannot be loaded"),
              std::string::npos)
        << run.stderrText;
}

} // namespace
