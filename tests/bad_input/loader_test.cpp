// Bad documents and data files through the real loader, evaluator and data file reader: each is refused
// with its message, or read into values that make sense; nothing crashes, hangs or runs out of memory.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <SDL.h>

#include "data_file.h"
#include "demo_loader.h"
#include "param_eval.h"

namespace
{

const std::string kXmlError =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
const std::string kLoadError =
    "An error occurred while loading demo from XML file. May have something to with corrupt XML, not 100% "
    "sure...";
const std::string kCorruptCombi = "Corrupt combi-function!";

std::string bad(const std::string& name)
{
    return std::string(VORTEL_FIXTURES) + "/bad/" + name;
}

// The first line of the message load_demo throws (the details follow it), or "" when the document loads.
std::string load_message(const std::string& path, Demo& demo)
{
    try {
        load_demo(path.c_str(), demo);
    } catch (const BasicException& error) {
        const std::string message = error.message;
        return message.substr(0, message.find('\n'));
    }
    return "";
}

std::string load_message(const std::string& path)
{
    Demo demo;
    return load_message(path, demo);
}

std::string write_temp(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

int32_t value_at(const Event& event, size_t index, uint32_t t)
{
    std::vector<int32_t> out(event.params.size() - index);
    bool constant = false;
    evaluate_param(event.params, index, t, event.startTime, out.data(), &constant);
    return out[0];
}

struct Refusal {
    const char* file;
    const std::string* message;
};

TEST(BadDocument, EachIsRefusedWithItsMessageAndLeavesTheDemoAlone)
{
    const Refusal refusals[] = {
        {"truncated.xml", &kXmlError},
        {"latin1_undeclared.xml", &kXmlError},
        {"unknown_encoding.xml", &kXmlError},
        {"empty.xml", &kXmlError},
        {"binary_garbage.xml", &kXmlError},
        {"entity_expansion.xml", &kXmlError},
        {"deep_combi.xml", &kCorruptCombi},
        {"combi_wrong_operands.xml", &kCorruptCombi},
        {"missing_running_time.xml", &kLoadError},
        {"missing_settings.xml", &kLoadError},
        {"missing_function_name.xml", &kLoadError},
        {"unknown_interpolation.xml", &kLoadError},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.file);
        Demo demo;
        demo.runningTime = 777;
        EXPECT_EQ(load_message(bad(refusal.file), demo), *refusal.message);
        EXPECT_EQ(demo.runningTime, 777u) << "a refused document changes nothing";
    }
}

TEST(BadDocument, EveryMissingRequiredAttributeIsALoadError)
{
    const std::string settings = "<Settings RunningTime=\"100\" NumberOfInputSurfaces=\"0\"/>";
    const std::string event = "<E LibraryFileName=\"P\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"100\">";
    const std::vector<std::string> bodies = {
        "<Settings RunningTime=\"100\"/>",
        settings + "<Library/>",
        settings + "<Library FileName=\"P\"><F/></Library>",
        settings + "<Library FileName=\"P\"><F Name=\"F\"><P/></F></Library>",
        settings + "<Track><E FunctionName=\"F\" StartTime=\"0\" EndTime=\"100\"/></Track>",
        settings + "<Track><E LibraryFileName=\"P\" FunctionName=\"F\" EndTime=\"100\"/></Track>",
        settings + "<Track><E LibraryFileName=\"P\" FunctionName=\"F\" StartTime=\"0\"/></Track>",
        settings + "<Track>" + event + "<param start=\"1\"/></E></Track>",
        settings + "<Track>" + event + "<param type=\"multi\" val=\"1\"/></E></Track>",
        settings + "<Track>" + event + "<param type=\"multi\" interpol=\"lin\"/></E></Track>",
        settings + "<Track>" + event + "<param type=\"combi\"><param/></param></E></Track>",
        settings + "<Track>" + event +
            "<param type=\"sin\" ampli=\"1\" offset=\"1\" height=\"1\"/></E></Track>",
        settings + "<Track>" + event + "<param type=\"beat\" min=\"1\" max=\"2\"/></E></Track>",
        // A missing attribute inside a combi operand.
        settings + "<Track>" + event +
            "<param type=\"combi\" op=\"1000\"><param type=\"sin\"/></param></E></Track>",
    };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(load_message(write_temp("missing.xml", "<Demo>" + body + "</Demo>")), kLoadError);
    }
}

TEST(BadDocument, WellFormedEncodingsOtherThanUtf8AreReadAsUtf8)
{
    // A document declared as UTF-16 whose bytes are plainly 8-bit is read as its bytes say.
    for (const char* file : {"latin1_declared.xml", "utf16le_bom.xml", "utf16_declared_but_8bit.xml"}) {
        SCOPED_TRACE(file);
        Demo demo;
        ASSERT_EQ(load_message(bad(file), demo), "");
        ASSERT_EQ(demo.texts.size(), 1u);
        EXPECT_EQ(demo.texts[0], "caf\xC3\xA9");
        ASSERT_EQ(demo.tracks.size(), 1u);
        EXPECT_EQ(demo.tracks[0].events.size(), 1u);
    }
}

TEST(BadDocument, EntitiesNeverReachOutsideTheDocument)
{
    Demo demo;
    std::string message = load_message(bad("external_entity.xml"), demo);
    if (!message.empty()) {
        EXPECT_EQ(message, kXmlError);
        return;
    }
    ASSERT_LE(demo.texts.size(), 1u);
    for (const std::string& text : demo.texts)
        EXPECT_EQ(text.find("root:"), std::string::npos) << "the file's content was read";
}

TEST(BadDocument, NumbersBeyond32BitsSaturateAndArithmeticWraps)
{
    Demo demo;
    ASSERT_EQ(load_message(bad("huge_numbers.xml"), demo), "");
    EXPECT_EQ(demo.runningTime, uint32_t(INT32_MAX));
    EXPECT_EQ(demo.aspectRatioX, 4) << "a side that is not positive keeps 4:3";
    EXPECT_EQ(demo.aspectRatioY, 3);
    const Event& event = demo.tracks.at(0).events.at(0);
    EXPECT_EQ(event.startTime, 2147483640u);
    EXPECT_EQ(event.endTime, 2147483640u);
    EXPECT_EQ(event.id, INT32_MAX);
    const uint32_t t = event.startTime;
    EXPECT_EQ(value_at(event, 0, t), INT32_MIN);
    EXPECT_EQ(value_at(event, 1, t), 0) << "0x7FFFFFFF squared is 1 in 32 bits";
    EXPECT_EQ(value_at(event, 2, t), INT32_MIN) << "negating INT32_MIN wraps to itself";
    EXPECT_EQ(value_at(event, 4, t), INT32_MIN) << "INT32_MAX + 1 wraps";
    EXPECT_EQ(value_at(event, 5, t), INT32_MAX) << "a sine with period 0 is its height";
    for (uint32_t time : {0u, t, t + 5000u, UINT32_MAX}) {
        SCOPED_TRACE(time);
        const int32_t bezier = value_at(event, 6, time);
        EXPECT_TRUE(bezier == INT32_MIN || bezier == INT32_MAX || (bezier > INT32_MIN && bezier < INT32_MAX));
        const int32_t linear = value_at(event, 7, time);
        EXPECT_TRUE(linear >= INT32_MIN && linear <= INT32_MAX);
    }
}

TEST(BadDocument, NegativeCountsAndLengthsReadAsTheirUnsignedSelves)
{
    Demo demo;
    ASSERT_EQ(load_message(bad("negative_counts.xml"), demo), "");
    EXPECT_EQ(demo.runningTime, uint32_t(-1000));
    EXPECT_EQ(demo.numberOfInputSurfaces, UINT32_MAX) << "refused later, when the surfaces are made";
    EXPECT_EQ(demo.aspectRatioX, 4);
    const Event& event = demo.tracks.at(0).events.at(0);
    EXPECT_EQ(event.params.at(0).lengths.at(0), uint32_t(-1000));
    // A segment 4294966 s long: half-way through the first second the value has barely moved.
    EXPECT_EQ(value_at(event, 0, event.startTime + 500), 0);
    EXPECT_EQ(value_at(event, 2, event.startTime), -5) << "beat without a resource gives min";
    EXPECT_EQ(value_at(event, 3, event.startTime), 0) << "loops without a resource gives 0";
}

TEST(BadDocument, DeepNestingAndManyTracksLoad)
{
    // 64 combis deep is allowed; 100000 nested foreign elements are walked without recursion.
    std::string combi = "<param type=\"const\" val=\"3\"/>";
    for (int i = 0; i < kMaxCombiDepth; ++i)
        combi = "<param type=\"combi\" op=\"1000\">" + combi + "</param>";
    std::string nest;
    for (int i = 0; i < 100000; ++i)
        nest += "<a>";
    for (int i = 0; i < 100000; ++i)
        nest += "</a>";
    std::string tracks;
    for (int i = 0; i < 1000; ++i)
        tracks += "<Track><E LibraryFileName=\"P\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"100\">" +
                  combi + "</E></Track>";
    Demo demo;
    ASSERT_EQ(load_message(write_temp("deep.xml", "<Demo><Settings RunningTime=\"100\" NumberOfInputSurfaces="
                                                  "\"0\"/>" +
                                                      nest + tracks + "</Demo>"),
                           demo),
              "");
    ASSERT_EQ(demo.tracks.size(), 1000u);
    EXPECT_EQ(value_at(demo.tracks[999].events.at(0), 0, 50), 3) << "64 negations";
}

TEST(BadDataFile, HeadersThatLieMeanNoDataFile)
{
    for (const char* file :
         {"lying_count.dat", "lying_content_size.dat", "sizes_exceed_content.dat", "negative_member_size.dat",
          "huge_count.dat", "count_two_billion.dat", "name_too_long.dat", "wrong_magic.dat",
          "header_only.dat", "empty.xml", "binary_garbage.xml"}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(open_data_file(bad(file).c_str()));
        EXPECT_EQ(OpenFile("a.png"), nullptr) << "nothing served from a refused file";
    }
}

TEST(BadDataFile, ARefusedFileDropsThePreviousOne)
{
    const std::string good = write_temp("good.dat", "7Fxyz 2 10\na.png 4\nb.png 6\nABCD012345");
    ASSERT_TRUE(open_data_file(good.c_str()));
    SDL_RWops* member = OpenFile("B.PNG");
    ASSERT_NE(member, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(SDL_RWread(member, bytes, 1, sizeof bytes), 6);
    EXPECT_EQ(std::string(bytes, 6), "012345");
    CloseFile(member);
    EXPECT_FALSE(open_data_file(bad("lying_count.dat").c_str()));
    EXPECT_EQ(OpenFile("b.png"), nullptr);
    EXPECT_FALSE(open_data_file(nullptr));
}

} // namespace
