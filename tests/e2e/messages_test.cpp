// What the player says when something is wrong: the log's first line is the system's own message and the
// line after it says where and what; every fatal message also reaches stderr, with the error log's path;
// a text from the document never splits a log line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "player_runner.h"

namespace
{

const std::string kGL = "RunningTime=\"100\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"";
const std::string kProbeLibrary = "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>";
const std::string kXmlError =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
const std::string kLoadError = "An error occurred while loading demo from XML file. May have something to "
                               "with corrupt XML, not 100% sure...";

PlayerRun play(const std::string& name, const std::string& document, const Environment& environment = {})
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", document);
    return run_player_in(folder, {"--capture", "f", "--fps", "20", "--size", "64x48", "demo.xml"}, "dummy",
                         environment);
}

std::string probe_event(const std::string& params)
{
    return "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
           "EndTime=\"100\">\n" +
           params + "\n</E></Track>\n";
}

// One 100 KB entity referenced 9,999 times (under the parser's count of expansions): a 150 KB file that
// would expand to a gigabyte of text, in an element or in an attribute.
std::string repeated_entity(bool inAttribute)
{
    std::string references;
    for (int i = 0; i < 9999; ++i)
        references += "&big;";
    const std::string text =
        inAttribute ? "<Text a=\"" + references + "\">t</Text>" : "<Text>" + references + "</Text>";
    return "<?xml version=\"1.0\"?><!DOCTYPE Demo [<!ENTITY big \"" + std::string(100000, 'x') + "\">]>" +
           probe_demo(kGL, kProbeLibrary, "", text).substr(std::string("<?xml version=\"1.0\"?>\n").size());
}

std::string read_fixture(const std::string& name)
{
    std::ifstream file(fixture(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(XmlErrors, TheLineAfterTheMessageSaysWhereAndWhat)
{
    struct Case {
        const char* name;
        std::string document;
        const std::string& message;
        std::string detail; // the whole second line, or its start followed by "..."
    };
    const Case cases[] = {
        {"malformed", "<Demo>\n  <Settings " + kGL + "/>\n  <Track>\n</Demo>\n", kXmlError,
         "demo.xml:4:3: expected end of tag 'Track'"},
        {"untyped_param", probe_demo(kGL, kProbeLibrary, probe_event("<param val=\"3\"/>")), kLoadError,
         "demo.xml:5:17: <param> has no start: a param without type needs start and end; a constant is "
         "type=\"const\""},
        {"unknown_interpolation",
         probe_demo(kGL, kProbeLibrary, probe_event("<param type=\"multi\" interpol=\"cubic\" val=\"0\"/>")),
         kLoadError, "demo.xml:5:47: interpol=\"cubic\" is none of lin, bez and sqd"},
        {"deep_combi", read_fixture("bad/deep_combi.xml"), "Corrupt combi-function!",
         "demo.xml:2:...: combis nest at most 64 deep; this one is at depth 65"},
        {"repeated_entity", repeated_entity(false), kXmlError, "demo.xml: the document grows past ..."},
        {"repeated_entity_in_attribute", repeated_entity(true), kXmlError,
         "demo.xml: the document grows past ..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRun run = play(c.name, c.document);
        EXPECT_EQ(run.status, 1);
        const std::vector<std::string> lines = run.lines();
        ASSERT_EQ(lines.size(), 2u) << run.log;
        EXPECT_EQ(lines[0], c.message);
        const size_t cut = c.detail.find("...");
        if (cut == std::string::npos) {
            EXPECT_EQ(lines[1], c.detail);
        } else {
            EXPECT_EQ(lines[1].substr(0, cut), c.detail.substr(0, cut));
            EXPECT_NE(lines[1].find(c.detail.substr(cut + 3)), std::string::npos) << lines[1];
        }
    }
}

TEST(FatalMessages, ReachStderrWithThePathOfTheErrorLog)
{
    struct Case {
        const char* name;
        std::string document; // empty: there is no demo.xml
        Environment environment;
    };
    const Case cases[] = {
        {"missing_demo", "", {}},
        {"corrupt_xml", "<Demo><Settings " + kGL + "></Demo>", {}},
        // No display: the run stops with a message instead of painting the demo as text on the terminal.
        {"no_display", probe_demo(kGL, kProbeLibrary, ""), {{"DISPLAY", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRun run = c.document.empty()
                            ? run_player_in(fresh_folder(c.name), {"--size", "64x48", "demo.xml"}, "dummy")
                            : play(c.name, c.document, c.environment);
        EXPECT_EQ(run.status, 1);
        const std::vector<std::string> lines = run.lines();
        ASSERT_FALSE(lines.empty());
        for (const std::string& line : lines)
            EXPECT_NE(run.stderrText.find("player: " + line + "\n"), std::string::npos) << run.stderrText;
        const std::string log = std::filesystem::canonical(run.folder + "/Errorlog.txt").string();
        EXPECT_NE(run.stderrText.find("player: the error log is " + log + "\n"), std::string::npos)
            << run.stderrText;
        EXPECT_EQ(run.stderrText.find('\x1b'), std::string::npos) << "escape codes on the terminal";
        EXPECT_EQ(run.stdoutText.find('\x1b'), std::string::npos) << "escape codes on the terminal";
    }
}

TEST(LogLines, ATextWithALineBreakIsQuotedOnOneLine)
{
    // The text names a beat the player looks up (the registry's message) and a group Scaffold looks up (the
    // plug-in's message); both quote it.
    const std::string forged = "Something went horribly wrong.  Stopped at step '3'.";
    std::string copy =
        "<E LibraryFileName=\"Scaffold.so\" FunctionName=\"CopyGroupToGroups\" StartTime=\"0\" "
        "EndTime=\"100\">";
    for (int i = 0; i < 13; ++i)
        copy += "<param type=\"const\" val=\"0\"/>";
    copy += "</E>";
    const std::string libraries =
        kProbeLibrary + "<Library FileName=\"Scaffold.so\"><F Name=\"CopyGroupToGroups\"/></Library>";
    const std::string tracks =
        probe_event("<param type=\"beat\" ID=\"0\" min=\"0\" max=\"1\"/>") + "<Track>" + copy + "</Track>";
    PlayerRun run =
        play("line_break_in_text", probe_demo(kGL, libraries, tracks, "<Text>x&#10;" + forged + "</Text>"));
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_TRUE(run.lines_starting(forged).empty()) << run.log;
    EXPECT_NE(run.find_line("VortelEdit could not find the Beat named x\\n" + forged), -1) << run.log;
    EXPECT_NE(run.find_line("CopyGroupToGroups: Unknown group x\\n" + forged), -1) << run.log;
}

} // namespace
