// Running out of memory for a swarm's arrays: the effect logs one line in its own name, fails the call
// (status -1) and leaves the swarm without the array, and the demo goes on.
#include <swarm_effects.h>

#include "short_of_memory.h"
#include "swarm_host.h"

namespace
{

constexpr int32_t kEdge = 100; // a solid cube of 1 000 000 points: 12 MB of positions
constexpr size_t kShortage = 1 << 20;

TEST(OutOfMemory, AGeneratorFailsTheCallAndBuildsOnceMemoryIsBack)
{
    SwarmHost host;
    const int32_t cube = host.text("cube");
    Event e;
    short_of_memory(kShortage, [&] { EXPECT_TRUE(e.first(MakeCubeSwarm, cube, kEdge, 1, 1)); });
    EXPECT_EQ(e.state.status, -1);
    EXPECT_EQ(host.swarm("cube")->count, 0);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0], "MakeCubeSwarm: not enough memory for 1000000 points; the swarm is left empty");

    EXPECT_TRUE(e.run(MakeCubeSwarm, cube, kEdge, 1, 1));
    EXPECT_EQ(e.state.status, 2);
    EXPECT_EQ(host.swarm("cube")->count, 1000000);
    e.last(MakeCubeSwarm, cube, kEdge, 1, 1);
    EXPECT_EQ(live_swarms(), 0);
}

TEST(OutOfMemory, OperationsFailTheCallAndLeaveTheirSwarmWithoutTheArray)
{
    SwarmHost host;
    const int32_t cube = host.text("cube"), moved = host.text("moved");
    Event make, move, orient;
    make.first(MakeCubeSwarm, cube, kEdge, 1, 1);
    orient.first(OrientSwarmRandom, cube, 5);
    short_of_memory(kShortage, [&] {
        EXPECT_TRUE(move.first(MoveSwarm, moved, cube, 0, 0, 0, 0, 0, 0, 0, 10000, 100000));
        EXPECT_TRUE(orient.run(OrientSwarmRandom, cube, 5));
    });
    EXPECT_EQ(move.state.status, -1);
    EXPECT_EQ(host.swarm("moved")->count, 0);
    EXPECT_EQ(orient.state.status, -1);
    EXPECT_EQ(host.swarm("cube")->count, 1000000);
    EXPECT_EQ(host.swarm("cube")->orientations, nullptr);
    const std::vector<std::string> expected = {
        "MoveSwarm: not enough memory for 1000000 points; the swarm is left empty",
        "OrientSwarmRandom: not enough memory for the orientations of 1000000 points"};
    EXPECT_EQ(host.log, expected);

    orient.last(OrientSwarmRandom, cube, 5);
    move.last(MoveSwarm, moved, cube, 0, 0, 0, 0, 0, 0, 0, 10000, 100000);
    make.last(MakeCubeSwarm, cube, kEdge, 1, 1);
    EXPECT_EQ(live_swarms(), 0);
}

} // namespace
