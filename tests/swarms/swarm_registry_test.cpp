// The Swarms plug-in behind the player's own services and resource registry.
#include <gtest/gtest.h>

#include <string>
#include <swarm_effects.h>
#include <vector>
#include <vortel/records.h>

#include "registry.h"
#include "services.h"

namespace
{

std::vector<std::string> gLog;
void keep(const char* text)
{
    gLog.push_back(text);
}

TEST(SwarmsWithThePlayerRegistry, ProducersConsumersAndStaticFlagsMeetThroughTheRegistry)
{
    const std::vector<std::string> texts = {"ball", "moved", "nothing"};
    set_texts(&texts);
    registry_set_sink(keep);
    ServicesStruct services{};
    services_fill(&services, nullptr);
    services.Log = keep;
    ASSERT_TRUE(Vortel_Init(nullptr, nullptr, &services));

    StateStruct ballState{}, moveState{};
    void *ballSlot = nullptr, *moveSlot = nullptr;
    ballState.paramsConstant = true;
    MakeSphereSwarm(&ballState, &ballSlot, 0, 1, 4, 1);
    MoveSwarm(&moveState, &moveSlot, 1, 0, 0, 0, 0, 5000, 0, 0, 0, 10000, 100000);
    EXPECT_EQ(moveState.status, 2);

    bool flag = false;
    const SwarmRecord* moved = static_cast<const SwarmRecord*>(
        AcquireByIndex(kTypeSwarm, 1, nullptr, false, "test", "swarm ", &flag));
    ASSERT_NE(moved, nullptr);
    EXPECT_FALSE(flag); // the move event's parameters were not constant
    ASSERT_EQ(moved->count, 6);
    EXPECT_FLOAT_EQ(moved->positions[1], -1.0f);
    EXPECT_FLOAT_EQ(moved->positions[2], 5.0f);
    EXPECT_EQ(ReleaseByIndex(kTypeSwarm, 1, const_cast<SwarmRecord*>(moved)), 1);

    // Unchanged and static: the consumer does nothing; the source is released again each call.
    moveState.phase = 1;
    MoveSwarm(&moveState, &moveSlot, 1, 0, 0, 0, 0, 5000, 0, 0, 0, 10000, 100000);
    EXPECT_EQ(moveState.status, 1);

    MoveSwarm(&moveState, &moveSlot, 1, 2, 0, 0, 0, 5000, 0, 0, 0, 10000, 100000);
    ASSERT_FALSE(gLog.empty());
    EXPECT_EQ(gLog.back(), "MoveSwarm could not find the swarm  named nothing");

    ballState.phase = moveState.phase = -1;
    MoveSwarm(&moveState, &moveSlot, 1, 0, 0, 0, 0, 5000, 0, 0, 0, 10000, 100000);
    MakeSphereSwarm(&ballState, &ballSlot, 0, 1, 4, 1);
    EXPECT_EQ(AcquireByIndex(kTypeSwarm, 0, nullptr, false, "test", "swarm ", &flag), nullptr);
    gLog.clear();
    EXPECT_TRUE(Vortel_Quit());
    EXPECT_TRUE(gLog.empty()) << "every swarm was released: " << gLog.front();
    set_texts(nullptr);
}

} // namespace
