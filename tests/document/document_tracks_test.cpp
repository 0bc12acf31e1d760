// The demo document: tracks, events, IDs and every parameter form.
#include <gtest/gtest.h>

#include "load_helpers.h"

namespace
{

std::string event(const std::string& attributes, const std::string& params = "")
{
    return "<E LibraryFileName=\"L\" FunctionName=\"F\" " + attributes + ">" + params + "</E>";
}

// The parameter of a document with one event holding one param element.
Param only_param(Demo demo)
{
    if (demo.tracks.size() != 1 || demo.tracks[0].events.size() != 1 ||
        demo.tracks[0].events[0].params.size() != 1) {
        ADD_FAILURE() << "expected one event with one parameter";
        return Param();
    }
    return std::move(demo.tracks[0].events[0].params[0]);
}

} // namespace

TEST(DocumentTracks, EveryChildElementOfATrackIsAnEventInDocumentOrder)
{
    const Demo demo =
        load_xml(demo_xml("<Track>" + event("StartTime=\"0\" EndTime=\"100\"") + "text" +
                          event("StartTime=\"100\" EndTime=\"200\"") + "</Track><Track/><Wrap><Track>" +
                          event("StartTime=\"5\" EndTime=\"60\"") + "</Track></Wrap>"));
    ASSERT_EQ(demo.tracks.size(), 3u);
    EXPECT_EQ(demo.tracks[0].events.size(), 2u);
    EXPECT_TRUE(demo.tracks[1].events.empty());
    ASSERT_EQ(demo.tracks[2].events.size(), 1u);
    const Event& e = demo.tracks[0].events[1];
    EXPECT_EQ(e.libraryFileName, "L");
    EXPECT_EQ(e.functionName, "F");
    EXPECT_EQ(e.startTime, 100u);
    EXPECT_EQ(e.endTime, 200u);
    EXPECT_EQ(e.function, nullptr);
}

TEST(DocumentTracks, TimesAreRoundedDownToTensAsUnsignedNumbers)
{
    const Demo demo = load_xml(demo_xml("<Track>" + event("StartTime=\"1234\" EndTime=\"9\"") +
                                        event("StartTime=\"-1\" EndTime=\"4294967299\"") + "</Track>"));
    const auto& events = demo.tracks[0].events;
    EXPECT_EQ(events[0].startTime, 1230u);
    EXPECT_EQ(events[0].endTime, 0u);
    EXPECT_EQ(events[1].startTime, 4294967290u); // -1 read as 0xFFFFFFFF
    EXPECT_EQ(events[1].endTime, 2147483640u);   // saturated at 2^31 - 1
}

TEST(DocumentTracks, AutomaticIdsFollowTheLargestIdSeenBefore)
{
    const std::string times = "StartTime=\"0\" EndTime=\"10\"";
    const Demo demo =
        load_xml(demo_xml("<Track>" + event("ID=\"5\" " + times) + event(times) + "</Track><Track>" +
                          event("ID=\"3\" " + times) + event(times) + "</Track>"));
    EXPECT_EQ(demo.tracks[0].events[0].id, 5);
    EXPECT_EQ(demo.tracks[0].events[1].id, 6);
    EXPECT_EQ(demo.tracks[1].events[0].id, 3);
    EXPECT_EQ(demo.tracks[1].events[1].id, 7);
}

TEST(DocumentTracks, NegativeIdsCountAsLargeWhenRaisingTheCounter)
{
    const std::string times = "StartTime=\"0\" EndTime=\"10\"";
    const Demo demo = load_xml(
        demo_xml("<Track>" + event(times) + event("ID=\"-2\" " + times) + event(times) + "</Track>"));
    EXPECT_EQ(demo.tracks[0].events[0].id, 1);
    EXPECT_EQ(demo.tracks[0].events[1].id, -2);
    EXPECT_EQ(demo.tracks[0].events[2].id, -1);
}

TEST(DocumentParams, OnlyChildrenNamedParamAreArguments)
{
    const Demo demo =
        load_xml(event_xml("<param val=\"1\" type=\"const\"/><note/><param type=\"x\" val=\"2\"/>"
                           "<Param val=\"3\" type=\"const\"/>"));
    const auto& params = demo.tracks[0].events[0].params;
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0].kind, kParamConstant);
    EXPECT_EQ(params[0].value, 1);
    EXPECT_EQ(params[1].kind, kParamConstant);
    EXPECT_EQ(params[1].value, 2);
}

TEST(DocumentParams, ConstantsTakeAnyUnknownTypeAndDefaultToZero)
{
    EXPECT_EQ(only_param(load_xml(event_xml("<param type=\"Multi\" val=\"9\"/>"))).value, 9);
    const Param noValue = only_param(load_xml(event_xml("<param type=\"const\"/>")));
    EXPECT_EQ(noValue.kind, kParamConstant);
    EXPECT_EQ(noValue.value, 0);
}

TEST(DocumentParams, AParamWithoutTypeIsOneLinearSegmentOverTheEvent)
{
    const Param p = only_param(load_xml(event_xml("<param start=\"10\" end=\"-20\"/>")));
    EXPECT_EQ(p.kind, kParamMulti);
    EXPECT_EQ(p.interpolation, kInterpolLin);
    EXPECT_EQ(p.keys, (std::vector<int32_t>{10, -20}));
    EXPECT_EQ(p.lengths, (std::vector<uint32_t>{2000}));
    EXPECT_EQ(p.segmentEnds, (std::vector<uint64_t>{2000}));
}

TEST(DocumentParams, MultiReadsItsInterpolationAndSegments)
{
    const Param p = only_param(load_xml(event_xml("<param type=\"multi\" interpol=\"bez\" val=\"1\">"
                                                  "<seg time=\"100\" val=\"2\"/><other time=\"7\"/>"
                                                  "<seg time=\"0\" val=\"3\"/><seg/></param>")));
    EXPECT_EQ(p.kind, kParamMulti);
    EXPECT_EQ(p.interpolation, kInterpolBez);
    EXPECT_EQ(p.keys, (std::vector<int32_t>{1, 2, 3, 0}));
    EXPECT_EQ(p.lengths, (std::vector<uint32_t>{100, 0, 0}));
    EXPECT_EQ(p.segmentEnds, (std::vector<uint64_t>{100, 100, 100}));
    EXPECT_EQ(
        only_param(load_xml(event_xml("<param type=\"multi\" interpol=\"lin\" val=\"1\"/>"))).interpolation,
        kInterpolLin);
    EXPECT_EQ(
        only_param(load_xml(event_xml("<param type=\"multi\" interpol=\"sqd\" val=\"1\"/>"))).interpolation,
        kInterpolSqd);
}

TEST(DocumentParams, SineBeatLoopsAndRotateReadTheirAttributes)
{
    const Demo demo =
        load_xml(event_xml("<param type=\"sin\" ampli=\"1\" period=\"2\" offset=\"3\" height=\"4\"/>"
                           "<param type=\"beat\" ID=\"5\" min=\"6\" max=\"7\"/>"
                           "<param type=\"loops\" val=\"8\"/><param type=\"loops\"/>"
                           "<param type=\"rotate\"/>"));
    const auto& p = demo.tracks[0].events[0].params;
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0].kind, kParamSine);
    EXPECT_EQ((std::vector<int32_t>{p[0].ampli, p[0].period, p[0].offset, p[0].height}),
              (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(p[1].kind, kParamBeat);
    EXPECT_EQ((std::vector<int32_t>{p[1].textIndex, p[1].min, p[1].max}), (std::vector<int32_t>{5, 6, 7}));
    EXPECT_EQ(p[2].kind, kParamLoops);
    EXPECT_EQ(p[2].textIndex, 8);
    EXPECT_EQ(p[3].textIndex, 0);
    EXPECT_EQ(p[4].kind, kParamRotate);
}

TEST(DocumentParams, CombiOperandsArePositionalAndMayBeAnyForm)
{
    const Param p =
        only_param(load_xml(event_xml("<param type=\"combi\" op=\"1\">"
                                      "<a type=\"const\" val=\"5000\"/>"
                                      "<b type=\"combi\" op=\"1000\"><c start=\"0\" end=\"1\"/></b>"
                                      "</param>")));
    EXPECT_EQ(p.kind, kParamCombi);
    EXPECT_EQ(p.op, kCombiMultiply);
    ASSERT_TRUE(p.first && p.second);
    EXPECT_EQ(p.first->value, 5000);
    EXPECT_EQ(p.second->kind, kParamCombi);
    EXPECT_EQ(p.second->op, kCombiNegate);
    ASSERT_TRUE(p.second->first);
    EXPECT_EQ(p.second->first->kind, kParamMulti);
    EXPECT_FALSE(p.second->second);
}

TEST(DocumentParams, TheWholeFixtureDemoLoads)
{
    Demo demo;
    load_demo(VORTEL_SOURCE_DIR "/tests/fixtures/document_every_param.xml", demo);
    ASSERT_EQ(demo.tracks.size(), 2u);
    ASSERT_EQ(demo.tracks[0].events.size(), 2u);
    EXPECT_EQ(demo.tracks[0].events[0].params.size(), 12u);
    EXPECT_EQ(demo.texts, (std::vector<std::string>{"beat", "logo.png"}));
    EXPECT_EQ(demo.libraries.size(), 2u);
}
