// Pictor's pictures on real GL, read back pixel by pixel and written as PNG files in the test's folder.
#include "image3d.h"
#include "pictor_effects.h"
#include "pictor_host.h"

#include "scene/camera3d.h"
#include "scene/render_visitor.h"
#include "scene/root_node3d.h"
#include "scene/texture.h"

#include <vortel/records.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace
{

constexpr int kW = PictorHost::kWidth;
constexpr int kH = PictorHost::kHeight;

// A 4 x 4 picture whose top half is green and bottom half red (rows are stored bottom-up).
std::unique_ptr<Texture> two_band_texture(uint32_t alpha = 0xFF000000)
{
    std::vector<uint32_t> pixels(16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pixels[size_t(y * 4 + x)] = alpha | (y < 2 ? 0xFF0000u : 0x00FF00u);
    return std::make_unique<Texture>(pixels.data(), 4, 4);
}

class PictorPictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ok());
        root.AddChild(&camera);
        root.AddChild(&host.group);
    }
    void TearDown() override { root.RemoveAllChildren(); }

    Picture render(const char* name, uint32_t background = 0xFF000000)
    {
        RenderVisitor visitor;
        root.Accept(visitor);
        visitor.Render(true, false, int32_t(background >> 24), int32_t((background >> 16) & 0xFF),
                       int32_t((background >> 8) & 0xFF), int32_t(background & 0xFF), false);
        Picture picture = read_framebuffer(kW, kH);
        picture.save_png(std::string("PictorPictures.") + name + ".png");
        return picture;
    }

    // Runs the effect's first and one running call, so its nodes hang in the scene group.
    template <class Fn, class... Words> void show(EffectCall& event, Fn fn, Words... words)
    {
        host.group.RemoveAllChildren();
        event.call(0, fn, words...);
        event.call(1, fn, words...);
    }

    PictorHost host;
    Camera3D camera{float(kW) / kH, 1.0f, 100.0f};
    RootNode3D root{&camera};
};

TEST_F(PictorPictures, ImageDrawsAFortyPixelQuadAroundItsCentreAtDepthMinusOne)
{
    auto texture = two_band_texture();
    const int32_t tex = host.serve(kTypeTexture, "bands", texture.get());
    const auto draw = [&](double nearPlane) {
        glViewport(0, 0, kW, kH);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kW, 0, kH, nearPlane, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EffectCall event;
        event.call(0, Image, tex, 100, 50);
        event.call(1, Image, tex, 100, 50);
        event.call(-1, Image, tex, 100, 50);
        return read_framebuffer(kW, kH);
    };
    const Picture picture = draw(0.5);
    picture.save_png("PictorPictures.image.png");
    // GL's y runs up: the quad covers x 80..120 and y 30..70, i.e. rows 122..162 from the top.
    const auto row = [](int glY) { return kH - 1 - glY; };
    // (Sampled in the middle of each band: linear filtering blends across the band edges.)
    EXPECT_EQ(picture.at(81, row(60)) & 0xFFFFFF, 0x00FF00u) << "top of the picture (green) at the top";
    EXPECT_EQ(picture.at(118, row(40)) & 0xFFFFFF, 0xFF0000u) << "bottom of the picture (red) at the bottom";
    for (auto [x, y] : {std::pair{78, 50}, std::pair{122, 50}, std::pair{100, 28}, std::pair{100, 72}})
        EXPECT_EQ(picture.at(x, row(y)) & 0xFFFFFF, 0u) << x << ", " << y;
    // Behind a near plane at 1.5 the quad at depth -1 is clipped away.
    const Picture clipped = draw(1.5);
    EXPECT_EQ(clipped.at(100, row(50)) & 0xFFFFFF, 0u);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(PictorPictures, Pictor3DShowsThePictureUprightInTheScene)
{
    auto texture = two_band_texture();
    const int32_t tex = host.serve(kTypeTexture, "bands", texture.get());
    EffectCall event;
    // 4 x 4 texels scaled by 1.5 at z = -8: 6 units of the 16 the view spans at that depth.
    show(event, Pictor3D, tex, 0, 0, -8000, 0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, 1, 150000, host.groupIndex,
         0);
    const Picture picture = render("pictor3d");
    const int cx = kW / 2, cy = kH / 2, reach = kW * 3 / 16;
    EXPECT_EQ(picture.at(cx, cy - reach / 2) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(picture.at(cx, cy + reach / 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(picture.at(cx - reach - 8, cy) & 0xFFFFFF, 0u);
    event.call(-1, Pictor3D, tex, 0, 0, -8000, 0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, 1, 150000,
               host.groupIndex, 0);
}

TEST_F(PictorPictures, Pictor3DAlphaLeavesTheColourChannelsUntouched)
{
    auto texture = two_band_texture(0x40000000);
    const int32_t tex = host.serve(kTypeTexture, "bands", texture.get());
    EffectCall event;
    show(event, Pictor3DAlpha, tex, 0, 0, -8000, 0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, 1, 150000,
         host.groupIndex, 0);
    const Picture picture = render("pictor3d_alpha", 0xFF326496);
    for (auto [x, y] : {std::pair{kW / 2, kH / 2 - 10}, std::pair{kW / 2, kH / 2 + 10}, std::pair{5, 5}})
        EXPECT_EQ(picture.at(x, y) & 0xFFFFFF, 0x326496u) << x << ", " << y;
    // The alpha channel took the picture's alpha where the quad is, and kept the clear value elsewhere.
    EXPECT_EQ(picture.at(kW / 2, kH / 2 - 10) >> 24, 0x40u);
    EXPECT_EQ(picture.at(5, 5) >> 24, 0xFFu);
    event.call(-1, Pictor3DAlpha, tex, 0, 0, -8000, 0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, 1, 150000,
               host.groupIndex, 0);
}

TEST_F(PictorPictures, DualImageGridShowsTheFrontFromTheFrontAndTheBackFromBehind)
{
    auto front = solid_texture(4, 0xFF00FF00);
    auto back = solid_texture(4, 0xFFFF00FF);
    const int32_t frontIndex = host.serve(kTypeTexture, "front", front.get());
    const int32_t backIndex = host.serve(kTypeTexture, "back", back.get());
    // A flat 3 x 3 sheet of 4 x 4 units, row 0 at the top.
    std::vector<float> points;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            points.insert(points.end(), {float(c * 2 - 2), float(2 - r * 2), 0});
    TextureGridRecord grid{3, 3, 4000, 4000, points.data(), nullptr};
    const int32_t gridIndex = host.serve(kTypeGrid, "sheet", &grid);
    const auto look = [&](int32_t qb, int32_t qd, const char* name) {
        EffectCall event;
        show(event, DualImageGrid3D, frontIndex, backIndex, gridIndex, 0, 0, 255, 255, 255, 0, 0, -8000, 0,
             qb, 0, qd, 255, GL_ONE, GL_ZERO, 100000, host.groupIndex, 0);
        const uint32_t centre = render(name).at(kW / 2, kH / 2) & 0xFFFFFF;
        event.call(-1, DualImageGrid3D, frontIndex, backIndex, gridIndex, 0, 0, 255, 255, 255, 0, 0, -8000, 0,
                   qb, 0, qd, 255, GL_ONE, GL_ZERO, 100000, host.groupIndex, 0);
        return centre;
    };
    EXPECT_EQ(look(0, 10000, "dual_front"), 0x00FF00u);
    EXPECT_EQ(look(10000, 0, "dual_back"), 0xFF00FFu); // half a turn about y
}

} // namespace
