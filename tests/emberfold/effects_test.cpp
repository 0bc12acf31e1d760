// ShowFlame and MorphFlame through a stand-in player: messages, what each call builds, keeps and hangs.
#include "emberfold_effects.h"
#include "flame_host.h"
#include "flame_mesh.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

using namespace emberfold;

namespace
{

FlameMesh* hung_mesh(FlameHost& host)
{
    for (int i = 0; i < host.group.GetChildCount(); ++i)
        if (auto* mesh = dynamic_cast<FlameMesh*>(host.group.GetChild(i)))
            return mesh;
    return nullptr;
}

// One running call: the scene is emptied first, as a Clear3D before it would.
bool run(FlameHost& host, Event& e, const ShowFlameWords& w)
{
    host.group.RemoveAllChildren();
    return call_show_flame(e, 1, w);
}

std::string animated_flame()
{
    const std::string name =
        write_file("effects_animated.flame", description_text(triangle_transforms(), {}));
    std::ostringstream ani;
    for (int j = 0; j < 3; ++j) {
        for (int c = 0; c < 12; ++c)
            ani << (c == 0 && j == 0 ? "1 1000 0.3 0.6\n" : "1 0 0 0\n");
        ani << "1 0 0 0 1 0 0 0 1\n";
    }
    write_file(name + "ANI", ani.str());
    return name;
}

} // namespace

TEST(Emberfold, InitWithoutServicesAnswersFalse)
{
    EXPECT_FALSE(Vortel_Init(nullptr, nullptr, nullptr));
}

TEST(ShowFlame, MissingNameOrFileIsReportedAndNothingIsKept)
{
    FlameHost host;
    Event e;
    ShowFlameWords w;
    w.name = 99;
    EXPECT_FALSE(call_show_flame(e, 0, w));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_TRUE(host.logged("ShowFlame: Couldn't get the name for the flame fractal nr 99"));

    w.name = host.text("missing.flame");
    EXPECT_FALSE(call_show_flame(e, 0, w));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_EQ(e.slot, nullptr);
    EXPECT_TRUE(host.logged("ShowFlame: Could not load IFS fractal missing.flame !"));
    // Later calls of the failed event have nothing to draw and stay quiet.
    const size_t lines = host.log.size();
    EXPECT_TRUE(run(host, e, w));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_EQ(host.log.size(), lines);
    EXPECT_TRUE(call_show_flame(e, -1, w));
}

TEST(ShowFlame, BuildsPlacesAndHangsTheMeshWithItsCross)
{
    FlameHost host;
    Event e;
    ShowFlameWords w;
    w.name = host.text(write_file("effects_plain.flame", description_text(triangle_transforms(), {})));
    w.x = 1500;
    w.qz = 10000; // half a turn about z, given unnormalised (x2)
    w.qw = 0;
    w.scale = 200000;
    w.cross = 1;
    w.batches = -3;
    ASSERT_TRUE(call_show_flame(e, 0, w));
    EXPECT_EQ(e.state.status, 1);
    EXPECT_EQ(host.group.GetChildCount(), 0);
    ASSERT_TRUE(run(host, e, w));
    EXPECT_EQ(e.state.status, 1);
    ASSERT_EQ(host.group.GetChildCount(), 2);
    FlameMesh* mesh = hung_mesh(host);
    ASSERT_NE(mesh, nullptr);
    EXPECT_FLOAT_EQ(mesh->position[0], 1.5f);
    EXPECT_NEAR(mesh->matrix[0], -2.0f, 1e-5);
    EXPECT_NEAR(mesh->matrix[4], -2.0f, 1e-5);
    EXPECT_NEAR(mesh->matrix[8], 2.0f, 1e-5);
    EXPECT_EQ(mesh->batchCount, 1);
    EXPECT_FLOAT_EQ(mesh->largestSize, 0.05f);
    // Opaque without a blend equation.
    EXPECT_EQ(mesh->blendSrc, 1u);
    EXPECT_EQ(mesh->blendDst, 0u);
    Node3D* cross = host.group.GetChild(1);
    EXPECT_FLOAT_EQ(cross->position[0], 1.5f);
    EXPECT_FLOAT_EQ(cross->matrix[0], mesh->matrix[0]);
    // Texture index -1 is "none": nothing is looked up, nothing logged, and the mesh has no texture.
    EXPECT_EQ(mesh->GetTextureId(), 0u);
    EXPECT_TRUE(host.log.empty()) << host.log.front();

    // With a blend equation the mesh adds.
    w.blend = 0x8006;
    w.points = 3000;
    run(host, e, w);
    EXPECT_EQ(hung_mesh(host)->blendSrc, 0x0302u);
    EXPECT_EQ(hung_mesh(host)->blendDst, 1u);

    // A missing group: status -1 but the call succeeds.
    w.group = host.text("nowhere");
    EXPECT_TRUE(run(host, e, w));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_TRUE(call_show_flame(e, -1, w));
    EXPECT_EQ(e.slot, nullptr);
}

TEST(ShowFlame, AlphaAndSizesChangeInPlaceWithoutNewPoints)
{
    FlameHost host;
    Event e;
    ShowFlameWords w;
    w.name = host.text(write_file("effects_plain_2.flame", description_text(triangle_transforms(), {})));
    w.points = 2000;
    call_show_flame(e, 0, w);
    run(host, e, w);
    FlameMesh* mesh = hung_mesh(host);
    ASSERT_NE(mesh, nullptr);
    mesh->GetVertices();
    ASSERT_TRUE(mesh->generated);
    const float x0 = static_cast<FlameMesh::Vertex*>(mesh->GetVertices())[10].x;

    w.alpha = 40;
    run(host, e, w);
    ASSERT_EQ(hung_mesh(host), mesh);
    EXPECT_TRUE(mesh->generated);
    auto* v = static_cast<FlameMesh::Vertex*>(mesh->GetVertices());
    EXPECT_EQ(v[10].rgba[3], 40);
    EXPECT_EQ(v[10].x, x0);

    w.largest = 80;
    w.smallest = 10;
    w.time = 777; // no transform is animated: time alone changes nothing
    run(host, e, w);
    EXPECT_TRUE(hung_mesh(host)->generated);
    EXPECT_FLOAT_EQ(mesh->largestSize, 0.08f);
    EXPECT_FLOAT_EQ(mesh->smallestSize, 0.01f);

    // Point count, points flag, colour mode and batch count each make a new mesh.
    int32_t* fields[4] = {&w.points, &w.pointsFlag, &w.colourMode, &w.batches};
    const int32_t values[4] = {2001, 0, 1, 2};
    for (int change = 0; change < 4; ++change) {
        *fields[change] = values[change];
        run(host, e, w);
        ASSERT_NE(hung_mesh(host), nullptr);
        EXPECT_FALSE(hung_mesh(host)->generated) << change;
        hung_mesh(host)->GetVertices();
    }
    call_show_flame(e, -1, w);
}

TEST(ShowFlame, AnimatedDescriptionRebuildsWhenTimeMoves)
{
    FlameHost host;
    Event e;
    ShowFlameWords w;
    w.name = host.text(animated_flame());
    w.points = 600;
    call_show_flame(e, 0, w);
    run(host, e, w);
    FlameMesh* mesh = hung_mesh(host);
    mesh->GetVertices();
    EXPECT_FLOAT_EQ(hung_mesh(host)->flame->transforms[0].scale[0], 0.3f);
    run(host, e, w); // same time: kept
    EXPECT_TRUE(hung_mesh(host)->generated);
    w.time = 500;
    run(host, e, w);
    EXPECT_EQ(hung_mesh(host), mesh) << "new points go into the mesh there is";
    EXPECT_FALSE(hung_mesh(host)->generated);
    EXPECT_FLOAT_EQ(hung_mesh(host)->flame->transforms[0].scale[0], 0.6f);
    call_show_flame(e, -1, w);
}

TEST(ShowFlame, ARebuiltMeshLeavesTheGroupWhenNoClearRan)
{
    FlameHost host;
    Event e;
    ShowFlameWords w;
    w.name = host.text(write_file("effects_plain_3.flame", description_text(triangle_transforms(), {})));
    call_show_flame(e, 0, w);
    call_show_flame(e, 1, w);
    w.points += 10;
    call_show_flame(e, 1, w); // the old mesh is deleted: it must not stay in the group
    EXPECT_EQ(host.group.GetChildCount(), 1);
    EXPECT_EQ(hung_mesh(host)->pointCount, w.points);
    call_show_flame(e, -1, w);
    host.group.RemoveAllChildren();
}

namespace
{

struct MorphWords {
    int32_t name1 = 0, name2 = 0, amount = 0, pairs[7] = {0x00010203, 0x04050607, 0, 0, 0, 0, 0},
            points = 1000, batches = 2, group = 0, texture = -1, blend = 0, time = 0;
};

bool call_morph(Event& e, int32_t phase, const MorphWords& w)
{
    return e.call(phase, MorphFlame, w.name1, w.name2, w.amount, 0, 0, -5000, 0, 0, 0, 10000, w.pairs[0],
                  w.pairs[1], w.pairs[2], 0, w.pairs[3], w.pairs[4], w.pairs[5], w.pairs[6], 0, 0, 0, 0,
                  w.points, 1, 0, 0, w.time, 200, 100000, 5, 2, w.batches, w.group, 0, w.texture, w.blend);
}

} // namespace

TEST(MorphFlame, MessagesNameTheMissingIndexOrFile)
{
    FlameHost host;
    Event e;
    MorphWords w;
    w.name1 = host.text(write_file("morph_a.flame", description_text(triangle_transforms(), {})));
    w.name2 = 42;
    EXPECT_FALSE(call_morph(e, 0, w));
    EXPECT_EQ(e.state.status, -1);
    EXPECT_TRUE(host.logged("MorphIFS: Couldn't get the name for the IFS nr 42"));
    w.name2 = host.text("morph_missing.flame");
    EXPECT_FALSE(call_morph(e, 0, w));
    EXPECT_TRUE(host.logged("ShowIFS: Could not load IFS fractal morph_missing.flame !"));
    EXPECT_EQ(e.slot, nullptr);
}

TEST(MorphFlame, EveryRunningCallGeneratesTheMorphAnewInTheSameMesh)
{
    FlameHost host;
    Event e;
    MorphWords w;
    w.name1 = host.text(write_file("morph_a_2.flame", description_text(triangle_transforms(), {})));
    std::vector<TransformText> five(5);
    for (int j = 0; j < 5; ++j)
        five[j].translation[0] = float(j) - 2;
    w.name2 = host.text(write_file("morph_b.flame", description_text(five, {{0.5f, 0x00ff00}})));
    ASSERT_TRUE(call_morph(e, 0, w));
    FlameMesh* kept = nullptr;
    for (int amount : {0, 400, 1000}) {
        w.amount = amount;
        host.group.RemoveAllChildren();
        ASSERT_TRUE(call_morph(e, 1, w));
        EXPECT_EQ(e.state.status, 1);
        FlameMesh* mesh = hung_mesh(host);
        ASSERT_NE(mesh, nullptr);
        if (kept)
            EXPECT_EQ(mesh, kept) << amount;
        kept = mesh;
        mesh->SetOpacity(30); // what a fade before this call did must not stay
        mesh->SetBlendEquation(0x800Bu);
        ASSERT_TRUE(call_morph(e, 1, w));
        EXPECT_FALSE(mesh->generated);
        EXPECT_EQ(mesh->flame->transformCount, 5);
        EXPECT_FLOAT_EQ(mesh->largestSize, 0.05f);
        EXPECT_FLOAT_EQ(mesh->smallestSize, 0.02f);
        EXPECT_EQ(mesh->alpha, 200);
        EXPECT_EQ(mesh->blendEquation, 0x8006u);
        EXPECT_FLOAT_EQ(mesh->position[2], -5.0f);

        // The points made in place are the points a new mesh of the morph makes.
        FlameMeshSettings settings;
        settings.pointCount = w.points;
        settings.animated = true;
        settings.alpha = 200;
        settings.batchCount = w.batches;
        FlameMesh fresh(*mesh->flame, settings);
        const auto* made = static_cast<const FlameMesh::Vertex*>(mesh->GetVertices());
        const auto* expected = static_cast<const FlameMesh::Vertex*>(fresh.GetVertices());
        ASSERT_EQ(0, std::memcmp(made, expected, sizeof(FlameMesh::Vertex) * size_t(w.points))) << amount;
        for (int k = 0; k < w.batches; ++k)
            EXPECT_EQ(mesh->GetBatchCounts()[k], fresh.GetBatchCounts()[k]) << amount;
    }
    EXPECT_FLOAT_EQ(hung_mesh(host)->flame->transforms[4].translation[0], 2.0f);

    // Another layout needs other arrays: a new mesh, left alone by the group.
    w.points = 700;
    ASSERT_TRUE(call_morph(e, 1, w));
    EXPECT_EQ(host.group.GetChildCount(), 1);
    EXPECT_EQ(hung_mesh(host)->pointCount, 700);
    hung_mesh(host)->GetVertices();
    w.batches = 3;
    ASSERT_TRUE(call_morph(e, 1, w));
    EXPECT_EQ(hung_mesh(host)->GetBatchCount(), 3);
    hung_mesh(host)->GetVertices();
    EXPECT_TRUE(call_morph(e, -1, w));
    EXPECT_EQ(e.slot, nullptr);
    host.group.RemoveAllChildren();
}
