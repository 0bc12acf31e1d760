// The calls one frame makes, in order, observed through the real probe plug-in's log lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "probe_demo.h"
#include "registry.h"
#include "timeline.h"

namespace
{

// Shortens the probe's lines: "frame" for Vortel_BeginNewFrame, "<tag>:<phase>@<localTime>" for Probe
// events (the tag is the last argument word), "<effect>:<phase>@<localTime>" for other effects; any other
// line is kept as it is, without its line break.
std::vector<std::string> trace()
{
    std::vector<std::string> out;
    for (const std::string& line : probe_log()) {
        char name[64];
        int phase = 0, local = 0;
        if (line.rfind("probe Vortel_BeginNewFrame", 0) == 0) {
            out.push_back("frame");
        } else if (std::sscanf(line.c_str(), "probe %63s phase=%d local=%d", name, &phase, &local) == 3) {
            std::string who = name;
            if (who == "Probe" || who == "ProbeFalse" || who == "ProbeStore") {
                size_t close = line.rfind(']'), space = line.rfind(' ', close);
                who = line.substr(space + 1, close - space - 1);
            }
            out.push_back(who + ":" + std::to_string(phase) + "@" + std::to_string(local));
        } else {
            out.push_back(line.substr(0, line.find('\n')));
        }
    }
    probe_log().clear();
    return out;
}

typedef std::vector<std::string> Trace;

template <typename... T> Demo one_library_demo(T... tracks)
{
    Demo demo;
    demo.libraries.push_back(full_probe_library());
    (demo.tracks.push_back(std::move(tracks)), ...);
    return demo;
}

} // namespace

TEST(FrameOrder, AdjacentEventsHandOverAtTheBoundary)
{
    Demo demo = one_library_demo(track(tagged_event(0, 1000, 1), tagged_event(1000, 2000, 2)));
    ProbeSession session(demo);
    ASSERT_TRUE(session.initialised());
    Timeline timeline(demo);
    trace();

    EXPECT_TRUE(timeline.run_frame(500));
    EXPECT_EQ(trace(), (Trace{"frame", "1:0@500", "1:1@500"}));
    EXPECT_TRUE(timeline.run_frame(999));
    EXPECT_EQ(trace(), (Trace{"frame", "1:1@999"}));
    EXPECT_TRUE(timeline.run_frame(1000));
    EXPECT_EQ(trace(), (Trace{"1:-1@1000", "frame", "2:0@0", "2:1@0"}));
    EXPECT_TRUE(timeline.run_frame(2000));
    EXPECT_EQ(trace(), (Trace{"2:-1@1000", "frame"}));
    EXPECT_EQ(timeline.run_state(0).activeIndex, -1);
}

TEST(FrameOrder, SkippedAndEmptyEventsGetNoCall)
{
    // 2 is skipped by the frames; 4 ends before it starts and 5 is shadowed by 3, which ends later.
    Demo demo =
        one_library_demo(track(tagged_event(0, 100, 1), tagged_event(100, 150, 2), tagged_event(150, 900, 3),
                               tagged_event(400, 400, 4), tagged_event(500, 600, 5)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    trace();

    timeline.run_frame(50);
    timeline.run_frame(160);
    timeline.run_frame(550);
    EXPECT_EQ(trace(), (Trace{"frame", "1:0@50", "1:1@50", "1:-1@160", "frame", "3:0@10", "3:1@10", "frame",
                              "3:1@400"}));
}

TEST(FrameOrder, JumpsForwardAndBackOverEvents)
{
    Demo demo = one_library_demo(track(tagged_event(0, 100, 1), tagged_event(100, 200, 2),
                                       tagged_event(200, 300, 3), tagged_event(300, 400, 4)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    trace();

    timeline.run_frame(50);
    trace();
    timeline.run_frame(350);
    EXPECT_EQ(trace(), (Trace{"1:-1@350", "frame", "4:0@50", "4:1@50"}));
    timeline.run_frame(120);
    EXPECT_EQ(trace(), (Trace{"4:-1@-180", "frame", "2:0@20", "2:1@20"}));
    timeline.run_frame(450);
    EXPECT_EQ(trace(), (Trace{"2:-1@350", "frame"}));
}

TEST(FrameOrder, TracksAreCalledFromTheLastToTheFirstAndAFalseRunningCallStopsTheFrame)
{
    // Track 2 of three turns false from 100 ms on (its second event has the false flag).
    Demo demo = one_library_demo(track(tagged_event(0, 1000, 10)), track(tagged_event(0, 1000, 11)),
                                 track(tagged_event(0, 100, 12), tagged_event(100, 1000, 13, 1)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    trace();

    EXPECT_TRUE(timeline.run_frame(0));
    EXPECT_EQ(trace(), (Trace{"frame", "12:0@0", "11:0@0", "10:0@0", "12:1@0", "11:1@0", "10:1@0"}));
    EXPECT_FALSE(timeline.run_frame(100));
    EXPECT_EQ(trace(), (Trace{"12:-1@100", "frame", "13:0@0", "13:1@0"}));
    EXPECT_FALSE(timeline.run_frame(200));
    EXPECT_EQ(trace(), (Trace{"frame", "13:1@100"}));
    // The stopped tracks keep their events: nothing is restarted once track 2 is over.
    EXPECT_EQ(timeline.run_state(0).activeIndex, 0);
    EXPECT_EQ(timeline.run_state(1).activeIndex, 0);
}

TEST(FrameOrder, LastCallsComeFromTheLastTrackFirstAndEveryLibraryStartsTheFrame)
{
    Demo demo = one_library_demo(track(tagged_event(0, 100, 20)), track(tagged_event(0, 100, 21)));
    demo.libraries.push_back(probe_library("Probe.so", {})); // the same plug-in listed twice
    ProbeSession session(demo);
    Timeline timeline(demo);
    timeline.run_frame(10);
    trace();
    timeline.run_frame(100);
    EXPECT_EQ(trace(), (Trace{"21:-1@100", "20:-1@100", "frame", "frame"}));
}

TEST(FrameOrder, StateRecordCarriesTimesStatusAndConstancy)
{
    Event sine = probe_event("Probe", 1000, 3000, {3, 0, 0});
    sine.params[2].kind = kParamSine;
    sine.params[2].ampli = 100;
    sine.params[2].period = 1000;
    Demo demo = one_library_demo(track(tagged_event(0, 500, 1), std::move(sine)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    trace();

    timeline.run_frame(250);
    ASSERT_EQ(probe_log().size(), 3u);
    EXPECT_EQ(probe_log()[2],
              "probe Probe phase=1 local=250 const=1 status=0 start=0 dur=500 args=[3 0 1]\n");
    // The probe leaves status 1; the player records it and sets 0 again before the next running call.
    EXPECT_EQ(timeline.run_state(0).status, 1);
    probe_log().clear();
    timeline.run_frame(1250);
    ASSERT_EQ(probe_log().size(), 4u);
    EXPECT_EQ(probe_log()[3],
              "probe Probe phase=1 local=250 const=0 status=0 start=1000 dur=2000 args=[3 0 99]\n");
}

TEST(FrameOrder, PrivateDataIsNullOnEveryFirstCall)
{
    Demo demo = one_library_demo(track(probe_event("ProbeStore", 0, 100, {2, 0}),
                                       probe_event("ProbeStore", 100, 200, {2, 0}),
                                       probe_event("ProbeStore", 300, 400, {2, 0})));
    ProbeSession session(demo);
    Timeline timeline(demo);
    for (uint32_t t : {0u, 50u, 100u, 150u, 250u, 300u, 350u, 20u, 120u}) {
        timeline.run_frame(t);
        EXPECT_EQ(timeline.run_state(0).privateData != nullptr, timeline.run_state(0).activeIndex >= 0)
            << "at " << t;
    }
    timeline.run_frame(1000);
    for (const std::string& line : probe_log())
        EXPECT_EQ(line.find("error"), std::string::npos) << line;
    EXPECT_EQ(timeline.run_state(0).privateData, nullptr);
}

TEST(FrameOrder, ArgumentCountsFromNoneToTheLimit)
{
    std::vector<int32_t> many(kMaxEffectWords);
    for (int i = 0; i < kMaxEffectWords; ++i)
        many[size_t(i)] = 1000 + i;
    std::vector<int32_t> tooMany = many;
    tooMany.push_back(9999);
    Demo demo = one_library_demo(track(probe_event("ProbeNone", 0, 100, {})),
                                 track(probe_event("ProbeMany", 0, 100, many)),
                                 track(probe_event("ProbeMany", 100, 200, tooMany)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    trace();

    EXPECT_TRUE(timeline.run_frame(0));
    std::string words;
    for (int32_t word : many)
        words += (words.empty() ? "" : " ") + std::to_string(word);
    ASSERT_EQ(probe_log().size(), 5u);
    EXPECT_EQ(probe_log()[4], "probe ProbeNone phase=1 local=0 const=1 status=0 start=0 dur=100 args=[]\n");
    EXPECT_NE(probe_log()[3].find("probe ProbeMany phase=1 local=0 const=1 status=0 start=0 dur=100 args=[" +
                                  words + "]\n"),
              std::string::npos);
    trace();

    // 69 words: never called, and its running call counts as false.
    EXPECT_FALSE(timeline.run_frame(100));
    EXPECT_EQ(trace(), (Trace{"ProbeMany:-1@100", "ProbeNone:-1@100", "frame"}));
    EXPECT_EQ(timeline.run_state(2).activeIndex, 0);
}

TEST(FrameOrder, PrivateAcquisitionsThroughThePlugIn)
{
    Demo demo = one_library_demo(track(probe_event("ProbeAcquire", 0, 100, {3, 0, 1})),
                                 track(probe_event("ProbeAcquire", 0, 200, {3, 0, 1})));
    demo.texts = {"probe-one"};
    ProbeSession session(demo);
    Timeline timeline(demo);
    registry_set_sink(probe_log_sink);
    probe_log().clear();

    // Track 1 has its first call before track 0 and takes the resource for itself.
    timeline.run_frame(0);
    const Trace expected{
        "frame",
        "ProbeAcquire:0@0",
        "probe acquire probe-one",
        "probe ProbeAcquire acquired probe-one",
        "ProbeAcquire:0@0",
        "ProbeAcquire tried to use the probe resource probe-one, but it's already in private use!",
        "probe ProbeAcquire acquired null",
        "ProbeAcquire:1@0",
        "ProbeAcquire:1@0"};
    EXPECT_EQ(trace(), expected);
    timeline.run_frame(100);
    EXPECT_EQ(trace(), (Trace{"ProbeAcquire:-1@100", "frame", "ProbeAcquire:1@100"}));
    timeline.run_frame(200);
    EXPECT_EQ(trace(), (Trace{"ProbeAcquire:-1@200", "probe release probe-one", "frame"}));

    bool isStatic = false;
    void* resource = AcquireByIndex(vortel_fourcc("PRBE"), 0, nullptr, true, "test", "probe", &isStatic);
    EXPECT_NE(resource, nullptr);
    EXPECT_TRUE(isStatic);
    EXPECT_EQ(ReleaseByIndex(vortel_fourcc("PRBE"), 0, resource), 1);
    registry_set_sink(nullptr);
}

TEST(FrameOrder, AnEffectsFatalErrorPassesThrough)
{
    Demo demo = one_library_demo(track(tagged_event(0, 100, 1, 4)));
    ProbeSession session(demo);
    Timeline timeline(demo);
    try {
        timeline.run_frame(0);
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Probe threw on request");
    }
    EXPECT_EQ(timeline_get_param(0, 0), 0) << "no event is current after the throw";
}
