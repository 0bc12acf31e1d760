// Models through the 'OBJ3' handlers of the real Scaffold.so on real GL: meshes and materials built from
// files, the model cache, refusals that cache nothing, and large objects split over several meshes.
#include "scaffold_host.h"

#include "effects/model_import.h"
#include "scene/group_node3d.h"
#include "scene/mesh3d.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace
{

class ModelImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = ScaffoldHost::get();
        ASSERT_NE(host, nullptr) << "no GL window (is an X server running?)";
        host->take_log();
    }

    GroupNode3D* acquire(const std::string& path)
    {
        return static_cast<GroupNode3D*>(host->acquire(kTypeObject, path));
    }
    static Mesh3D* mesh(GroupNode3D* model, int i) { return static_cast<Mesh3D*>(model->GetChild(i)); }

    ScaffoldHost* host = nullptr;
};

const char* kTwoObjects = "mtllib two.mtl\n"
                          "o A\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nusemtl Red\nf 1 2 3\nf 2 4 3\n"
                          "o B\nv 0 0 1\nv 1 0 1\nv 0 1 1\nusemtl Green\nf 5 6 7\n";

} // namespace

TEST_F(ModelImport, TwoObjectsBecomeTwoMeshesWithTheirMaterials)
{
    const std::string folder = scratch_folder("two");
    write_text(folder + "two.obj", kTwoObjects);
    write_text(folder + "two.mtl",
               "newmtl Red\nKd 1 0 0\nNs 50\nnewmtl Green\nKd 0 1 0\nnewmtl Red\nKd 0 0 1\n");

    GroupNode3D* model = acquire(folder + "two.obj");
    ASSERT_NE(model, nullptr) << ::testing::PrintToString(host->log);
    ASSERT_EQ(model->GetChildCount(), 2);
    EXPECT_EQ(mesh(model, 0)->GetIndexCount(), 6);
    EXPECT_EQ(mesh(model, 0)->GetVertexCount(), 4);
    EXPECT_EQ(mesh(model, 1)->GetIndexCount(), 3);
    ASSERT_NE(mesh(model, 0)->material, nullptr);
    ASSERT_NE(mesh(model, 1)->material, nullptr);
    // The first definition of a name wins.
    EXPECT_THAT(mesh(model, 0)->material->diffuse, ElementsAre(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(mesh(model, 0)->material->shininess, 50.0f);
    EXPECT_THAT(mesh(model, 1)->material->diffuse, ElementsAre(0.0f, 1.0f, 0.0f, 1.0f));

    // Cached by path: a second acquire reads no file and gives the same group.
    const int opened = host->opened;
    EXPECT_EQ(acquire(folder + "two.obj"), model);
    EXPECT_EQ(host->opened, opened);
    EXPECT_TRUE(host->release(kTypeObject, folder + "two.obj"));
    EXPECT_TRUE(host->release(kTypeObject, folder + "two.obj"));
    // Released models stay cached.
    EXPECT_EQ(acquire(folder + "two.obj"), model);
    EXPECT_EQ(host->opened, opened);
    EXPECT_TRUE(host->release(kTypeObject, folder + "two.obj"));
    EXPECT_FALSE(host->release(kTypeObject, folder + "never-read.obj"));
}

TEST_F(ModelImport, AMaterialFileThatCannotBeOpenedIsSkipped)
{
    const std::string folder = scratch_folder("nomtl");
    write_text(folder + "m.obj", "mtllib missing.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl Nowhere\nf 1 2 3\n");
    GroupNode3D* model = acquire(folder + "m.obj");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(mesh(model, 0)->material, nullptr);
    EXPECT_THAT(host->take_log(), ElementsAre(HasSubstr("missing.mtl")));
    host->release(kTypeObject, folder + "m.obj");
}

TEST_F(ModelImport, BadFilesAreRefusedWithTheirLineAndNothingIsCached)
{
    const std::string folder = scratch_folder("bad");
    const struct {
        const char* name;
        std::string obj;
        std::string mtl;
        const char* logged;
    } cases[] = {
        {"group.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng box\nf 1 2 3\n", "", "group.obj line 4"},
        {"range.obj", "v 0 0 0\nv 1 0 0\nf 1 2 3\n", "", "range.obj line 3: a vertex reference out of range"},
        {"mixed.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3\n", "", "mixed.obj line 5"},
        {"badmtl.obj", "mtllib badmtl.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "newmtl X\nKe 1 1 1\n",
         "badmtl.mtl line 2"},
        {"bigmtl.obj", "mtllib bigmtl.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
         std::string(kMaxMtlBytes + 1, '#'), "larger than 262143 bytes"},
    };
    for (const auto& c : cases) {
        write_text(folder + c.name, c.obj);
        if (!c.mtl.empty())
            write_text(folder + std::string(c.name, std::strlen(c.name) - 3) + "mtl", c.mtl);
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_EQ(acquire(folder + c.name), nullptr) << c.name;
            // Refused again on the second try: nothing was cached.
            EXPECT_THAT(host->take_log(), ::testing::Contains(HasSubstr(c.logged))) << c.name;
        }
        EXPECT_FALSE(host->release(kTypeObject, folder + c.name));
    }
    const std::string longPath = folder + std::string(300, 'x') + ".obj";
    EXPECT_EQ(acquire(longPath), nullptr);
    EXPECT_THAT(host->take_log(), ::testing::Contains(HasSubstr("is longer than 255 characters")));
    EXPECT_EQ(acquire(folder + "absent.obj"), nullptr);
    EXPECT_THAT(host->take_log(), ::testing::Contains(HasSubstr("can't open the model file")));
}

TEST_F(ModelImport, ObjectsBeyondSixteenBitIndicesAreSplitIntoMeshesOfOneMaterial)
{
    // 30,000 separate triangles: 90,000 distinct vertices, more than one mesh can index.
    const std::string folder = scratch_folder("big");
    std::ostringstream obj;
    obj << "mtllib big.mtl\n";
    for (int t = 0; t < 30000; ++t)
        obj << "v " << t << " 0 0\nv " << t << " 1 0\nv " << t << " 0 1\n";
    obj << "usemtl Big\n";
    for (int t = 0; t < 30000; ++t)
        obj << "f " << 3 * t + 1 << ' ' << 3 * t + 2 << ' ' << 3 * t + 3 << '\n';
    write_text(folder + "big.obj", obj.str());
    write_text(folder + "big.mtl", "newmtl Big\nKd 0.5 0.5 0.5\n");

    GroupNode3D* model = acquire(folder + "big.obj");
    ASSERT_NE(model, nullptr) << ::testing::PrintToString(host->log);
    ASSERT_EQ(model->GetChildCount(), 2);
    EXPECT_EQ(mesh(model, 0)->GetVertexCount() + mesh(model, 1)->GetVertexCount(), 90000);
    EXPECT_EQ(mesh(model, 0)->GetIndexCount() + mesh(model, 1)->GetIndexCount(), 90000);
    EXPECT_LE(mesh(model, 0)->GetVertexCount(), Mesh3D::kMaxVertices);
    ASSERT_NE(mesh(model, 0)->material, nullptr);
    EXPECT_EQ(mesh(model, 0)->material, mesh(model, 1)->material);
    host->release(kTypeObject, folder + "big.obj");
}

TEST_F(ModelImport, ReleasedModelsAreEvictedOnlyPastTenEntries)
{
    const std::string folder = scratch_folder("evict");
    std::vector<GroupNode3D*> models;
    for (int i = 0; i < 12; ++i) {
        const std::string path = folder + "m" + std::to_string(i) + ".obj";
        write_text(path, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        models.push_back(acquire(path));
        ASSERT_NE(models.back(), nullptr);
        if (i != 1) // m1 stays referenced
            host->release(kTypeObject, path);
    }
    // The referenced model is still served from the cache, some released one was evicted and is read
    // again.
    const int opened = host->opened;
    EXPECT_EQ(acquire(folder + "m1.obj"), models[1]);
    EXPECT_EQ(host->opened, opened);
    for (int i = 0; i < 12; ++i) {
        ASSERT_NE(acquire(folder + "m" + std::to_string(i) + ".obj"), nullptr);
        host->release(kTypeObject, folder + "m" + std::to_string(i) + ".obj");
    }
    EXPECT_GT(host->opened, opened);
    host->release(kTypeObject, folder + "m1.obj");
    host->release(kTypeObject, folder + "m1.obj");
}
