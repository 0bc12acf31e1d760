// The studio's document edits: only the named bytes change, and the loader reads the new values at the
// places the edit named.
#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "demo_loader.h"
#include "document_edit.h"

using studio::Key;

namespace
{

std::string source_file(const std::string& path)
{
    std::ifstream in(VORTEL_SOURCE_DIR "/" + path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string example_document()
{
    return source_file("docs/example.xml");
}

Demo load_text(const std::string& text)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = std::string(info->test_suite_name()) + "." + info->name() + ".xml";
    std::ofstream(path, std::ios::binary) << text;
    Demo demo;
    load_demo(path.c_str(), demo);
    return demo;
}

// `after` is `before` with its one occurrence of `from` replaced by `to`, and nothing else changed.
void expect_only_replaced(const std::string& before, const std::string& after, const std::string& from,
                          const std::string& to)
{
    const size_t at = before.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    ASSERT_EQ(before.find(from, at + 1), std::string::npos) << "not unique: " << from;
    EXPECT_EQ(after.substr(0, at), before.substr(0, at)) << "the bytes before the edit changed";
    ASSERT_GE(after.size(), at + to.size());
    EXPECT_EQ(after.substr(at, to.size()), to);
    EXPECT_EQ(after.substr(at + to.size()), before.substr(at + from.size()))
        << "the bytes after the edit changed";
}

void expect_keys(const Param& param, int32_t interpolation, std::vector<int32_t> keys,
                 std::vector<uint32_t> lengths)
{
    EXPECT_EQ(param.kind, kParamMulti);
    EXPECT_EQ(param.interpolation, interpolation);
    EXPECT_EQ(param.keys, keys);
    EXPECT_EQ(param.lengths, lengths);
}

// A document that hides look-alike markup in every place a scanner can trip over, with CRLF line ends.
const char* const kTrickyDocument =
    "\xEF\xBB\xBF<?xml version='1.0' encoding=\"UTF-8\"?>\r\n"
    "<!DOCTYPE Demo [\r\n"
    "  <!ELEMENT Demo ANY> <!-- ]> <Track> -->\r\n"
    "  <!ENTITY unused \"<Track><Event/></Track>\"> <?pi ]> <Track>?>\r\n"
    "]>\r\n"
    "<!-- <Track><Event StartTime=\"1\"/></Track> -->\r\n"
    "<Demo><Settings RunningTime='5000' NumberOfInputSurfaces=\"0\" Note='a > b / \"c\"'/>\r\n"
    "  <Track><![CDATA[ <Track><param start=\"1\" end=\"2\"/></Track> ]]>\r\n"
    "    <Blink LibraryFileName=\"L\" FunctionName='F' StartTime=\"0\" EndTime=\"1000\">\r\n"
    "      <!-- <param type=\"const\" val=\"9\"/> -->\r\n"
    "      <other/><param type=\"const\" val='1' note=\"x&gt;y\"/>\r\n"
    "      <param start=\"0\"\r\n"
    "             end=\"10\"\r\n"
    "             />\r\n"
    "      <Track><E LibraryFileName=\"L\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"100\"/></Track>\r\n"
    "    </Blink>\r\n"
    "    <Event LibraryFileName=\"L\" FunctionName=\"F\" StartTime=\"0\" EndTime=\"2000\">\r\n"
    "      <param type=\"multi\" interpol=\"sqd\" val=\"0\">\r\n"
    "        <seg time=\"500\" val=\"1\"/>\r\n"
    "        <seg time=\"500\" val=\"2\"/>\r\n"
    "      </param>\r\n"
    "    </Event>\r\n"
    "  </Track>\r\n"
    "</Demo>\r\n"
    "<!-- <Track/> -->\r\n";

} // namespace

TEST(StudioEdit, EditsOfTheExampleChangeOnlyTheirOwnBytesAndLoadBack)
{
    const std::string original = example_document();
    std::string error;

    std::string text = original;
    ASSERT_TRUE(studio::set_event_times(text, 0, 1, 6000, 8000, &error)) << error;
    expect_only_replaced(original, text, "StartTime=\"6500\" EndTime=\"8010\"",
                         "StartTime=\"6000\" EndTime=\"8000\"");

    std::string before = text;
    ASSERT_TRUE(studio::set_param_keys(text, 0, 0, 3, {{0, 200}, {400, 50}, {1000, 0}}, &error)) << error;
    expect_only_replaced(before, text, "val=\"255\"><seg time=\"1000\" val=\"0\"/>",
                         "val=\"200\"><seg time=\"400\" val=\"50\"/><seg time=\"600\" val=\"0\"/>");

    before = text;
    ASSERT_TRUE(studio::set_param_keys(text, 2, 0, 2, {{0, 20000}, {3000, 22000}, {8000, 24000}}, &error))
        << error;
    expect_only_replaced(
        before, text, "<param start=\"20000\" end=\"24000\"/>",
        "<param type=\"multi\" interpol=\"lin\" val=\"20000\"><seg time=\"3000\" val=\"22000\"/>"
        "<seg time=\"5000\" val=\"24000\"/></param>");

    before = text;
    ASSERT_TRUE(studio::set_param_value(text, 1, 0, 1, -7, &error)) << error;
    expect_only_replaced(before, text, "val=\"640\"", "val=\"-7\"");

    const Demo demo = load_text(text);
    EXPECT_EQ(demo.tracks[0].events[1].startTime, 6000u);
    EXPECT_EQ(demo.tracks[0].events[1].endTime, 8000u);
    expect_keys(demo.tracks[0].events[0].params[3], kInterpolBez, {200, 50, 0}, {400, 600});
    expect_keys(demo.tracks[2].events[0].params[2], kInterpolLin, {20000, 22000, 24000}, {3000, 5000});
    EXPECT_EQ(demo.tracks[1].events[0].params[1].value, -7);
}

TEST(StudioEdit, CountsTracksEventsAndParamsAsTheLoaderDoesPastLookAlikeMarkup)
{
    const std::string original = kTrickyDocument;
    ASSERT_EQ(load_text(original).tracks.size(), 2u); // the loader agrees with the comments in it
    std::string text = original, error;

    ASSERT_TRUE(studio::set_param_value(text, 0, 0, 0, 42, &error)) << error;
    expect_only_replaced(original, text, "val='1'", "val='42'");

    std::string before = text;
    ASSERT_TRUE(studio::set_param_keys(text, 0, 0, 1, {{0, 3}, {250, 4}}, &error)) << error;
    expect_only_replaced(before, text, "<param start=\"0\"\r\n             end=\"10\"\r\n             />",
                         "<param type=\"multi\" interpol=\"lin\" val=\"3\"\r\n             >"
                         "<seg time=\"250\" val=\"4\"/></param>");

    before = text;
    ASSERT_TRUE(studio::set_param_keys(text, 0, 1, 0, {{0, 5}, {100, 6}, {100, 7}, {900, 8}}, &error))
        << error;
    expect_only_replaced(
        before, text,
        "val=\"0\">\r\n        <seg time=\"500\" val=\"1\"/>\r\n        <seg time=\"500\" val=\"2\"/>",
        "val=\"5\">\r\n        <seg time=\"100\" val=\"6\"/>\r\n        <seg time=\"0\" val=\"7\"/>"
        "\r\n        <seg time=\"800\" val=\"8\"/>");

    before = text;
    ASSERT_TRUE(studio::set_event_times(text, 1, 0, 20, 90, &error))
        << error; // the Track inside the Blink event
    expect_only_replaced(before, text, "StartTime=\"0\" EndTime=\"100\"/>",
                         "StartTime=\"20\" EndTime=\"90\"/>");

    const Demo demo = load_text(text);
    ASSERT_EQ(demo.tracks.size(), 2u);
    const Event& blink = demo.tracks[0].events[0];
    EXPECT_EQ(blink.params[0].value, 42);
    expect_keys(blink.params[1], kInterpolLin, {3, 4}, {250});
    expect_keys(demo.tracks[0].events[1].params[0], kInterpolSqd, {5, 6, 7, 8}, {100, 0, 800});
    EXPECT_EQ(demo.tracks[1].events[0].startTime, 20u);
    EXPECT_EQ(demo.tracks[1].events[0].endTime, 90u);
}

// Every event and every eighth param of the bundled demos (all would take long under the sanitizers),
// edited where the loader saw them, read back changed.
TEST(StudioEdit, FindsEveryEventAndParamOfTheBundledDemosWhereTheLoaderSeesThem)
{
    for (const char* path : {"docs/example.xml", "demos/showcase/showcase.xml", "demos/swarms/swarms.xml",
                             "demos/flames/flames.xml", "demos/pictures/pictures.xml",
                             "demos/models/models.xml", "demos/shaders/shaders.xml"}) {
        SCOPED_TRACE(path);
        std::string text = source_file(path), error;
        Demo demo = load_text(text);
        int32_t mark = 0;
        for (size_t t = 0; t < demo.tracks.size(); ++t)
            for (size_t e = 0; e < demo.tracks[t].events.size(); ++e) {
                Event& event = demo.tracks[t].events[e];
                // The same length: a straight line's segment is the event's length.
                const uint32_t length = event.endTime - event.startTime;
                event.startTime = uint32_t(++mark) * 10;
                event.endTime = event.startTime + std::max(length, 10u);
                ASSERT_TRUE(studio::set_event_times(text, t, e, event.startTime, event.endTime, &error))
                    << error;
                for (size_t p = 0; p < event.params.size(); ++p) {
                    Param& param = event.params[p];
                    if (mark % 8 != 0)
                        ++mark;
                    else if (param.kind == kParamConstant) {
                        param.value = ++mark;
                        ASSERT_TRUE(studio::set_param_value(text, t, e, p, param.value, &error)) << error;
                    } else if (param.kind == kParamMulti) {
                        std::vector<Key> keys = {{0, ++mark}};
                        for (uint32_t length : param.lengths)
                            keys.push_back({keys.back().time + length, ++mark});
                        ASSERT_TRUE(studio::set_param_keys(text, t, e, p, keys, &error)) << error;
                        for (size_t k = 0; k < keys.size(); ++k)
                            param.keys[k] = keys[k].value;
                    }
                }
            }
        const Demo edited = load_text(text);
        ASSERT_EQ(edited.tracks.size(), demo.tracks.size());
        for (size_t t = 0; t < demo.tracks.size(); ++t)
            for (size_t e = 0; e < demo.tracks[t].events.size(); ++e) {
                const Event& want = demo.tracks[t].events[e];
                const Event& got = edited.tracks[t].events[e];
                EXPECT_EQ(got.startTime, want.startTime);
                EXPECT_EQ(got.endTime, want.endTime);
                for (size_t p = 0; p < want.params.size(); ++p) {
                    EXPECT_EQ(got.params[p].value, want.params[p].value) << t << "/" << e << "/" << p;
                    EXPECT_EQ(got.params[p].keys, want.params[p].keys) << t << "/" << e << "/" << p;
                    EXPECT_EQ(got.params[p].lengths, want.params[p].lengths) << t << "/" << e << "/" << p;
                }
            }
    }
}

TEST(StudioEdit, OneKeyLeavesAMultiWithoutSegs)
{
    std::string text = "<Demo><Track><E><param type='multi' val='1'>\n  <seg time='5' val='2'/>\n</param>"
                       "<param type='multi' interpol='bez' val='1'/></E></Track></Demo>";
    std::string error;
    ASSERT_TRUE(studio::set_param_keys(text, 0, 0, 0, {{0, 9}}, &error)) << error;
    ASSERT_TRUE(studio::set_param_keys(text, 0, 0, 1, {{0, 8}}, &error)) << error;
    EXPECT_EQ(text, "<Demo><Track><E><param type='multi' val='9' interpol=\"lin\"></param>"
                    "<param type='multi' interpol='bez' val='8'/></E></Track></Demo>");
}

// The reason an edit gives for refusing, once it is seen to have left the text alone.
template <class Edit> std::string refusal(const std::string& document, Edit edit)
{
    std::string text = document, error;
    EXPECT_FALSE(edit(text, &error));
    EXPECT_EQ(text, document) << error;
    return error;
}

TEST(StudioEdit, RefusesWithAReasonAndLeavesTheTextAsItWas)
{
    using namespace studio;
    const std::string example = example_document();
    auto times = [](size_t t, size_t e) {
        return
            [=](std::string& text, std::string* error) { return set_event_times(text, t, e, 0, 10, error); };
    };
    EXPECT_EQ(refusal(example, times(8, 0)), "the document has no track 8 (it has 8)");
    EXPECT_EQ(refusal(example, times(3, 1)), "track 3 has no event 1 (it has 1)");
    EXPECT_EQ(
        refusal(example, [](auto& text, auto* error) { return set_param_value(text, 6, 0, 0, 1, error); }),
        "track 6, event 0 has no param 0 (it has 0)");
    EXPECT_EQ(
        refusal(example, [](auto& text, auto* error) { return set_param_value(text, 0, 0, 3, 1, error); }),
        "param 3 of track 0, event 0 is of type \"multi\", not a constant");
    EXPECT_EQ(refusal(example,
                      [](auto& text, auto* error) {
                          return set_param_keys(text, 3, 0, 2, {{0, 1}}, error);
                      }),
              "param 2 of track 3, event 0 is of type \"sin\", not a multi or a straight line");
    EXPECT_EQ(refusal(example,
                      [](auto& text, auto* error) {
                          return set_param_keys(text, 0, 0, 3, {{0, 1}, {9, 1}, {8, 1}}, error);
                      }),
              "key 2 (at 8 ms) comes before the key ahead of it (at 9 ms)");
    EXPECT_EQ(refusal("<!DOCTYPE D [<!ENTITY t '<Track/>'>]><D>&t;</D>", times(0, 0)),
              "the studio cannot edit this document: it uses the entity &t; (near byte 40)");
    EXPECT_EQ(refusal("<!DOCTYPE D [<!ATTLIST param type CDATA 'const'>]><D/>", times(0, 0)),
              "the studio cannot edit this document: its DOCTYPE declares attribute defaults (<!ATTLIST>) "
              "(near byte 13)");
    EXPECT_EQ(refusal("<D><Track></D>", times(0, 0)),
              "the document is not well-formed near byte 10: </D> closes <Track>");
}

// Every truncation of a real document and random byte damage: a clear refusal or an edit, never a crash.
TEST(StudioEdit, DamagedDocumentsAreRefusedWithoutHarm)
{
    const std::string example = example_document();
    const size_t rootEnd = example.find("</Demo>") + 7;
    for (size_t length = 0; length < example.size(); ++length) {
        std::string text = example.substr(0, length), error;
        const bool edited = studio::set_param_keys(text, 0, 0, 3, {{0, 1}, {5, 2}}, &error);
        if (length < rootEnd) {
            ASSERT_FALSE(edited) << "truncated at " << length;
            ASSERT_EQ(error.rfind("the document is not well-formed near byte ", 0), 0u) << error;
            ASSERT_EQ(text, example.substr(0, length));
        }
    }
    std::mt19937 random(7);
    const char damage[] = "<>&;'\"/=![]-? \r\n\0xa";
    for (int round = 0; round < 500; ++round) {
        std::string text = example;
        for (int flips = 0; flips < 3; ++flips)
            text[random() % text.size()] = damage[random() % (sizeof(damage) - 1)];
        const std::string damaged = text;
        std::string error;
        if (!studio::set_event_times(text, round % 9, 0, 0, 10, &error)) {
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(text, damaged);
        }
    }
}
