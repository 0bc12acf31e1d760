// Flames drawn by the real renderer into a real GL window, read back and looked at pixel by pixel. The
// pictures are written as PNG files in the test's working folder.
#include "emberfold_effects.h"
#include "flame_description.h"
#include "flame_host.h"
#include "flame_mesh.h"
#include "gl_window.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/math3d.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"
#include "scene/texture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace emberfold;

namespace
{

constexpr int kWidth = 256;
constexpr int kHeight = 192;

class FlamePicture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        window_ = std::make_unique<GLWindow>(kWidth, kHeight);
        cache_ = std::make_unique<GLStateContext>(kWidth, kHeight);
        if (window_->ok())
            gls_make_current(cache_.get());
    }
    static void TearDownTestSuite()
    {
        gls_make_current(nullptr);
        cache_.reset();
        window_.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(window_->ok()) << "no GL window (is an X server running?)";
        make_default_description(*flame);
        root.AddChild(&camera);
    }

    FlameMeshSettings opaque(bool points, bool buffer)
    {
        FlameMeshSettings s;
        s.pointCount = 30000;
        s.pointsMode = points;
        s.useVertexBuffer = buffer;
        s.largestSize = 0.04f;
        s.smallestSize = 0.04f;
        return s;
    }
    Picture render(FlameMesh& mesh, const char* name)
    {
        mesh.position[2] = -8;
        root.AddChild(&mesh);
        RenderVisitor visitor;
        root.Accept(visitor);
        visitor.Render(true, false, 255, 0, 0, 0, false);
        root.RemoveChild(&mesh);
        Picture picture = read_framebuffer(kWidth, kHeight);
        picture.save_png(std::string("FlamePicture.") + name + ".png");
        return picture;
    }
    // Opaque squares of edge `size` showing the texture, from client memory or from a vertex buffer.
    Picture squares(const Texture& texture, bool buffer, int32_t points, float size, const std::string& name)
    {
        FlameMeshSettings s = opaque(false, buffer);
        s.pointCount = points;
        s.textureId = texture.id;
        s.largestSize = s.smallestSize = size;
        FlameMesh mesh(*flame, s);
        mesh.blendSrc = 1;
        mesh.blendDst = 0;
        return render(mesh, (name + (buffer ? "_vbo" : "")).c_str());
    }
    // Where a point (x, y) of the plane z = -8 appears, in pixels from the top left.
    static void project(float x, float y, int& px, int& py)
    {
        const float aspect = float(kWidth) / kHeight;
        px = int((x / 8 + 1) / 2 * kWidth);
        py = int((1 - y * aspect / 8) / 2 * kHeight);
    }
    // Pixels within 12 of (px, py) whose strongest channel is red (2), green (1) or blue (0).
    static int dominant(const Picture& p, int px, int py, int channel)
    {
        int n = 0;
        for (int y = py - 12; y <= py + 12; ++y)
            for (int x = px - 12; x <= px + 12; ++x) {
                if (x < 0 || y < 0 || x >= p.width || y >= p.height)
                    continue;
                const uint32_t c = p.at(x, y);
                const int v[3] = {int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)};
                n += v[channel] > 100 && v[channel] > 2 * v[(channel + 1) % 3] &&
                     v[channel] > 2 * v[(channel + 2) % 3];
            }
        return n;
    }

    static std::unique_ptr<GLWindow> window_;
    static std::unique_ptr<GLStateContext> cache_;
    std::unique_ptr<FlameDescription> flame{new FlameDescription};
    Camera3D camera{float(kWidth) / kHeight, 1.0f, 100.0f};
    RootNode3D root{&camera};
};

std::unique_ptr<GLWindow> FlamePicture::window_;
std::unique_ptr<GLStateContext> FlamePicture::cache_;

// The attractor's corners: twice each map's translation.
const float kCorners[3][2] = {{2.0f, 2.0f}, {-2.732f, 0.732f}, {0.732f, -2.732f}};
const int kChannelOf[3] = {0, 2, 1}; // blue, red, green along the colour axis

} // namespace

TEST_F(FlamePicture, DefaultDescriptionDrawsThreeColouredClusters)
{
    FlameMesh mesh(*flame, opaque(true, false));
    mesh.blendSrc = 1;
    mesh.blendDst = 0;
    const Picture picture = render(mesh, "default_points");
    for (int k = 0; k < 3; ++k) {
        int px, py;
        project(kCorners[k][0] * 0.9f, kCorners[k][1] * 0.9f, px, py);
        const int own = dominant(picture, px, py, kChannelOf[k]);
        EXPECT_GT(own, 40) << "corner " << k;
        for (int other = 0; other < 3; ++other) {
            if (other == kChannelOf[k])
                continue;
            EXPECT_LT(dominant(picture, px, py, other), own / 4) << "corner " << k;
        }
    }
    // The middle of the triangle is empty, as in every Sierpinski triangle.
    int cx, cy;
    project(0, 0, cx, cy);
    EXPECT_EQ(picture.at(cx, cy) & 0xffffffu, 0u);
}

TEST_F(FlamePicture, VertexBufferDrawsTheSamePictureAndOpacityReachesIt)
{
    FlameMesh arrays(*flame, opaque(true, false));
    const Picture a = render(arrays, "arrays");
    FlameMesh buffered(*flame, opaque(true, true));
    ASSERT_NE(buffered.GetVertexBuffer(), 0u);
    const Picture b = render(buffered, "buffer");
    int lit = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
            lit += (a.at(x, y) & 0xffffffu) != 0;
        }
    EXPECT_GT(lit, 1000);
    // Additive drawing with alpha 0 adds nothing: the new alpha bytes reached the buffer.
    buffered.SetOpacity(0);
    const Picture faded = render(buffered, "buffer_alpha0");
    int stillLit = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            stillLit += (faded.at(x, y) & 0xffffffu) != 0;
    EXPECT_EQ(stillLit, 0);
}

TEST_F(FlamePicture, AReshapedMeshDrawsWhatANewMeshDraws)
{
    // Points and squares, each from a vertex buffer that is filled once and then again after the reshape.
    for (const bool points : {true, false}) {
        SCOPED_TRACE(points ? "points" : "squares");
        make_default_description(*flame);
        FlameMeshSettings settings = opaque(points, true);
        settings.pointCount = 20000;
        FlameMesh kept(*flame, settings);
        const Picture before = render(kept, points ? "reshape_points_before" : "reshape_squares_before");

        FlameDescription& moved = *flame;
        moved.transforms[0].translation[0] = -2.0f;
        compute_probabilities(moved);
        moved.palette.ChangeColor(0, 0xffffff00u);
        settings.alpha = 160;
        settings.largestSize = 0.06f;
        ASSERT_TRUE(kept.Fits(settings));
        kept.Reshape(moved, settings);
        const Picture after = render(kept, points ? "reshape_points_after" : "reshape_squares_after");
        FlameMesh fresh(moved, settings);
        const Picture expected = render(fresh, points ? "reshape_points_new" : "reshape_squares_new");

        int changed = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(after.at(x, y), expected.at(x, y)) << x << "," << y;
                changed += after.at(x, y) != before.at(x, y);
            }
        EXPECT_GT(changed, 500);
        settings.batchCount = 2;
        EXPECT_FALSE(kept.Fits(settings));
    }
}

TEST_F(FlamePicture, SquaresFaceATurnedCamera)
{
    // The camera turned a quarter about y and placed to look at the flame from the side.
    make_roty_mat(camera.matrix, 1.0f);
    const float forward[3] = {0, 0, -1};
    float direction[3];
    mul_mat_vec(forward, camera.matrix, direction);
    for (int i = 0; i < 3; ++i)
        camera.position[i] = (i == 2 ? -8.0f : 0.0f) - 8 * direction[i];
    std::vector<uint32_t> white(16 * 16, 0xffffffffu);
    Texture texture(white.data(), 16, 16);
    FlameMeshSettings s = opaque(false, true);
    s.pointCount = 5000;
    s.textureId = texture.id;
    s.largestSize = 0.1f;
    FlameMesh mesh(*flame, s);
    mesh.blendSrc = 1;
    mesh.blendDst = 0;
    const Picture picture = render(mesh, "squares_turned_camera");
    // Every square's corners, seen from the camera, are an upright square of edge largestSize.
    float corners[4][3];
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.GetVertexBuffer());
    std::vector<FlameMesh::Vertex> v(4);
    glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, 4 * 16, v.data());
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    float view[9];
    inverse(camera.worldMatrix, view);
    for (int k = 0; k < 4; ++k) {
        const float d[3] = {v[k].x - v[0].x, v[k].y - v[0].y, v[k].z - v[0].z};
        mul_mat_vec(d, view, corners[k]);
    }
    EXPECT_NEAR(corners[1][0], 0.1f, 1e-4);
    EXPECT_NEAR(corners[1][1], 0.0f, 1e-4);
    EXPECT_NEAR(corners[2][0], 0.1f, 1e-4);
    EXPECT_NEAR(corners[2][1], 0.1f, 1e-4);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(corners[k][2], 0.0f, 1e-4);
    int lit = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            lit += (picture.at(x, y) & 0xffffffu) != 0;
    EXPECT_GT(lit, 200);
}

// Squares take their texture over the whole square: with a texture black on its left half, about half of
// every square goes dark, drawn from client memory or from a vertex buffer alike. (Sprite state meant for
// points once replaced the squares' coordinates, so each square showed one texel.)
TEST_F(FlamePicture, SquaresShowTheWholeTexture)
{
    std::vector<uint32_t> white(16 * 16, 0xffffffffu), half(white);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            half[size_t(y * 16 + x)] = 0xff000000u;
    Texture whole(white.data(), 16, 16), halved(half.data(), 16, 16);
    auto lit_pixels = [&](const Texture& texture, bool buffer, const char* name) {
        const Picture picture = squares(texture, buffer, 300, 0.6f, name);
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                lit += (picture.at(x, y) & 0xffffffu) != 0;
        return lit;
    };
    for (bool buffer : {false, true}) {
        const int full = lit_pixels(whole, buffer, "squares_white");
        const int part = lit_pixels(halved, buffer, "squares_half");
        ASSERT_GT(full, 2000) << "buffer " << buffer;
        EXPECT_GT(part, full / 5) << "buffer " << buffer;
        EXPECT_LT(part, full * 4 / 5) << "buffer " << buffer;
    }
}

// A texture on the squares stands upright, its top-left quarter at each square's top left, from client
// memory and from a vertex buffer alike. One map of scale 0 puts every point on one spot, so the squares
// lie on top of each other, in the white of a white palette.
TEST_F(FlamePicture, SquaresShowTheirTextureUpright)
{
    flame->transformCount = 1;
    init_transform(flame->transforms[0]);
    for (float& scale : flame->transforms[0].scale)
        scale = 0;
    make_static_channels(flame->transforms[0]);
    flame->palette.ChangeColor(0, 0xffffffffu);
    flame->palette.ChangeColor(flame->palette.count - 1, 0xffffffffu);
    compute_probabilities(*flame);
    Texture quarters(quarter_pixels(4).data(), 4, 4);
    for (bool buffer : {false, true})
        EXPECT_EQ(quarters_seen(squares(quarters, buffer, 10, 6, "squares_upright")), quarters_upright())
            << "buffer " << buffer;
}

// ShowFlame holds its texture from the first call to the last: its squares are drawn with it, and the one
// acquisition is given back once, on the last call. A texture that is not there is never given back.
TEST_F(FlamePicture, ShowFlameHoldsItsTextureFromTheFirstCallToTheLast)
{
    FlameHost host;
    std::vector<uint32_t> white(16 * 16, 0xffffffffu);
    Texture texture(white.data(), 16, 16);
    host.textures["sprite"] = &texture;
    Event e;
    ShowFlameWords w;
    w.name = host.text(write_file("held_texture.flame", description_text(triangle_transforms(), {})));
    w.pointsFlag = 0;
    w.texture = host.text("sprite");
    ASSERT_TRUE(call_show_flame(e, 0, w));
    EXPECT_EQ(host.textureHolds, 1);
    for (int frame = 0; frame < 2; ++frame) {
        host.group.RemoveAllChildren();
        ASSERT_TRUE(call_show_flame(e, 1, w));
    }
    EXPECT_EQ(host.textureHolds, 1) << "running calls draw with the first call's texture";
    auto* mesh = dynamic_cast<FlameMesh*>(host.group.GetChild(0));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetTextureId(), texture.id);
    host.group.RemoveAllChildren();
    EXPECT_TRUE(call_show_flame(e, -1, w));
    EXPECT_EQ(host.textureHolds, 0);

    w.texture = host.text("no-such-sprite");
    ASSERT_TRUE(call_show_flame(e, 0, w));
    EXPECT_EQ(host.take_log(), std::vector<std::string>{"ShowFlame: no resource no-such-sprite"});
    ASSERT_TRUE(call_show_flame(e, 1, w));
    EXPECT_EQ(dynamic_cast<FlameMesh*>(host.group.GetChild(0))->GetTextureId(), 0u);
    host.group.RemoveAllChildren();
    EXPECT_TRUE(call_show_flame(e, -1, w));
    EXPECT_EQ(host.textureHolds, 0);
}
