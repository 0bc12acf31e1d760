// Pictor's pictures on real GL, read back pixel by pixel and written as PNG files in the test's folder.
#include "image3d.h"
#include "pictor_effects.h"
#include "pictor_host.h"

#include "scene/camera3d.h"
#include "scene/math3d.h"
#include "scene/pbuffer.h"
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

// The 4 x 4 picture of four quarters (gl_window.h), rows top first as every 'TXTR' holds them.
std::unique_ptr<Texture> quarters_texture()
{
    return std::make_unique<Texture>(quarter_pixels(4).data(), 4, 4);
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

    // The effect's first, running and last call; the scene rendered over transparent black in between.
    template <class Fn, class... Words> Picture shown(const std::string& name, Fn fn, Words... words)
    {
        EffectCall event;
        show(event, fn, words...);
        Picture picture = render(name.c_str(), 0);
        event.call(-1, fn, words...);
        return picture;
    }

    // Image at the middle of a pixel projection with y downwards, as the screen effects use.
    Picture draw_image(int32_t texture, double nearPlane, const std::string& name)
    {
        glViewport(0, 0, kW, kH);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kW, kH, 0, nearPlane, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EffectCall event;
        event.call(0, Image, texture, 100, 50);
        event.call(1, Image, texture, 100, 50);
        event.call(-1, Image, texture, 100, 50);
        glBindTexture(GL_TEXTURE_2D, 0);
        Picture picture = read_framebuffer(kW, kH);
        picture.save_png("PictorPictures." + name + ".png");
        return picture;
    }

    // Off-screen buffer `buffer`, 64 x 64, holding the picture rendered into it the way Show3D renders
    // (upside down, so that the buffer's first row is the picture's top).
    static Texture* render_into_buffer(Texture& picture, int32_t buffer)
    {
        Camera3D camera{1.0f, 1.0f, 100.0f};
        RootNode3D root{&camera};
        Image3D image(&picture);
        image.position[2] = -8;
        make_scale_mat(image.matrix, 3, 3, 3);
        root.AddChild(&camera);
        root.AddChild(&image);
        gPBuffer->RenderToTexture(buffer, 64, 64);
        RenderVisitor visitor;
        root.Accept(visitor);
        visitor.Render(true, true, 0, 0, 0, 0, false);
        gPBuffer->RenderScreen();
        root.RemoveAllChildren();
        return gPBuffer->GetTexture(buffer);
    }

    PictorHost host;
    Camera3D camera{float(kW) / kH, 1.0f, 100.0f};
    RootNode3D root{&camera};
    float origin[3] = {0, 0, 0};
};

TEST_F(PictorPictures, ImageDrawsAFortyPixelQuadAroundItsCentreAtDepthMinusOne)
{
    auto texture = quarters_texture();
    const int32_t tex = host.serve(kTypeTexture, "quarters", texture.get());
    const Picture picture = draw_image(tex, 0.5, "image");
    // The quad covers x 80..120 and y 30..70 of the pixel projection, y downwards.
    EXPECT_NE(picture.at(81, 31) & 0xFFFFFF, 0u);
    EXPECT_NE(picture.at(118, 68) & 0xFFFFFF, 0u);
    for (auto [x, y] : {std::pair{78, 50}, std::pair{122, 50}, std::pair{100, 28}, std::pair{100, 72}})
        EXPECT_EQ(picture.at(x, y) & 0xFFFFFF, 0u) << x << ", " << y;
    // Behind a near plane at 1.5 the quad at depth -1 is clipped away.
    EXPECT_EQ(draw_image(tex, 1.5, "image_clipped").at(100, 50) & 0xFFFFFF, 0u);
}

// Every effect that shows a texture, given a picture and the off-screen buffer "Render1" holding the same
// picture as Show3D renders it there: the picture's top-left quarter lands at the top left of the screen.
TEST_F(PictorPictures, EveryEffectShowsPicturesAndRender1Upright)
{
    auto picture = quarters_texture();
    ASSERT_NE(PBuffer::Create(kW, kH), nullptr);
    Texture* render1 = render_into_buffer(*picture, 0);
    SwarmRecord swarm{1, origin, nullptr, 255, 255, 255, 255, nullptr};
    const int32_t swarmIndex = host.serve(kTypeSwarm, "point", &swarm);
    // A flat 2 x 2 sheet of 4 x 4 units, row 0 at the top.
    float corners[12] = {-2, 2, 0, 2, 2, 0, -2, -2, 0, 2, -2, 0};
    TextureGridRecord sheet{2, 2, 4000, 4000, corners, nullptr};
    const int32_t grid = host.serve(kTypeGrid, "sheet", &sheet);
    const int32_t g = host.groupIndex;
    // The picture's 4 texels and Render1's 64 are each scaled to about 6 units at z = -8.
    for (auto [name, texture, scale] :
         {std::tuple{"quarters.png", picture.get(), 150000}, std::tuple{"Render1", render1, 10000}}) {
        SCOPED_TRACE(name);
        const int32_t t = host.serve(kTypeTexture, name, texture, texture != render1);
        const std::string n = std::string(name) + ".";
        EXPECT_EQ(quarters_seen(draw_image(t, 0.5, n + "image")), quarters_upright()) << "Image";
        EXPECT_EQ(quarters_seen(shown(n + "pictor3d", Pictor3D, t, 0, 0, -8000, 0, 0, 0, 10000, 255, GL_ONE,
                                      GL_ZERO, 1, scale, g, 0)),
                  quarters_upright());
        EXPECT_EQ(quarters_seen(shown(n + "pictor3d_alpha", Pictor3DAlpha, t, 0, 0, -8000, 0, 0, 0, 10000,
                                      255, GL_ONE, GL_ZERO, 1, scale, g, 0),
                                true),
                  quarters_upright(true));
        // Quads at z = -8, and point sprites far enough away to fit the window.
        EXPECT_EQ(quarters_seen(shown(n + "swarm_quads", ImageSwarm3D, t, 1, 0, swarmIndex, 0, 0, 0, -8000, 0,
                                      0, 0, 10000, 255, GL_ONE, GL_ZERO, scale, 0, g, 0)),
                  quarters_upright());
        EXPECT_EQ(quarters_seen(shown(n + "swarm_sprites", ImageSwarm3D, t, 1, 0, swarmIndex, 1, 0, 0, -80000,
                                      0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, scale, 0, g, 0)),
                  quarters_upright());
        EXPECT_EQ(quarters_seen(shown(n + "grid", ImageGrid3D, t, grid, 0, 0, 255, 255, 255, 0, 0, -8000, 0,
                                      0, 0, 10000, 255, GL_ONE, GL_ZERO, 150000, g, 0)),
                  quarters_upright());
        EXPECT_EQ(quarters_seen(shown(n + "dual_grid", DualImageGrid3D, t, t, grid, 0, 0, 255, 255, 255, 0, 0,
                                      -8000, 0, 0, 0, 10000, 255, GL_ONE, GL_ZERO, 150000, g, 0)),
                  quarters_upright());
        EXPECT_EQ(quarters_seen(shown(n + "movie_jitter", MovieJitter, t, 1, 0, 0, 0, -8000, 0, 0, 0, 10000,
                                      255, scale, g, 0)),
                  quarters_upright());
    }
    PBuffer::Destroy();
}

TEST_F(PictorPictures, Pictor3DAlphaLeavesTheColourChannelsUntouched)
{
    auto texture = solid_texture(4, 0x40FF0000);
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
