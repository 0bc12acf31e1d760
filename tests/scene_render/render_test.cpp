// What the RenderVisitor draws, read back from a real GL window: placement, lighting, blending order,
// flipping, clearing, colours, textures, point sprites and vertex-buffer meshes.
#include "render_fixture.h"
#include "scene/axis_marker3d.h"
#include "scene/flat_cube3d.h"
#include "scene/flat_rect3d.h"
#include "scene/flat_triangle3d.h"
#include "scene/light3d.h"
#include "scene/math3d.h"
#include "scene/mesh3d.h"

#include <GL/glew.h>
#include <cmath>

namespace
{

constexpr uint32_t kRed = 0xff0000, kGreen = 0x00ff00, kBlue = 0x0000ff, kWhite = 0xffffff, kBlack = 0;

// The bounding box of the pixels close to rgb; empty (x0 > x1) when there are none.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
};

Box boxOf(const Picture& picture, uint32_t rgb, int tolerance = 8)
{
    Box box;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (pixelIs(picture, x, y, rgb, tolerance)) {
                box.x0 = std::min(box.x0, x);
                box.x1 = std::max(box.x1, x);
                box.y0 = std::min(box.y0, y);
                box.y1 = std::max(box.y1, y);
            }
    return box;
}

double meanBrightness(const Picture& picture, int cx, int cy, int radius)
{
    double sum = 0;
    int n = 0;
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x, ++n)
            sum += picture.red(x, y) + picture.green(x, y) + picture.blue(x, y);
    return sum / (3.0 * n);
}

// A few points drawn as GL_POINTS, one batch per point, each batch with its own size when asked.
class PointMesh : public Poly3D
{
public:
    PointMesh(std::vector<float> points, std::vector<float> sizes, bool batchSizes)
        : points_(std::move(points)), sizes_(std::move(sizes)), batchSizes_(batchSizes)
    {
        const int n = int(points_.size() / 3);
        for (int i = 0; i < n; ++i) {
            firsts_.push_back(i);
            counts_.push_back(1);
        }
        if (!batchSizes_) {
            firsts_ = {0};
            counts_ = {n};
        }
    }
    uint32_t GetPrimitiveType() override { return GL_POINTS; }
    void* GetVertices() override { return points_.data(); }
    bool HasIndices() override { return false; }
    int GetBatchCount() override { return int(counts_.size()); }
    int* GetBatchCounts() override { return counts_.data(); }
    int* GetBatchFirsts() override { return firsts_.data(); }
    void** GetIndexPointers() override { return nullptr; }
    bool HasBatchPointSizes() override { return batchSizes_; }
    float GetPointSize(int batch) override { return sizes_[size_t(batch)]; }

private:
    std::vector<float> points_, sizes_;
    std::vector<int> firsts_, counts_;
    bool batchSizes_;
};

// A unit square (±1) textured with 16-bit coordinates in units of 1/texCoordScale, as picture meshes do.
class ShortTexturedSquare : public Poly3D
{
public:
    explicit ShortTexturedSquare(uint32_t texture) : texture_(texture) {}
    uint32_t GetPrimitiveType() override { return GL_QUADS; }
    void* GetVertices() override { return vertices_; }
    bool HasIndices() override { return false; }
    int GetBatchCount() override { return 1; }
    int* GetBatchCounts() override { return &count_; }
    int* GetBatchFirsts() override { return &first_; }
    void** GetIndexPointers() override { return nullptr; }
    bool HasTexture() override { return true; }
    void* GetTexCoords() override { return texCoords_; }
    uint32_t GetTextureId() override { return texture_; }

private:
    float vertices_[12] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    int16_t texCoords_[8] = {0, 0, 2048, 0, 2048, 2048, 0, 2048};
    int count_ = 4, first_ = 0;
    uint32_t texture_;
};

// A 2 x 2 texture, bottom row red, green; top row blue, white; nearest filtering. The cache's binding
// is restored so that it stays true.
uint32_t makeQuadrantTexture()
{
    const uint8_t pixels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    gls_push_bind_texture(name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gls_pop_bind_texture();
    return name;
}

void expectQuadrants(const Picture& picture)
{
    // The square at z = -5 spans pixels 102..153 across and 70..121 down; texture row 0 is at the bottom.
    EXPECT_TRUE(pixelIs(picture, 110, 115, kRed));
    EXPECT_TRUE(pixelIs(picture, 146, 115, kGreen));
    EXPECT_TRUE(pixelIs(picture, 110, 76, kBlue));
    EXPECT_TRUE(pixelIs(picture, 146, 76, kWhite));
}

void addSquare(Mesh3D& mesh, float z, bool withTexture)
{
    const float p[4][3] = {{-1, -1, z}, {1, -1, z}, {1, 1, z}, {-1, 1, z}};
    const float t[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    auto tex = [&](int i) { return withTexture ? t[i] : nullptr; };
    ASSERT_TRUE(mesh.AddTriangle(p[0], tex(0), nullptr, p[1], tex(1), nullptr, p[2], tex(2), nullptr));
    ASSERT_TRUE(mesh.AddTriangle(p[0], tex(0), nullptr, p[2], tex(2), nullptr, p[3], tex(3), nullptr));
}

} // namespace

TEST_F(RenderTest, RedRectangleInFrontOfTheCameraCoversItsProjectedSquare)
{
    FlatRect3D rect(2, 2, 0xffff0000);
    rect.position[2] = -5;
    root.AddChild(&rect);
    const Picture picture = render();
    save(picture);

    // Corners at ±1 seen from 5 units: ±0.2 of the half-width (128 px) and ±0.2/0.75 of the half-height.
    const Box box = boxOf(picture, kRed);
    EXPECT_EQ(box.x0, 102);
    EXPECT_EQ(box.x1, 153);
    EXPECT_EQ(box.y0, 70);
    EXPECT_EQ(box.y1, 121);
    EXPECT_EQ(countPixels(picture, kRed), 52 * 52);
    EXPECT_TRUE(pixelIs(picture, 10, 10, kBlack));
}

TEST_F(RenderTest, GroupTransformsAndTheCameraPlaceTheMesh)
{
    // A 4 x 2 rectangle turned a quarter about z (so it stands 2 wide and 4 tall), then moved 1 right.
    GroupNode3D moved, turned;
    moved.position[0] = 1;
    make_rotz_mat(turned.matrix, float(M_PI / 2));
    FlatRect3D rect(4, 2, 0xffff0000);
    rect.position[2] = -5;
    turned.AddChild(&rect);
    moved.AddChild(&turned);
    root.AddChild(&moved);
    // The camera stands 2 units back, so the rectangle is 7 units away.
    camera.position[2] = 2;
    const Picture picture = render();
    save(picture);

    const Box box = boxOf(picture, kRed);
    const double px = 128.0 / 7, py = 96.0 / 0.75 / 7; // pixels per unit at 7 units
    EXPECT_NEAR(box.x0, 128 + 0 * px, 1.5);
    EXPECT_NEAR(box.x1 + 1, 128 + 2 * px, 1.5);
    EXPECT_NEAR(box.y0, 96 - 2 * py, 1.5);
    EXPECT_NEAR(box.y1 + 1, 96 + 2 * py, 1.5);
}

TEST_F(RenderTest, LitCubeIsBrighterOnTheFacesTowardsTheLight)
{
    FlatCube3D cube(1, 0xffffffff);
    cube.position[2] = -6;
    make_roty_mat(cube.matrix, 0.7f); // turns +x towards the camera: +x face right, +z face left
    Light3D light;
    light.position[2] = -6;
    root.AddChild(&cube);
    root.AddChild(&light);

    light.position[0] = 10;
    const Picture lightRight = render();
    save(lightRight, ".right");
    light.position[0] = -10;
    const Picture lightLeft = render();
    save(lightLeft, ".left");

    const int leftFace = 113, rightFace = 145;
    EXPECT_GT(meanBrightness(lightRight, rightFace, 96, 3), meanBrightness(lightRight, leftFace, 96, 3) + 40);
    EXPECT_GT(meanBrightness(lightLeft, leftFace, 96, 3), meanBrightness(lightLeft, rightFace, 96, 3) + 40);
    // Unlit, a face would be the plain white of the cube.
    EXPECT_LT(meanBrightness(lightRight, leftFace, 96, 3), 200);
}

TEST_F(RenderTest, TransparentMeshesBlendBackToFrontByTheirOwnZ)
{
    // Half-transparent squares over one spot, visited at local z 5, 1, 3 inside a group 20 units away:
    // drawn 1 (red), 3 (green), 5 (blue), the last drawn showing most.
    GroupNode3D far;
    far.position[2] = -20;
    FlatRect3D blue(4, 4, 0xff0000ff), red(4, 4, 0xffff0000), green(4, 4, 0xff00ff00);
    const float z[3] = {5, 1, 3};
    FlatRect3D* squares[3] = {&blue, &red, &green};
    for (int i = 0; i < 3; ++i) {
        squares[i]->position[2] = z[i];
        squares[i]->SetOpacity(128);
        squares[i]->SetBlendSrc(GL_SRC_ALPHA);
        squares[i]->SetBlendDst(GL_ONE_MINUS_SRC_ALPHA);
        far.AddChild(squares[i]);
    }
    root.AddChild(&far);
    const Picture picture = render();
    save(picture);
    EXPECT_TRUE(pixelIs(picture, 128, 96, 0x204080, 3)) << std::hex << picture.at(128, 96);
}

TEST_F(RenderTest, TransparentMeshesOfEqualZAreDrawnInReverseVisitOrderAfterTheOpaqueOnes)
{
    FlatRect3D red(2, 2, 0xffff0000), green(2, 2, 0xff00ff00), white(2, 2, 0xffffffff);
    for (FlatRect3D* square : {&red, &green}) {
        square->position[2] = -5;
        square->SetOpacity(128);
        square->SetBlendSrc(GL_SRC_ALPHA);
        square->SetBlendDst(GL_ONE_MINUS_SRC_ALPHA);
        root.AddChild(square);
    }
    // Visited last but opaque: drawn first, under the other two.
    white.position[2] = -5;
    root.AddChild(&white);
    const Picture picture = render();
    save(picture);
    // Green over white, then red over that: red is on top.
    EXPECT_TRUE(pixelIs(picture, 128, 96, 0xbf7f3f, 3)) << std::hex << picture.at(128, 96);
}

TEST_F(RenderTest, FlipVerticalDrawsUpsideDown)
{
    // A triangle standing on its base just above the middle: apex up, in the upper half.
    FlatTriangle3D triangle(2, 2, 0xffff0000);
    triangle.position[1] = 0.2f;
    triangle.position[2] = -5;
    root.AddChild(&triangle);

    const Picture upright = render();
    save(upright, ".upright");
    const Picture flipped = render(true, true);
    save(flipped, ".flipped");

    const Box up = boxOf(upright, kRed), down = boxOf(flipped, kRed);
    EXPECT_LT(up.y1, 96);
    EXPECT_GT(down.y0, 96);
    EXPECT_NEAR(up.y0, kHeight - 1 - down.y1, 1);
    EXPECT_NEAR(up.y1, kHeight - 1 - down.y0, 1);
    // Upright the apex is at the top; flipped, at the bottom.
    auto redInRow = [](const Picture& picture, int y) {
        int n = 0;
        for (int x = 0; x < kWidth; ++x)
            n += pixelIs(picture, x, y, kRed, 8);
        return n;
    };
    EXPECT_LT(redInRow(upright, up.y0 + 2), redInRow(upright, up.y1 - 2));
    EXPECT_GT(redInRow(flipped, down.y0 + 2), redInRow(flipped, down.y1 - 2));
}

TEST_F(RenderTest, ClearColourChannelsAreClampedAndClearFalseKeepsThePicture)
{
    const uint32_t cachedBefore = gls_get(ClearColor);
    Picture picture = render(true, false, -1, 300, 128, 0);
    EXPECT_EQ(picture.at(5, 5), 0x00ff8000u) << std::hex << picture.at(5, 5);
    EXPECT_EQ(gls_get(ClearColor), cachedBefore);

    render(true, false, 255, 0, 0, 255);
    picture = render(false);
    EXPECT_TRUE(pixelIs(picture, 5, 5, kBlue));
}

TEST_F(RenderTest, MeshAfterAColourArrayMeshGetsItsOwnColourAgain)
{
    // The marker draws with a colour array; the white rectangle after it has the colour that the cache
    // already held, so only re-sending the cached colour after each mesh makes it white again.
    ASSERT_EQ(gls_get(Color), 0xffffffffu);
    // GL leaves the current colour undefined after drawing with a colour array; some drivers leave the
    // last array colour current. This marker does that on every GL.
    struct MarkerLeavingItsColour : AxisMarker3D {
        using AxisMarker3D::AxisMarker3D;
        void* GetColors() override
        {
            glColor4ub(255, 0, 0, 255);
            return AxisMarker3D::GetColors();
        }
    } marker(0xffff0000, 0xffff0000, 0xffff0000);
    marker.position[2] = -5;
    FlatRect3D rect(2, 2, 0xffffffff);
    rect.position[2] = -5;
    root.AddChild(&marker);
    root.AddChild(&rect);
    const Picture picture = render();
    save(picture);
    EXPECT_TRUE(pixelIs(picture, 110, 80, kWhite)) << std::hex << picture.at(110, 80);
    // The vertical axis line above the rectangle keeps its own colour.
    EXPECT_TRUE(pixelIs(picture, 127, 40, kRed, 40) || pixelIs(picture, 128, 40, kRed, 40));
}

TEST_F(RenderTest, OverrideColourReplacesTheMeshColour)
{
    struct OverrideGroup : GroupNode3D {
        void Accept(Visitor3D& visitor) override
        {
            visitor.SetOverrideColor(true, 0xff00ff00);
            GroupNode3D::Accept(visitor);
            visitor.SetOverrideColor(false, 0xff00ff00);
        }
    } group;
    FlatRect3D inside(2, 2, 0xffff0000), outside(2, 2, 0xffff0000);
    inside.position[0] = -1.5f;
    inside.position[2] = -5;
    outside.position[0] = 1.5f;
    outside.position[2] = -5;
    group.AddChild(&inside);
    root.AddChild(&group);
    root.AddChild(&outside);
    const Picture picture = render();
    save(picture);
    EXPECT_TRUE(pixelIs(picture, 90, 96, kGreen));
    EXPECT_TRUE(pixelIs(picture, 166, 96, kRed));
}

TEST_F(RenderTest, PointSpritesShrinkWithDistanceAsTheAttenuationSays)
{
    // Drawn size = 2.56 * viewport width * size / eye distance: 0.5 units at 8 and at 16 units.
    PointMesh near({0, 0, -8}, {0.5f}, false), far({0, 0, -16}, {0.5f}, false);
    near.position[0] = -1.5f;
    far.position[0] = 3.0f;
    near.SetColor(0xffff0000);
    far.SetColor(0xff00ff00);
    root.AddChild(&near);
    root.AddChild(&far);
    const Picture picture = render();
    save(picture);

    const Box nearBox = boxOf(picture, kRed), farBox = boxOf(picture, kGreen);
    EXPECT_NEAR(nearBox.width(), 2.56 * kWidth * 0.5 / 8, 1.5);
    EXPECT_NEAR(nearBox.height(), nearBox.width(), 1);
    EXPECT_NEAR(farBox.width(), 2.56 * kWidth * 0.5 / 16, 1.5);
    EXPECT_NEAR(farBox.height(), farBox.width(), 1);
}

TEST_F(RenderTest, PointSpriteBatchesEachTakeTheirOwnSize)
{
    PointMesh points({-2, 0, -8, 2, 0, -8}, {0.25f, 0.75f}, true);
    points.SetColor(0xff0000ff);
    root.AddChild(&points);
    const Picture picture = render();
    save(picture);

    Picture left = picture, right = picture;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            (x < 118 ? right : left).rgba[(size_t(y) * kWidth + x) * 4 + 2] = 0;
    EXPECT_NEAR(boxOf(left, kBlue).width(), 2.56 * kWidth * 0.25 / 8, 1.5);
    EXPECT_NEAR(boxOf(right, kBlue).width(), 2.56 * kWidth * 0.75 / 8, 1.5);
}

TEST_F(RenderTest, TexturedMeshesSampleTheirTextureThroughTheCoordinateScale)
{
    const uint32_t texture = makeQuadrantTexture();
    ShortTexturedSquare square(texture);
    square.position[2] = -5;
    root.AddChild(&square);
    Picture picture = render();
    save(picture, ".short");
    expectQuadrants(picture);

    root.RemoveAllChildren();
    root.AddChild(&camera);
    Mesh3D mesh(true);
    mesh.textureId = texture;
    addSquare(mesh, -5, true);
    root.AddChild(&mesh);
    picture = render();
    save(picture, ".mesh");
    expectQuadrants(picture);

    GLuint name = texture;
    glDeleteTextures(1, &name);
}

TEST_F(RenderTest, BufferedMeshDrawsLikeThePlainOneAndPicksUpLaterTriangles)
{
    Mesh3D plain(false), buffered(true);
    ASSERT_NE(buffered.GetVertexBuffer(), 0u);
    addSquare(plain, -5, false);
    addSquare(buffered, -5, false);
    plain.SetColor(0xffff0000);
    buffered.SetColor(0xffff0000);

    root.AddChild(&plain);
    const Picture expected = render();
    root.RemoveAllChildren();
    root.AddChild(&camera);
    root.AddChild(&buffered);
    const Picture drawn = render();
    save(drawn);
    EXPECT_EQ(countPixels(drawn, kRed), 52 * 52);
    EXPECT_EQ(drawn.rgba, expected.rgba);

    // A square added after the first upload must reach the buffers too.
    const float p[3][3] = {{2, -1, -5}, {3, -1, -5}, {3, 1, -5}};
    ASSERT_TRUE(buffered.AddTriangle(p[0], nullptr, nullptr, p[1], nullptr, nullptr, p[2], nullptr, nullptr));
    const Picture grown = render();
    save(grown, ".grown");
    EXPECT_TRUE(pixelIs(grown, int(128 + 2.8 * 128 / 5), 100, kRed));
}
