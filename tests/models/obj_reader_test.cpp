// The OBJ and MTL readers on small texts: what the supported lines produce, and that every line outside
// the subset, or a reference that points nowhere, refuses the text with its line number.
#include "effects/mtl_reader.h"
#include "effects/obj_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace
{

ObjData read(const std::string& text)
{
    ObjData data;
    ReadError error;
    EXPECT_TRUE(read_obj(text.data(), text.size(), data, error))
        << "line " << error.line << ": " << error.reason;
    return data;
}

ReadError refusal(const std::string& text)
{
    ObjData data;
    ReadError error;
    EXPECT_FALSE(read_obj(text.data(), text.size(), data, error)) << text;
    return error;
}

std::vector<int32_t> positions_of(const ObjFace& face)
{
    return {face.position[0], face.position[1], face.position[2]};
}

const std::string kFourPositions = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

} // namespace

TEST(ObjReader, FacesKeepTheFirstThreeReferences)
{
    const ObjData data = read(kFourPositions + "f 1 2 3 4\n");
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_THAT(positions_of(data.faces[0]), ElementsAre(0, 1, 2));
    EXPECT_THAT(std::vector<int32_t>(data.faces[0].texCoord, data.faces[0].texCoord + 3),
                ElementsAre(-1, -1, -1));
}

TEST(ObjReader, NegativeReferencesCountBackFromTheLatestElement)
{
    const ObjData data = read(kFourPositions + "vt 0 0\nvt 1 0\nvn 0 0 1\nf -1/-1/-1 -2/-2/-1 -3/-1/-1\n");
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_THAT(positions_of(data.faces[0]), ElementsAre(3, 2, 1));
    EXPECT_THAT(std::vector<int32_t>(data.faces[0].texCoord, data.faces[0].texCoord + 3),
                ElementsAre(1, 0, 1));
    EXPECT_THAT(std::vector<int32_t>(data.faces[0].normal, data.faces[0].normal + 3), ElementsAre(0, 0, 0));
}

TEST(ObjReader, EqualPositionsWeldToTheLowestIndex)
{
    // Positions 4 and 5 repeat 1 and 2 (-0 equals 0); faces through them refer to the first ones.
    const ObjData data = read(kFourPositions + "v -0 0 0\nv 1 0 0\nv 5 5 5\nf 5 6 7\nf 7 3 6\n");
    EXPECT_THAT(positions_of(data.faces[0]), ElementsAre(0, 1, 6));
    EXPECT_THAT(positions_of(data.faces[1]), ElementsAre(6, 2, 1));
}

TEST(ObjReader, TextureRowsAreTurnedOverAndNumbersReadWhole)
{
    const ObjData data = read("vt 0.25 0.75\nv 1e2 +2.5 -3\nv 4\n");
    EXPECT_THAT(data.texCoords, ElementsAre(0.25f, -0.75f));
    EXPECT_THAT(data.positions, ElementsAre(100.0f, 2.5f, -3.0f, 4.0f, 0.0f, 0.0f));
}

TEST(ObjReader, ObjectsStartAtPositionsAfterFacesAndTakeTheirMaterials)
{
    const ObjData data =
        read("# two objects\r\n\r\nmtllib two.mtl\r\no A\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\n"
             "usemtl Red\r\ns off\r\nf 1 2 3\r\n"
             "o B\nv 0 0 1\nv 1 0 1\nv 0 1 1\nusemtl Green\nusemtl Blue\nf 4 5 6\nf -1 -2 -3\n");
    ASSERT_EQ(data.objects.size(), 2u);
    EXPECT_EQ(data.objects[0].firstFace, 0);
    EXPECT_EQ(data.objects[0].faceCount, 1);
    EXPECT_EQ(data.objects[0].material, "Red");
    EXPECT_EQ(data.objects[1].firstFace, 1);
    EXPECT_EQ(data.objects[1].faceCount, 2);
    EXPECT_EQ(data.objects[1].material, "Blue"); // the last usemtl of an object wins
    EXPECT_THAT(data.materialLibraries, ElementsAre("two.mtl"));
    EXPECT_THAT(data.libraryLines, ElementsAre(3));
}

TEST(ObjReader, RefusesTextOutsideTheSubsetWithItsLine)
{
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"g cube", "outside the supported subset"},
        {"l 1 2", "outside the supported subset"},
        {"vp 0.5", "outside the supported subset"},
        {"mg 1", "outside the supported subset"},
        {"usemtl", "without a material name"},
        {"mtllib", "without a file name"},
        {"f 1 2", "fewer than three"},
        {"f 1/1 2 3", "only some corners"},
        {"f 1//1 2//1 3", "only some corners"},
        {"f 1 2 5", "out of range"},
        {"f 0 1 2", "out of range"},
        {"f -5 1 2", "out of range"},
        {"f 1 2 99999999999999999999999", "out of range"},
        {"f 1/9 2/9 3/9", "out of range"},
        {"f 1//2 2//1 3//1", "out of range"},
        {"f 1 2 x", "cannot be read"},
        {"f 1 2 3x", "cannot be read"},
        {"v 1 abc 2", "cannot be read"},
        {"vn 1e999 0 0", "cannot be read"},
        {"v nan 0 0", "cannot be read"},
        {"vt 0 -inf", "cannot be read"},
    };
    for (const auto& c : cases) {
        const ReadError error = refusal(kFourPositions + "vt 0 0\nvn 0 0 1\n\n" + c.line + "\nf 1 2 3\n");
        EXPECT_EQ(error.line, 8) << c.line;
        EXPECT_THAT(error.reason, HasSubstr(c.reason)) << c.line;
    }
}

TEST(ObjReader, PositionsThatAreNotNumbersAreRefusedBeforeTheyPileUp)
{
    // Equal NaN positions never weld, and once all sat in one probe run of the welding table: reading
    // 40000 of them took minutes.
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "v nan 0 0\n";
    EXPECT_EQ(refusal(text).line, 1);
}

TEST(ObjReader, FacesBeforeAnyPositionAndEmptyTextAreHandled)
{
    EXPECT_EQ(refusal("f 1 2 3\n").line, 1);
    EXPECT_TRUE(read("").objects.empty());
    EXPECT_TRUE(read("\n\n   \n# nothing\n").faces.empty());
}

namespace
{

std::vector<MtlMaterial> read_materials(const std::string& text, const std::string& folder = "")
{
    std::vector<MtlMaterial> materials;
    ReadError error;
    EXPECT_TRUE(read_mtl(text.data(), text.size(), folder, materials, error))
        << "line " << error.line << ": " << error.reason;
    return materials;
}

} // namespace

TEST(MtlReader, MaterialsTakeTheirValuesAndKeepTheDefaultsOtherwise)
{
    const auto materials = read_materials("# made by hand\nKd 1 1 1\nnewmtl Shiny\nNs 50\nKa 0.1 0.2 0.3\n"
                                          "Ks 1 0.5 0.25\nNi 1.45\nd 0.5\nillum 3.9\nmap_Kd wood.png\n"
                                          "newmtl Plain\nKd 0.5 0.25 0\n",
                                          "models/");
    ASSERT_EQ(materials.size(), 2u); // the values before the first newmtl belong to no material
    const MaterialRecord& shiny = materials[0].record;
    EXPECT_EQ(materials[0].name, "Shiny");
    EXPECT_EQ(shiny.shininess, 50.0f);
    EXPECT_THAT(shiny.ambient, ElementsAre(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_THAT(shiny.specular, ElementsAre(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_THAT(shiny.diffuse, ElementsAre(0.8f, 0.8f, 0.8f, 1.0f));
    EXPECT_EQ(shiny.opacity, 0.5f);
    EXPECT_EQ(shiny.illuminationModel, 3);
    EXPECT_STREQ(shiny.textureFileName, "models/wood.png");

    const MaterialRecord& plain = materials[1].record;
    EXPECT_EQ(materials[1].name, "Plain");
    EXPECT_THAT(plain.diffuse, ElementsAre(0.5f, 0.25f, 0.0f, 1.0f));
    EXPECT_THAT(plain.ambient, ElementsAre(0.2f, 0.2f, 0.2f, 1.0f));
    EXPECT_THAT(plain.specular, ElementsAre(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(plain.shininess, 0.0f);
    EXPECT_EQ(plain.opacity, 1.0f);
    EXPECT_EQ(plain.illuminationModel, 2);
    EXPECT_STREQ(plain.textureFileName, "");
}

TEST(MtlReader, RefusesUnknownStatementsAndAppendsNothing)
{
    for (const char* line :
         {"Ke 1 1 1", "map_Bump b.png", "Kd 1 x 1", "newmtl", "illum 1e30", "Ns nan", "d inf"}) {
        std::vector<MtlMaterial> materials;
        ReadError error;
        const std::string text = std::string("newmtl A\nKd 1 0 0\n") + line + "\n";
        EXPECT_FALSE(read_mtl(text.data(), text.size(), "", materials, error)) << line;
        EXPECT_EQ(error.line, 3) << line;
        EXPECT_TRUE(materials.empty()) << line;
    }
}
