// Object3D on the real Scaffold.so: the model hung into a group through the event's wrapper, its look
// (colour or a named material), sharing between events, and the picture Show3D makes of it.
#include "scaffold_host.h"

#include "common/resource_cache.h"
#include "effects/camera_light_effects.h"
#include "effects/model_effect.h"
#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "effects/screen_effects.h"
#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/mesh3d.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace
{

// A 10 x 10 square facing the camera, as two objects (two meshes); the events draw it at a fifth of that.
const char* kSquare = "mtllib sq.mtl\n"
                      "v -5 -5 0\nv 5 -5 0\nv 5 5 0\nusemtl Tint\nf 1 2 3\n"
                      "v -5 5 0\nf 1 3 4\n";

class Object3DTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = ScaffoldHost::get();
        ASSERT_NE(host, nullptr) << "no GL window (is an X server running?)";
        const std::string folder = scratch_folder("object3d");
        write_text(folder + "sq.obj", kSquare);
        write_text(folder + "sq.mtl", "newmtl Tint\nKd 0.25 0.5 1\n");
        model = host->text(folder + "sq.obj");
        world = host->text("theWorld");
        host->take_log();
    }

    // Runs one call of Object3D for `event` with the given colour and material, 20 units in front of the
    // camera.
    bool call(HostEvent& event, int32_t phase, uint32_t rgb, int32_t material = 0, int32_t modelText = -1)
    {
        return Object3D(event.at(phase), &event.data, modelText < 0 ? model : modelText,
                        int32_t(rgb >> 16 & 255), int32_t(rgb >> 8 & 255), int32_t(rgb & 255), 0, 0, -20000,
                        0, 0, 0, 100000, 255, GL_ONE, GL_ZERO, 20000, material, world, 0);
    }

    Picture show()
    {
        gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
        HostEvent show;
        Show3D(show.at(1), &show.data, 0, ScaffoldHost::kWidth, ScaffoldHost::kHeight, 1, 0, 0, 0);
        return read_framebuffer(ScaffoldHost::kWidth, ScaffoldHost::kHeight);
    }

    ScaffoldHost* host = nullptr;
    int32_t model = 0, world = 0;
};

int find_child(GroupNode3D* group, Node3D* child)
{
    for (int i = 0; i < group->GetChildCount(); ++i)
        if (group->GetChild(i) == child)
            return i;
    return -1;
}

} // namespace

TEST_F(Object3DTest, HangsItsWrapperWithTheModelsMeshesAndDrawsThemInItsColour)
{
    HostEvent event;
    gScaffold.sceneRoot->RemoveAllChildren();
    ASSERT_TRUE(call(event, 0, 0xFF0000));
    EXPECT_EQ(event.state.status, 2);
    ASSERT_TRUE(call(event, 1, 0xFF0000));
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 1);
    auto* wrapper = static_cast<GroupNode3D*>(gScaffold.sceneRoot->GetChild(0));
    auto* shared = static_cast<GroupNode3D*>(host->acquire(kTypeObject, host->texts[size_t(model)]));
    ASSERT_NE(shared, nullptr);
    ASSERT_EQ(wrapper->GetChildCount(), 2);
    EXPECT_EQ(wrapper->GetChild(0), shared->GetChild(0));
    EXPECT_EQ(wrapper->GetChild(1), shared->GetChild(1));
    EXPECT_FLOAT_EQ(wrapper->position[2], -20.0f);

    const Picture picture = show();
    picture.save_png("object3d_red.png");
    EXPECT_EQ(picture.at(ScaffoldHost::kWidth / 2, ScaffoldHost::kHeight / 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(picture.at(2, 2) & 0xFFFFFF, 0u);
    // Without a named material no mesh keeps the one its file gave it.
    EXPECT_EQ(static_cast<Mesh3D*>(shared->GetChild(0))->material, nullptr);
    EXPECT_EQ(static_cast<Mesh3D*>(shared->GetChild(1))->material, nullptr);

    host->release(kTypeObject, host->texts[size_t(model)]);
    ASSERT_TRUE(call(event, -1, 0));
    EXPECT_EQ(event.data, nullptr);
    gScaffold.sceneRoot->RemoveAllChildren();
}

TEST_F(Object3DTest, ANamedMaterialOverridesEveryMeshAndLeavesTheColour)
{
    HostEvent maker, event;
    const int32_t name = host->text("Override");
    ASSERT_TRUE(MakeMaterial(maker.at(0), &maker.data, name, 10, 20, 30, 40, 50, 60, 0, 0, 0, 255, 0));
    ASSERT_TRUE(MakeMaterial(maker.at(1), &maker.data, name, 10, 20, 30, 40, 50, 60, 0, 0, 0, 255, 0));
    auto* material = static_cast<MaterialRecord*>(host->acquire(kTypeMaterial, "Override"));
    ASSERT_NE(material, nullptr);
    host->release(kTypeMaterial, "Override");

    gScaffold.sceneRoot->RemoveAllChildren();
    call(event, 0, 0x00FF00);
    call(event, 1, 0x00FF00);
    auto* wrapper = static_cast<GroupNode3D*>(gScaffold.sceneRoot->GetChild(0));
    auto* first = static_cast<Mesh3D*>(wrapper->GetChild(0));
    auto* second = static_cast<Mesh3D*>(wrapper->GetChild(1));
    const uint32_t green = first->color;
    call(event, 1, 0x0000FF, name);
    EXPECT_EQ(first->material, material);
    EXPECT_EQ(second->material, material);
    EXPECT_EQ(first->color, green);
    // Back to no material: none at all, and the event's colour.
    call(event, 1, 0x0000FF);
    EXPECT_EQ(first->material, nullptr);
    EXPECT_EQ(first->color, 0xFF0000FFu);

    call(event, -1, 0);
    MakeMaterial(maker.at(-1), &maker.data, name, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    gScaffold.sceneRoot->RemoveAllChildren();
}

// Lit, a mesh with a material shows the material's colours: a model whose MTL file makes it blue still
// shows the event's red when the event names no material, as its author saw it in any document.
TEST_F(Object3DTest, WithoutANamedMaterialALitModelShowsTheEventsColourNotItsFiles)
{
    const std::string folder = scratch_folder("object3d_lit");
    write_text(folder + "lit.obj", "mtllib lit.mtl\nv -5 -5 0\nv 5 -5 0\nv 5 5 0\nv -5 5 0\nvn 0 0 1\n"
                                   "usemtl LitBlue\nf 1//1 2//1 3//1\nf 1//1 3//1 4//1\n");
    write_text(folder + "lit.mtl", "newmtl LitBlue\nKa 0 0 1\nKd 0 0 1\nKs 0 0 1\nNs 10\n");
    const int32_t lit = host->text(folder + "lit.obj");
    HostEvent light, event;
    // A white light at the camera, facing the square.
    const auto shine = [&](int32_t phase) {
        return SetLight3D(light.at(phase), &light.data, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 10000,
                          0, 0, world, 0);
    };
    gScaffold.sceneRoot->RemoveAllChildren();
    shine(0);
    shine(1);
    call(event, 0, 0xFF0000, 0, lit);
    call(event, 1, 0xFF0000, 0, lit);
    const Picture picture = show();
    picture.save_png("object3d_lit.png");
    const int x = ScaffoldHost::kWidth / 2 + 3, y = ScaffoldHost::kHeight / 2 - 3;
    EXPECT_GT(picture.red(x, y), 200);
    EXPECT_LT(picture.green(x, y), 20);
    EXPECT_LT(picture.blue(x, y), 20) << "the file's blue material is not used";
    EXPECT_TRUE(host->take_log().empty());
    call(event, -1, 0, 0, lit);
    shine(-1);
    gScaffold.sceneRoot->RemoveAllChildren();
}

TEST_F(Object3DTest, EventsOnOneFileShareTheModelAndOneEndingKeepsItForTheOther)
{
    HostEvent a, b;
    gScaffold.sceneRoot->RemoveAllChildren();
    call(a, 0, 0xFFFFFF);
    const int opened = host->opened;
    call(b, 0, 0xFFFFFF);
    EXPECT_EQ(host->opened, opened);
    call(a, 1, 0xFFFFFF);
    call(b, 1, 0xFFFFFF);
    ASSERT_EQ(gScaffold.sceneRoot->GetChildCount(), 2);
    auto* wa = static_cast<GroupNode3D*>(gScaffold.sceneRoot->GetChild(0));
    auto* wb = static_cast<GroupNode3D*>(gScaffold.sceneRoot->GetChild(1));
    EXPECT_NE(wa, wb);
    EXPECT_EQ(wa->GetChild(0), wb->GetChild(0));

    call(a, -1, 0);
    gScaffold.sceneRoot->RemoveAllChildren();
    call(b, 1, 0x0000FF);
    EXPECT_EQ(find_child(gScaffold.sceneRoot, wb), 0);
    const Picture picture = show();
    EXPECT_EQ(picture.at(ScaffoldHost::kWidth / 2, ScaffoldHost::kHeight / 2) & 0xFFFFFF, 0x0000FFu);
    call(b, -1, 0);
    gScaffold.sceneRoot->RemoveAllChildren();
}

TEST_F(Object3DTest, AModelThatCannotBeReadDrawsNothingThroughTheWholeEvent)
{
    HostEvent event;
    gScaffold.sceneRoot->RemoveAllChildren();
    const int32_t missing = host->text("no/such/model.obj");
    EXPECT_TRUE(call(event, 0, 0xFFFFFF, 0, missing));
    EXPECT_TRUE(call(event, 1, 0xFFFFFF, 0, missing));
    EXPECT_EQ(gScaffold.sceneRoot->GetChildCount(), 0);
    EXPECT_TRUE(call(event, -1, 0, 0, missing));
    EXPECT_FALSE(host->take_log().empty());
}

TEST_F(Object3DTest, TheLastCallGivesBackTheModelOfTheFirstCallWhateverItsModelWordSays)
{
    const std::string path = host->texts[size_t(model)];
    auto references = [&path] {
        const ResourceCache& cache = *gScaffold.modelCache;
        for (int32_t i = 0; i < cache.size(); ++i)
            if (path == cache.nameAt(i))
                return cache.refCountAt(i);
        return 0;
    };
    const int32_t before = references();
    HostEvent event;
    call(event, 0, 0xFFFFFF);
    EXPECT_EQ(references(), before + 1);
    call(event, -1, 0, 0, host->text("no/such/model.obj"));
    EXPECT_EQ(references(), before) << "the model the event held is released, and only that one";
}
