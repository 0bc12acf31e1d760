// The Swarms plug-in entry, its 'SWRM' handlers, the swarm cache and the frame protocol of its effects.
#include "common/resource_cache.h"
#include <swarm_effects.h>
#include <swarm_store.h>

#include "swarm_host.h"

#include <algorithm>

namespace
{

TEST(SwarmsEntry, InitRegistersTheSwarmHandlersAndMakesTheCache)
{
    SwarmHost host;
    ASSERT_EQ(host.handlers.size(), 1u);
    EXPECT_EQ(host.handlers[0].type, kTypeSwarm);
    EXPECT_EQ(host.handlers[0].acquire, &ProduceSwarm);
    EXPECT_EQ(host.handlers[0].release, &ReleaseSwarm);
    ASSERT_NE(swarms::gCache, nullptr);
    EXPECT_STREQ(swarms::gCache->name(), "SwarmsCache");
    EXPECT_EQ(swarms::gCache->capacity(), 10);
    EXPECT_TRUE(Vortel_BeginNewFrame(0));
}

TEST(SwarmsEntry, ProduceAndReleaseOfUnknownNamesChangeNothing)
{
    SwarmHost host;
    bool flag = true;
    EXPECT_EQ(ProduceSwarm("ghost", nullptr, &flag), nullptr);
    EXPECT_TRUE(flag);
    flag = false;
    EXPECT_EQ(ProduceSwarm("ghost", nullptr, &flag), nullptr);
    EXPECT_FALSE(flag);
    EXPECT_FALSE(ReleaseSwarm("ghost", nullptr));
    EXPECT_EQ(live_swarms(), 0);
}

TEST(SwarmsEntry, AProducerOwnsItsSwarmFromFirstToLastCall)
{
    SwarmHost host;
    const int32_t name = host.text("cube");
    Event constant(true), varying(false);
    EXPECT_TRUE(constant.first(MakeCubeSwarm, name, 2, 1, 0));
    EXPECT_NE(constant.slot, nullptr);
    bool isStatic = false;
    const SwarmRecord* r = host.swarm("cube", &isStatic);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(isStatic); // the creating event's paramsConstant
    EXPECT_EQ(swarms::gCache->refCountAt(0), 1);

    EXPECT_TRUE(varying.first(MakeSphereSwarm, host.text("ball"), 1, 3, 1));
    host.swarm("ball", &isStatic);
    EXPECT_FALSE(isStatic);

    EXPECT_TRUE(constant.last(MakeCubeSwarm, name, 2, 1, 0));
    EXPECT_EQ(constant.slot, nullptr);
    EXPECT_EQ(host.swarm("cube"), nullptr);
    varying.last(MakeSphereSwarm, host.text("ball"), 1, 3, 1);
    EXPECT_EQ(live_swarms(), 0);
}

TEST(SwarmsEntry, AMissingOutputNameIsLoggedAndStopsTheCall)
{
    SwarmHost host;
    Event e;
    EXPECT_FALSE(e.first(MakeCubeSwarm, 7, 2, 1, 0));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_EQ(e.slot, nullptr);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0], "MakeCubeSwarm: Couldn't get the name for the swarm nr 7");

    const int32_t name = host.text("a");
    EXPECT_FALSE(e.run(SplitSwarm, name, 9, name, 1));
    EXPECT_EQ(host.log.back(), "SplitSwarms: Couldn't get the name for the swarm nr 9");
    EXPECT_FALSE(e.run(MakeBezierSwarm, -1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(host.log.back(), "MakeBezierSwarm: Couldn't get the name for the swarm nr -1");
    EXPECT_EQ(live_swarms(), 0);
}

TEST(SwarmsEntry, EveryMessageIsExactlyOneLineOfTheLog)
{
    SwarmHost host(SwarmHost::kVerbatimLog);
    Event unnamed, negative;
    unnamed.first(MakeCubeSwarm, 7, 2, 1, 0);                         // a text written without a line break
    negative.start(MakeStarfieldSwarm, host.text("stars"), -1, 1, 0); // and one written with it
    ASSERT_EQ(host.log.size(), 2u);
    EXPECT_EQ(host.log[0], "MakeCubeSwarm: Couldn't get the name for the swarm nr 7\n");
    EXPECT_EQ(host.log[1].rfind("MakeStarfieldSwarm: cannot make -1 points", 0), 0u);
    EXPECT_EQ(std::count(host.log[1].begin(), host.log[1].end(), '\n'), 1);
    EXPECT_EQ(host.log[1].back(), '\n');
    negative.last(MakeStarfieldSwarm, host.text("stars"), -1, 1, 0);
    EXPECT_FALSE(Vortel_Init(nullptr, nullptr, nullptr));
}

TEST(SwarmsEntry, ElevenProducersGrowTheCacheWithoutMovingTheFirstTen)
{
    SwarmHost host;
    std::vector<Event> events(11);
    std::vector<const SwarmRecord*> records;
    for (int i = 0; i < 11; ++i) {
        events[i].first(DrawLineSwarm, host.text("line" + std::to_string(i)), 0, 0, i, 0, 0, i, 1, 0);
        records.push_back(host.swarm("line" + std::to_string(i)));
    }
    EXPECT_EQ(swarms::gCache->capacity(), 13);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(host.swarm("line" + std::to_string(i)), records[i]);
        EXPECT_EQ(records[i]->positions[0], float(i));
    }
    // Ending the event in the middle moves the last entry into its slot; that swarm is still found.
    events[4].last(DrawLineSwarm, host.text("line4"), 0, 0, 4, 0, 0, 4, 1, 0);
    EXPECT_STREQ(swarms::gCache->nameAt(4), "line10");
    EXPECT_EQ(host.swarm("line10"), records[10]);
    for (int i = 0; i < 11; ++i)
        if (i != 4)
            events[i].last(DrawLineSwarm, host.text("line" + std::to_string(i)), 0, 0, i, 0, 0, i, 1, 0);
    EXPECT_EQ(live_swarms(), 0);
}

TEST(SwarmsEntry, ASecondLiveProducerOfOneNameIsRefusedWithoutHarmingTheFirst)
{
    SwarmHost host;
    const int32_t name = host.text("twin");
    Event owner, intruder;
    owner.first(MakeCubeSwarm, name, 2, 1, 1);
    const SwarmRecord* r = host.swarm("twin");
    ASSERT_NE(r, nullptr);

    intruder.first(MakeSphereSwarm, name, 5, 4, 4);
    EXPECT_EQ(intruder.state.status, -1);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_NE(host.log[0].find("\"twin\""), std::string::npos);
    // Running calls stay quiet and leave the owner's swarm alone.
    intruder.run(MakeSphereSwarm, name, 5, 4, 4);
    intruder.run(MakeSphereSwarm, name, 6, 4, 4);
    EXPECT_EQ(host.log.size(), 1u);
    EXPECT_EQ(swarms::gCache->size(), 1);
    EXPECT_EQ(host.swarm("twin"), r);
    EXPECT_EQ(r->count, 8);

    // The intruder's last call must not release the owner's reference.
    intruder.last(MakeSphereSwarm, name, 5, 4, 4);
    EXPECT_EQ(host.swarm("twin"), r);
    EXPECT_EQ(swarms::gCache->refCountAt(0), 1);
    owner.last(MakeCubeSwarm, name, 2, 1, 1);
    EXPECT_EQ(live_swarms(), 0);
}

TEST(SwarmsEntry, TheLastCallReleasesTheSwarmItMadeEvenIfTheNameParameterChanged)
{
    SwarmHost host;
    const int32_t a = host.text("a"), b = host.text("b");
    Event e;
    e.first(MakeCubeSwarm, a, 2, 1, 0);
    e.run(MakeCubeSwarm, b, 2, 1, 0);
    EXPECT_EQ(host.swarm("b"), nullptr);
    e.last(MakeCubeSwarm, 99, 2, 1, 0); // even a name that no longer resolves
    EXPECT_EQ(live_swarms(), 0);
}

// A producer still active when the demo ends gets no last call: a normal end, so the quit is silent.
TEST(SwarmsEntry, QuitWithASwarmStillHeldReturnsTrueSilently)
{
    SwarmHost host;
    Event e;
    e.first(MakeCubeSwarm, host.text("held"), 2, 1, 0);
    EXPECT_TRUE(Vortel_Quit());
    EXPECT_TRUE(host.log.empty()) << host.log.front();
    // The cache stays: the holder can still end cleanly, and a later quit succeeds.
    e.last(MakeCubeSwarm, host.text("held"), 2, 1, 0);
    EXPECT_TRUE(Vortel_Quit());
    EXPECT_EQ(swarms::gCache, nullptr);
}

} // namespace
