// The ribbon node over swarm records, and ShowRibbons3D's use of the swarm it follows.
#include <gtest/gtest.h>

#include "effect_host.h"
#include "effects/primitive_effects.h"
#include "effects/ribbon3d.h"
#include "effects/scaffold_state.h"
#include "scene/root_node3d.h"
#include "swarm_shelf.h"

#include <GL/gl.h>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kOne = 10000; // ShowRibbons3D's quaternion unit

// A swarm whose arrays live in the test: points (j, 2j, -j), optional per-point colours.
struct TestSwarm {
    std::vector<float> positions;
    std::vector<uint8_t> colors;
    SwarmRecord record{};

    explicit TestSwarm(int32_t n, bool perPointColors = false)
    {
        for (int32_t j = 0; j < n; ++j)
            positions.insert(positions.end(), {float(j), float(2 * j), float(-j)});
        if (perPointColors)
            for (int32_t j = 0; j < n; ++j)
                colors.insert(colors.end(),
                              {uint8_t(200 + j), uint8_t(10 * j), uint8_t(20 + j), uint8_t(30 + j)});
        sync();
        record.alpha = 0xFF, record.red = 0x11, record.green = 0x22, record.blue = 0x33;
    }
    void sync()
    {
        record.count = int32_t(positions.size() / 3);
        record.positions = positions.empty() ? nullptr : positions.data();
        record.colors = colors.empty() ? nullptr : colors.data();
    }
};

std::vector<int> batch_counts(Ribbon3D& r)
{
    return std::vector<int>(r.GetBatchCounts(), r.GetBatchCounts() + r.GetBatchCount());
}
std::vector<int> batch_firsts(Ribbon3D& r)
{
    return std::vector<int>(r.GetBatchFirsts(), r.GetBatchFirsts() + r.GetBatchCount());
}
// RGBA bytes of vertex v.
std::vector<int> vertex_color(Ribbon3D& r, int v)
{
    const auto* c = static_cast<const uint8_t*>(r.GetColors()) + 4 * v;
    return {c[0], c[1], c[2], c[3]};
}

TEST(RibbonNode, CutsThePointsIntoStripsThatAreNotJoined)
{
    TestSwarm five(5);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(five.record, 10, 2));
    ASSERT_TRUE(ribbon);
    EXPECT_EQ(ribbon->GetPrimitiveType(), uint32_t(GL_QUAD_STRIP));
    EXPECT_FALSE(ribbon->HasIndices());
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{4, 4, 2}));
    EXPECT_EQ(batch_firsts(*ribbon), (std::vector<int>{0, 4, 8}));

    // Fewer than 2 points per strip become 2; more than the swarm has become one strip of all of them.
    ribbon.reset(Ribbon3D::Build(five.record, 10, 0));
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{4, 4, 2}));
    ribbon.reset(Ribbon3D::Build(five.record, 10, -7));
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{4, 4, 2}));
    ribbon.reset(Ribbon3D::Build(five.record, 10, 50));
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{10}));
    EXPECT_EQ(batch_firsts(*ribbon), (std::vector<int>{0}));

    // Strips that divide the points evenly leave no short last strip.
    TestSwarm six(6);
    ribbon.reset(Ribbon3D::Build(six.record, 10, 3));
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{6, 6}));
    EXPECT_EQ(batch_firsts(*ribbon), (std::vector<int>{0, 6}));
}

TEST(RibbonNode, PutsTwoVerticesPerPointAcrossTheWidthAlongY)
{
    TestSwarm swarm(3);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(swarm.record, 20, 2));
    const auto* v = static_cast<const float*>(ribbon->GetVertices());
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        EXPECT_FLOAT_EQ(v[6 * j + 0], float(j));
        EXPECT_FLOAT_EQ(v[6 * j + 1], float(2 * j) - 1.0f);
        EXPECT_FLOAT_EQ(v[6 * j + 2], float(-j));
        EXPECT_FLOAT_EQ(v[6 * j + 3], float(j));
        EXPECT_FLOAT_EQ(v[6 * j + 4], float(2 * j) + 1.0f);
        EXPECT_FLOAT_EQ(v[6 * j + 5], float(-j));
    }
    // The ribbon keeps its own copy: the swarm moving later does not move it.
    swarm.positions[1] = 99;
    EXPECT_FLOAT_EQ(v[1], -1.0f);
}

TEST(RibbonNode, SwarmsWithoutPointsMakeNoRibbon)
{
    TestSwarm none(0);
    EXPECT_EQ(Ribbon3D::Build(none.record, 10, 2), nullptr);
    TestSwarm lost(3);
    lost.record.positions = nullptr;
    EXPECT_EQ(Ribbon3D::Build(lost.record, 10, 2), nullptr);
    TestSwarm negative(3);
    negative.record.count = -3;
    EXPECT_EQ(Ribbon3D::Build(negative.record, 10, 2), nullptr);
}

TEST(RibbonNode, TakesPerPointColoursInRedGreenBlueAlphaOrderOnBothVertices)
{
    TestSwarm swarm(3, true);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(swarm.record, 10, 2));
    ASSERT_TRUE(ribbon->HasColors());
    // Point 2 is stored as alpha 202, red 20, green 22, blue 32.
    EXPECT_EQ(vertex_color(*ribbon, 4), (std::vector<int>{20, 22, 32, 202}));
    EXPECT_EQ(vertex_color(*ribbon, 5), (std::vector<int>{20, 22, 32, 202}));

    ribbon->SetOpacity(300);
    EXPECT_EQ(vertex_color(*ribbon, 0), (std::vector<int>{0, 20, 30, 255}));
    ribbon->SetOpacity(-4);
    EXPECT_EQ(vertex_color(*ribbon, 5)[3], 0);
    ribbon->SetOpacity(77);
    for (int v = 0; v < 6; ++v)
        EXPECT_EQ(vertex_color(*ribbon, v)[3], 77) << v;
}

TEST(RibbonNode, WithoutPerPointColoursUsesTheSwarmsUniformColour)
{
    TestSwarm swarm(3);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(swarm.record, 10, 2));
    EXPECT_FALSE(ribbon->HasColors());
    EXPECT_EQ(ribbon->GetColors(), nullptr);
    EXPECT_EQ(ribbon->GetColor(), 0xFF112233u);
    ribbon->SetOpacity(0x40);
    EXPECT_EQ(ribbon->GetColor(), 0x40112233u);
    EXPECT_EQ(ribbon->color >> 24, 0x40u);
}

TEST(RibbonNode, ColourRefreshFollowsTheSwarmAndRefusesAChangedPointCount)
{
    TestSwarm swarm(2);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(swarm.record, 10, 2));

    swarm.colors = {255, 1, 2, 3, 128, 4, 5, 6};
    swarm.sync();
    ASSERT_TRUE(ribbon->RefreshColors(swarm.record));
    ASSERT_TRUE(ribbon->HasColors());
    EXPECT_EQ(vertex_color(*ribbon, 3), (std::vector<int>{4, 5, 6, 128}));

    swarm.colors.clear();
    swarm.sync();
    swarm.record.red = 0x99;
    ASSERT_TRUE(ribbon->RefreshColors(swarm.record));
    EXPECT_FALSE(ribbon->HasColors());
    EXPECT_EQ(ribbon->GetColor(), 0xFF992233u);

    // Copying colours of a swarm that grew would run past the ribbon's arrays.
    swarm.positions.insert(swarm.positions.end(), {7, 7, 7});
    swarm.colors = std::vector<uint8_t>(12, 9);
    swarm.sync();
    EXPECT_FALSE(ribbon->RefreshColors(swarm.record));
    EXPECT_FALSE(ribbon->HasColors());
}

TEST(RibbonNode, RebuildRefillsTheSameNodeFromAMovedOrResizedSwarm)
{
    TestSwarm swarm(5, true);
    std::unique_ptr<Ribbon3D> ribbon(Ribbon3D::Build(swarm.record, 10, 2));
    const void* vertices = ribbon->GetVertices();

    // Same size, new places and colours: the arrays are kept, their contents are the swarm's.
    swarm.positions[3 * 4 + 1] = 40;
    swarm.colors[4 * 4 + 1] = 7;
    ASSERT_TRUE(ribbon->Rebuild(swarm.record, 20, 2));
    EXPECT_EQ(ribbon->GetVertices(), vertices);
    const auto* v = static_cast<const float*>(ribbon->GetVertices());
    EXPECT_FLOAT_EQ(v[6 * 4 + 1], 39.0f);
    EXPECT_FLOAT_EQ(v[6 * 4 + 4], 41.0f);
    EXPECT_EQ(vertex_color(*ribbon, 9), (std::vector<int>{7, 24, 34, 204}));

    // Fewer points in one strip, then more points than ever: strips and vertices follow each time.
    TestSwarm three(3);
    ASSERT_TRUE(ribbon->Rebuild(three.record, 10, 50));
    EXPECT_EQ(ribbon->GetVertices(), vertices);
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{6}));
    EXPECT_FALSE(ribbon->HasColors());
    EXPECT_EQ(ribbon->GetColors(), nullptr);
    EXPECT_EQ(ribbon->GetColor(), 0xFF112233u);
    TestSwarm nine(9, true);
    ASSERT_TRUE(ribbon->Rebuild(nine.record, 10, 2));
    EXPECT_EQ(ribbon->PointCount(), 9);
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{4, 4, 4, 4, 2}));
    EXPECT_EQ(batch_firsts(*ribbon), (std::vector<int>{0, 4, 8, 12, 16}));
    v = static_cast<const float*>(ribbon->GetVertices());
    EXPECT_FLOAT_EQ(v[6 * 8 + 0], 8.0f);
    EXPECT_FLOAT_EQ(v[6 * 8 + 5], -8.0f);
    ASSERT_TRUE(ribbon->HasColors());
    EXPECT_EQ(vertex_color(*ribbon, 17), (std::vector<int>{80, 28, 38, 208}));
    ribbon->SetOpacity(5);
    EXPECT_EQ(vertex_color(*ribbon, 17)[3], 5);

    // A swarm that cannot be drawn leaves the node as it was.
    TestSwarm none(0);
    EXPECT_FALSE(ribbon->Rebuild(none.record, 10, 2));
    EXPECT_EQ(ribbon->PointCount(), 9);
    EXPECT_EQ(batch_counts(*ribbon), (std::vector<int>{4, 4, 4, 4, 2}));
    EXPECT_EQ(vertex_color(*ribbon, 17), (std::vector<int>{80, 28, 38, 5}));
}

// ShowRibbons3D hung into "theWorld" (the scene root), through the swarm shelf.
class ShowRibbons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.take_log();
        gScaffold.sceneRoot->RemoveAllChildren();
        world = host.text("theWorld");
    }
    void TearDown() override
    {
        if (event.data)
            call(-1);
        gScaffold.sceneRoot->RemoveAllChildren();
    }

    bool call(int32_t phase, int32_t opacity = 255)
    {
        if (phase > 0)
            gScaffold.sceneRoot->RemoveAllChildren(); // what Clear3D does each frame
        return ShowRibbons3D(event.at(phase), &event.data, swarmText, 10, 2, 1000, -2000, 3000, 0, 0, 0, kOne,
                             opacity, GL_SRC_ALPHA, GL_ONE, 100000, world, 0);
    }
    Ribbon3D* hung_ribbon()
    {
        for (int i = 0; i < gScaffold.sceneRoot->GetChildCount(); ++i)
            if (auto* ribbon = dynamic_cast<Ribbon3D*>(gScaffold.sceneRoot->GetChild(i)))
                return ribbon;
        return nullptr;
    }
    int references() { return shelf.swarms.at("Trail").references; }

    EffectHost& host = EffectHost::get();
    SwarmShelf shelf;
    Event event;
    int32_t world = 0;
    int32_t swarmText = 0;
};

TEST_F(ShowRibbons, StaticSwarmKeepsItsRibbonAndOnlyRefreshesTheColours)
{
    TestSwarm swarm(5, true);
    swarmText = shelf.put("Trail", &swarm.record, true);

    EXPECT_TRUE(call(0));
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0) << "the first call hangs nothing";
    EXPECT_EQ(references(), 2) << "held from the first call on";

    EXPECT_TRUE(call(1, 99));
    EXPECT_EQ(event.state.status, 1);
    Ribbon3D* ribbon = hung_ribbon();
    ASSERT_TRUE(ribbon);
    EXPECT_EQ(vertex_color(*ribbon, 0)[3], 99);
    EXPECT_FLOAT_EQ(ribbon->position[0], 1.0f);
    EXPECT_FLOAT_EQ(ribbon->position[1], -2.0f);
    EXPECT_FLOAT_EQ(ribbon->position[2], 3.0f);
    EXPECT_EQ(ribbon->GetBlendSrc(), uint32_t(GL_SRC_ALPHA));
    EXPECT_EQ(ribbon->GetBlendDst(), uint32_t(GL_ONE));

    // Colours changed in place reach the same ribbon; the opacity is applied over them again.
    swarm.colors[1] = 250;
    EXPECT_TRUE(call(1, 99));
    EXPECT_EQ(event.state.status, 1);
    EXPECT_EQ(hung_ribbon(), ribbon);
    EXPECT_EQ(vertex_color(*ribbon, 0), (std::vector<int>{250, 20, 30, 99}));
    EXPECT_EQ(references(), 2);

    EXPECT_TRUE(call(-1));
    EXPECT_EQ(event.data, nullptr);
    EXPECT_EQ(references(), 1) << "the last call gives the swarm back";
    EXPECT_EQ(shelf.refusedReleases, 0);
}

TEST_F(ShowRibbons, StaticSwarmWhosePointCountChangedGetsANewRibbon)
{
    TestSwarm swarm(4, true);
    swarmText = shelf.put("Trail", &swarm.record, true);
    call(0);
    call(1);
    swarm.positions.resize(3 * 9, 0.5f);
    swarm.colors.resize(4 * 9, 7);
    swarm.sync();
    call(1);
    EXPECT_EQ(event.state.status, 2);
    ASSERT_TRUE(hung_ribbon());
    EXPECT_EQ(hung_ribbon()->PointCount(), 9);
}

TEST_F(ShowRibbons, NonStaticSwarmRebuildsTheRibbonEveryRunningCall)
{
    TestSwarm swarm(3);
    swarmText = shelf.put("Trail", &swarm.record, false);
    call(0);
    Ribbon3D* first = nullptr;
    for (int frame = 1; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        swarm.positions[1] = float(10 * frame);
        EXPECT_TRUE(call(1));
        EXPECT_EQ(event.state.status, 2);
        Ribbon3D* ribbon = hung_ribbon();
        ASSERT_TRUE(ribbon);
        first = first ? first : ribbon;
        EXPECT_EQ(ribbon, first) << "the node is rebuilt in place";
        EXPECT_FLOAT_EQ(static_cast<float*>(ribbon->GetVertices())[1], float(10 * frame) - 0.5f);
        EXPECT_EQ(references(), 2) << "each look-up is given back at once";
    }
    // A swarm that grew, then one that lost its points: the ribbon follows, then is gone.
    swarm.positions.resize(3 * 7, 2.0f);
    swarm.sync();
    call(1);
    ASSERT_TRUE(hung_ribbon());
    EXPECT_EQ(hung_ribbon()->PointCount(), 7);
    EXPECT_FLOAT_EQ(static_cast<float*>(hung_ribbon()->GetVertices())[6 * 6 + 4], 2.5f);
    swarm.positions.clear();
    swarm.sync();
    call(1);
    EXPECT_EQ(event.state.status, 2);
    EXPECT_EQ(hung_ribbon(), nullptr);
    call(-1);
    EXPECT_EQ(references(), 1);
    EXPECT_EQ(shelf.acquisitions, shelf.releases);
}

TEST_F(ShowRibbons, MissingSwarmDrawsNothingAndNeverReleasesAnotherEventsSwarm)
{
    swarmText = host.text("Trail");
    EXPECT_TRUE(call(0));
    // The swarm's producer starts after the ribbon's first call.
    TestSwarm swarm(3);
    shelf.put("Trail", &swarm.record, false);
    EXPECT_TRUE(call(1));
    EXPECT_EQ(event.state.status, 1);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0);
    EXPECT_TRUE(call(-1));
    EXPECT_EQ(shelf.releases, 0);
    EXPECT_EQ(references(), 1) << "the producer's own reference is untouched";
}

TEST_F(ShowRibbons, KeepsToTheSwarmOfItsFirstCallWhenTheSwarmWordChanges)
{
    TestSwarm trail(3), other(4);
    swarmText = shelf.put("Trail", &trail.record, false);
    shelf.put("Other", &other.record, false);
    call(0);
    swarmText = host.text("Other");
    call(1);
    ASSERT_TRUE(hung_ribbon());
    EXPECT_EQ(hung_ribbon()->PointCount(), 3);
    call(-1);
    EXPECT_EQ(references(), 1);
    EXPECT_EQ(shelf.swarms.at("Other").references, 1) << "the other swarm's producer keeps its reference";
    EXPECT_EQ(shelf.refusedReleases, 0);
}

TEST_F(ShowRibbons, NonStaticSwarmWithoutPointsDrawsNothingUntilItHasSome)
{
    TestSwarm swarm(0);
    swarmText = shelf.put("Trail", &swarm.record, false);
    call(0);
    call(1);
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0);
    swarm.positions = {0, 0, 0, 1, 1, 1};
    swarm.sync();
    call(1);
    ASSERT_TRUE(hung_ribbon());
    EXPECT_EQ(hung_ribbon()->PointCount(), 2);
}

} // namespace
