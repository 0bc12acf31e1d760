// The geometry Pictor's three node kinds hand to the renderer: quads, grid strips and image swarms.
#include "grid_node.h"
#include "image3d.h"
#include "image_swarm_node.h"
#include "pictor_host.h"

#include "scene/texture.h"

#include <vortel/records.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<float> floats(void* data, size_t n)
{
    const float* p = static_cast<const float*>(data);
    return std::vector<float>(p, p + n);
}

std::vector<int> shorts(void* data, size_t n)
{
    const int16_t* p = static_cast<const int16_t*>(data);
    return std::vector<int>(p, p + n);
}

std::vector<int> bytes(void* data, size_t n)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    return std::vector<int>(p, p + n);
}

TEST(Image3DNode, QuadHasTheTextureSizeCentredOnTheOrigin)
{
    Image3D image(7, 256, 128);
    EXPECT_EQ(floats(image.GetVertices(), 12),
              (std::vector<float>{-128, 64, 0, 128, 64, 0, 128, -64, 0, -128, -64, 0}));
    EXPECT_EQ(image.GetPrimitiveType(), uint32_t(GL_QUADS));
    EXPECT_EQ(image.GetBatchCount(), 1);
    EXPECT_EQ(image.GetBatchCounts()[0], 4);
    EXPECT_EQ(image.GetBatchFirsts()[0], 0);
    EXPECT_FALSE(image.HasIndices());
    EXPECT_FALSE(image.HasColors());
    EXPECT_TRUE(image.HasTexture());
    EXPECT_EQ(image.GetTextureId(), 7u);
    // Odd sizes keep their half pixel.
    Image3D odd(1, 3, 5);
    EXPECT_EQ(floats(odd.GetVertices(), 3), (std::vector<float>{-1.5f, 2.5f, 0}));
}

TEST(Image3DNode, TextureCoordinatesByDefaultAndFromSetTexArray)
{
    Image3D image(1, 256, 128);
    EXPECT_EQ(shorts(image.GetTexCoords(), 8), (std::vector<int>{0, 0, 2048, 0, 2048, 2048, 0, 2048}));
    image.SetTexArray(0.5f, 0, 0.5f, 1);
    EXPECT_EQ(shorts(image.GetTexCoords(), 8), (std::vector<int>{1024, 2048, 2048, 2048, 2048, 0, 1024, 0}));
    // The whole picture through SetTexArray is the default mirrored top to bottom.
    image.SetTexArray(0, 0, 1, 1);
    EXPECT_EQ(shorts(image.GetTexCoords(), 8), (std::vector<int>{0, 2048, 2048, 2048, 2048, 0, 0, 0}));
    // Coordinates no integer can hold become 0 instead of undefined behaviour.
    image.SetTexArray(1e30f, 0, 1, 1);
    EXPECT_EQ(shorts(image.GetTexCoords(), 8), (std::vector<int>{0, 2048, 0, 2048, 0, 0, 0, 0}));
}

TEST(Image3DNode, AlwaysWhiteWithItsOpacityAsAlphaAndMaskFromTheField)
{
    Image3D image(1, 4, 4);
    image.SetColor(0xFF102030);
    image.SetOpacity(99);
    EXPECT_EQ(image.GetColor(), 0x63FFFFFFu);
    EXPECT_EQ(image.GetColorMask(), 15u);
    image.colorMask = 8;
    EXPECT_EQ(image.GetColorMask(), 8u);
}

class GridNodeTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.ok()); }
    PictorHost host;
    std::unique_ptr<Texture> texture = solid_texture(4, 0xFFFFFFFF);
};

TEST_F(GridNodeTest, ThreeByTwoGridIsOneStripZigZaggingBetweenTheRows)
{
    std::vector<float> positions(6 * 3, 0.0f);
    TextureGridRecord grid{3, 2, 0, 0, positions.data(), nullptr};
    GridNode node(*texture, grid);
    EXPECT_EQ(node.GetPrimitiveType(), uint32_t(GL_QUAD_STRIP));
    EXPECT_TRUE(node.HasIndices());
    EXPECT_EQ(node.GetIndexType(), uint32_t(GL_UNSIGNED_SHORT));
    ASSERT_EQ(node.GetBatchCount(), 1);
    ASSERT_EQ(node.GetBatchCounts()[0], 6);
    const uint16_t* strip = static_cast<const uint16_t*>(node.GetIndexPointers()[0]);
    EXPECT_EQ(std::vector<int>(strip, strip + 6), (std::vector<int>{0, 3, 1, 4, 2, 5}));
}

TEST_F(GridNodeTest, StripsOfALargerGridCoverEveryPairOfRows)
{
    std::vector<float> positions(4 * 3 * 3, 0.0f);
    TextureGridRecord grid{4, 3, 0, 0, positions.data(), nullptr};
    GridNode node(*texture, grid);
    ASSERT_EQ(node.GetBatchCount(), 2);
    const uint16_t* second = static_cast<const uint16_t*>(node.GetIndexPointers()[1]);
    EXPECT_EQ(std::vector<int>(second, second + 8), (std::vector<int>{4, 8, 5, 9, 6, 10, 7, 11}));
}

TEST_F(GridNodeTest, FirstRowShowsTheTopOfThePictureAndOffsetsShiftIt)
{
    std::vector<float> positions(6 * 3, 0.0f);
    TextureGridRecord grid{3, 2, 0, 0, positions.data(), nullptr};
    GridNode node(*texture, grid);
    EXPECT_EQ(shorts(node.GetTexCoords(), 12),
              (std::vector<int>{0, 0, 1024, 0, 2048, 0, 0, 2048, 1024, 2048, 2048, 2048}));
    node.offS = 10;
    node.offT = -20;
    EXPECT_EQ(shorts(node.GetTexCoords(), 4), (std::vector<int>{10, -20, 1034, -20}));
}

TEST_F(GridNodeTest, KeepsItsOwnCopyOfThePoints)
{
    std::vector<float> positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
    TextureGridRecord grid{2, 2, 0, 0, positions.data(), nullptr};
    GridNode node(*texture, grid);
    positions[0] = 99;
    EXPECT_EQ(floats(node.GetVertices(), 3), (std::vector<float>{0, 0, 0}));
}

TEST_F(GridNodeTest, PointColoursAreReorderedAndTintedKeepingTheirAlpha)
{
    std::vector<float> positions(4 * 3, 0.0f);
    std::vector<uint8_t> colors = {10, 20, 30, 40, 50, 60, 70, 80, 1, 2, 3, 4, 5, 6, 7, 8};
    TextureGridRecord grid{2, 2, 0, 0, positions.data(), colors.data()};
    GridNode node(*texture, grid);
    ASSERT_TRUE(node.HasColors());
    EXPECT_EQ(bytes(node.GetColors(), 8), (std::vector<int>{20, 30, 40, 10, 60, 70, 80, 50}));
    node.SetColor(0x80AABBCC);
    EXPECT_EQ(bytes(node.GetColors(), 8), (std::vector<int>{0xAA, 0xBB, 0xCC, 10, 0xAA, 0xBB, 0xCC, 50}));
    TextureGridRecord plain{2, 2, 0, 0, positions.data(), nullptr};
    GridNode uncoloured(*texture, plain);
    EXPECT_FALSE(uncoloured.HasColors());
    uncoloured.SetColor(0xFF112233); // nothing to tint, nothing written
}

TEST_F(GridNodeTest, CullingIsOffUntilAskedAndTakesTheGivenFace)
{
    std::vector<float> positions(4 * 3, 0.0f);
    TextureGridRecord grid{2, 2, 0, 0, positions.data(), nullptr};
    GridNode node(*texture, grid);
    EXPECT_FALSE(node.IsCulled());
    EXPECT_EQ(node.GetCullMode(), uint32_t(GL_BACK));
    node.SetCulled(true);
    node.SetCullMode(GL_FRONT);
    EXPECT_TRUE(node.IsCulled());
    EXPECT_EQ(node.GetCullMode(), uint32_t(GL_FRONT));
}

TEST(GridRecords, OnlySheetsThatCanBeDrawnAreAccepted)
{
    std::vector<float> positions(300 * 300 * 3, 0.0f);
    TextureGridRecord good{2, 2, 0, 0, positions.data(), nullptr};
    EXPECT_TRUE(is_drawable_grid(&good));
    EXPECT_FALSE(is_drawable_grid(nullptr));
    TextureGridRecord oneColumn{1,      5, 0, 0, positions.data(),
                                nullptr}; // texture coordinates would divide by 0
    EXPECT_FALSE(is_drawable_grid(&oneColumn));
    TextureGridRecord oneRow{5, 1, 0, 0, positions.data(), nullptr};
    EXPECT_FALSE(is_drawable_grid(&oneRow));
    TextureGridRecord noPoints{2, 2, 0, 0, nullptr, nullptr};
    EXPECT_FALSE(is_drawable_grid(&noPoints));
    TextureGridRecord tooMany{300, 300, 0, 0, positions.data(), nullptr}; // indices would wrap at 65536
    EXPECT_FALSE(is_drawable_grid(&tooMany));
    TextureGridRecord negative{-2, -3, 0, 0, positions.data(), nullptr};
    EXPECT_FALSE(is_drawable_grid(&negative));
}

class ImageSwarmNodeTest : public GridNodeTest
{
protected:
    std::unique_ptr<Texture> wide = [] {
        std::vector<uint32_t> pixels(8 * 4, 0xFFFFFFFF);
        return std::make_unique<Texture>(pixels.data(), 8, 4);
    }();
    std::vector<float> positions = {0, 0, 0, 10, 0, 0, 20, 5, 1, 30, 0, 0};
    std::vector<uint8_t> colors = {255, 1, 2, 3, 128, 4, 5, 6, 64, 7, 8, 9, 32, 10, 11, 12};
};

TEST_F(ImageSwarmNodeTest, QuadsGrowOnePointAfterTheOther)
{
    ImageSwarmNode node(*wide, 2, 1, false, positions.data(), nullptr, 200, 1, 2, 3, 0.5f);
    EXPECT_EQ(node.GetPrimitiveType(), uint32_t(GL_QUADS));
    EXPECT_EQ(node.GetBatchCounts()[0], 8);
    // Point 1 at (10, 0, 0) with factor 1.5: half sizes 6 and 3; point 2 at (20, 5, 1) with factor 2.
    EXPECT_EQ(floats(node.GetVertices(), 24), (std::vector<float>{4,  3, 0, 16, 3, 0, 16, -3, 0, 4,  -3, 0,
                                                                  12, 9, 1, 28, 9, 1, 28, 1,  1, 12, 1,  1}));
    EXPECT_EQ(shorts(node.GetTexCoords(), 8), (std::vector<int>{0, 0, 2048, 0, 2048, 2048, 0, 2048}));
    EXPECT_FALSE(node.HasColors());
    EXPECT_EQ(node.GetColor(), 0xC8010203u);
}

TEST_F(ImageSwarmNodeTest, SpritesAreOneVertexPerPointWithoutCoordinates)
{
    ImageSwarmNode node(*wide, 3, 1, true, positions.data(), colors.data(), 255, 0, 0, 0, 0);
    EXPECT_EQ(node.GetPrimitiveType(), uint32_t(GL_POINTS));
    EXPECT_EQ(node.GetBatchCounts()[0], 3);
    EXPECT_EQ(floats(node.GetVertices(), 9), (std::vector<float>{10, 0, 0, 20, 5, 1, 30, 0, 0}));
    EXPECT_TRUE(node.HasTexture());
    EXPECT_FALSE(node.HasTexCoords());
    EXPECT_EQ(bytes(node.GetColors(), 12), (std::vector<int>{4, 5, 6, 128, 7, 8, 9, 64, 10, 11, 12, 32}));
}

TEST_F(ImageSwarmNodeTest, OpacityAndColourRefreshReachEveryVertex)
{
    ImageSwarmNode node(*wide, 1, 2, false, positions.data(), colors.data(), 255, 0, 0, 0, 0);
    EXPECT_EQ(bytes(node.GetColors(), 16),
              (std::vector<int>{7, 8, 9, 64, 7, 8, 9, 64, 7, 8, 9, 64, 7, 8, 9, 64}));
    node.SetOpacity(300);
    EXPECT_EQ(node.opacity, 255);
    EXPECT_EQ(bytes(node.GetColors(), 4), (std::vector<int>{7, 8, 9, 255}));
    node.SetOpacity(-4);
    EXPECT_EQ(node.GetColor() >> 24, 0u);
    node.RefreshColors(nullptr, 10, 20, 30, 40);
    EXPECT_FALSE(node.HasColors());
    EXPECT_EQ(node.GetColor(), 0x0A141E28u);
    node.RefreshColors(colors.data(), 0, 0, 0, 0);
    EXPECT_EQ(bytes(node.GetColors(), 4), (std::vector<int>{7, 8, 9, 64}));
}

} // namespace
