// The post-processing effects of the real Scaffold.so on real GL: the blur's pass count, the pictures the
// four effects make of a small scene (a white square, sometimes a grey one, on black), the glare compared
// with its steps written out, and the GL state the effects leave behind, compared with the window's cache.
#include "../models/scaffold_host.h"

#include "effects/post_blur.h"
#include "effects/post_effects.h"
#include "effects/scaffold_state.h"
#include "effects/scene_effects.h"
#include "effects/screen_quad.h"
#include "gl_cache_check.h"
#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/flat_rect3d.h"
#include "scene/mesh3d.h"
#include "scene/pbuffer.h"
#include "scene/root_node3d.h"

#include <GL/glew.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

using ::testing::IsEmpty;

namespace
{

constexpr int kW = ScaffoldHost::kWidth, kH = ScaffoldHost::kHeight;
constexpr int kColumn = kW / 2 - 35; // through the square, beside the triangle

class PostEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = ScaffoldHost::get();
        ASSERT_NE(host, nullptr) << "no GL window (is an X server running?)";
        square.position[2] = -20.0f;
        grey.position[0] = 4.0f;
        grey.position[2] = -20.0f;
        // A culled mesh facing the camera below the square: it must show in renders into the buffers too.
        const float a[3] = {-1.5f, -2.9f, 0}, b[3] = {1.5f, -2.9f, 0}, c[3] = {0, -2.2f, 0};
        facing.AddTriangle(a, nullptr, nullptr, b, nullptr, nullptr, c, nullptr, nullptr);
        facing.position[2] = -20.0f;
        build_scene(false);
    }
    void TearDown() override { gScaffold.sceneRoot->RemoveAllChildren(); }

    void build_scene(bool withGrey)
    {
        gScaffold.sceneRoot->RemoveAllChildren();
        gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
        gScaffold.sceneRoot->AddChild(&square);
        gScaffold.sceneRoot->AddChild(&facing);
        if (withGrey)
            gScaffold.sceneRoot->AddChild(&grey);
    }

    // Runs one running call of `effect`, checks the GL state against the window's cache and returns what
    // the window shows.
    Picture run(const std::function<bool(StateStruct*, void**)>& effect, const char* png)
    {
        HostEvent event;
        EXPECT_TRUE(effect(event.at(1), &event.data));
        EXPECT_EQ(event.state.status, 1);
        EXPECT_THAT(gl_cache_differences(*host->cache()), IsEmpty()) << png;
        Picture picture = read_framebuffer(kW, kH);
        picture.save_png(png);
        return picture;
    }

    Picture plain()
    {
        return run([](StateStruct* s, void** d) { return Show3D(s, d, 0, kW, kH, 1, 0, 0, 0); }, "plain.png");
    }
    Picture blurred(int32_t rx, int32_t ry, int32_t step, const std::string& png)
    {
        return run([=](StateStruct* s, void** d) { return PostBlurPrecise(s, d, rx, ry, step); },
                   png.c_str());
    }

    ScaffoldHost* host = nullptr;
    FlatRect3D square{4, 4, 0xFFFFFFFF};
    FlatRect3D grey{2, 2, 0xFF646464};
    Mesh3D facing{false};
};

int red_at(const Picture& p, int x, int y)
{
    return p.red(x, y);
}

// Where the red channel along a row (or column) first and last reaches half of its peak, in pixels with
// linear interpolation, and how wide the rising ramp (10% .. 90%) is.
struct Profile {
    float left = 0, right = 0, ramp = 0;
};

Profile profile(const Picture& p, bool row, int at)
{
    const int n = row ? p.width : p.height;
    std::vector<float> v(static_cast<size_t>(n));
    float peak = 0;
    for (int i = 0; i < n; ++i) {
        v[size_t(i)] = float(row ? red_at(p, i, at) : red_at(p, at, i));
        peak = std::max(peak, v[size_t(i)]);
    }
    auto first = [&](float level) {
        for (int i = 1; i < n; ++i)
            if (v[size_t(i)] >= level)
                return float(i - 1) +
                       (level - v[size_t(i - 1)]) / std::max(1.0f, v[size_t(i)] - v[size_t(i - 1)]);
        return float(n);
    };
    auto last = [&](float level) {
        for (int i = n - 2; i >= 0; --i)
            if (v[size_t(i)] >= level)
                return float(i + 1) -
                       (level - v[size_t(i + 1)]) / std::max(1.0f, v[size_t(i)] - v[size_t(i + 1)]);
        return 0.0f;
    };
    Profile out;
    out.left = first(peak * 0.5f);
    out.right = last(peak * 0.5f);
    out.ramp = first(peak * 0.9f) - first(peak * 0.1f);
    return out;
}

int bright_pixels(const Picture& p, int level)
{
    int count = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            count += p.red(x, y) >= level;
    return count;
}

} // namespace

TEST(BlurPassCount, FollowsTheFibonacciNumbersAndStopsAtTheTablesEnd)
{
    EXPECT_EQ(blur_pass_count(1, 1), 2);
    EXPECT_EQ(blur_pass_count(2, 1), 2);
    EXPECT_EQ(blur_pass_count(3, 1), 3);
    EXPECT_EQ(blur_pass_count(4, 1), 4);
    EXPECT_EQ(blur_pass_count(100, 1), 11); // 144 taps, ten blending passes
    EXPECT_EQ(blur_pass_count(100, 50), 2);
    EXPECT_EQ(blur_pass_count(100, 0), 11); // a step below 1 counts as 1
    EXPECT_EQ(blur_pass_count(6765, 1), 19);
    EXPECT_EQ(blur_pass_count(2000000000, 1), 19);
    EXPECT_EQ(blur_pass_count(5, 100), 2);
}

TEST_F(PostEffects, PreciseBlurBelowRadiusTwoShowsTheSceneUnblurred)
{
    const Picture reference = plain();
    ASSERT_GT(bright_pixels(reference, 250), 100) << "the square is not in view";
    ASSERT_GT(reference.red(kW / 2, kH / 2 + 48), 250) << "the culled triangle is not in view";
    const Picture picture = blurred(1, 0, 1, "blur_none.png");
    int differing = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            differing += std::abs(int(picture.red(x, y)) - int(reference.red(x, y))) > 2;
    EXPECT_EQ(differing, 0);
}

TEST_F(PostEffects, PreciseBlurFallsOffSmoothlyWiderWithTheRadiusAndStaysCentred)
{
    const Picture reference = plain();
    const Profile sharp = profile(reference, true, kH / 2);
    float lastRamp = sharp.ramp;
    for (int radius : {6, 20}) {
        const Picture picture = blurred(radius, 1, 1, "blur_x" + std::to_string(radius) + ".png");
        const Profile soft = profile(picture, true, kH / 2);
        EXPECT_GT(soft.ramp, lastRamp + 2.0f) << radius;
        lastRamp = soft.ramp;
        // Centred on the square: both half-level edges stay where the sharp ones were.
        EXPECT_NEAR(soft.left, sharp.left, 1.5f) << radius;
        EXPECT_NEAR(soft.right, sharp.right, 1.5f) << radius;
        // Smooth: no step of more than a third of the range between neighbours along the row.
        for (int x = 1; x < kW; ++x)
            EXPECT_LE(std::abs(int(picture.red(x, kH / 2)) - int(picture.red(x - 1, kH / 2))), 85) << x;
        // A horizontal blur leaves the columns sharp.
        EXPECT_LT(profile(picture, false, kColumn).ramp, 2.5f);
    }
    const Picture vertical = blurred(1, 16, 1, "blur_y16.png");
    const Profile sharpColumn = profile(reference, false, kColumn),
                  softColumn = profile(vertical, false, kColumn);
    EXPECT_GT(softColumn.ramp, sharpColumn.ramp + 4.0f);
    EXPECT_NEAR(softColumn.left, sharpColumn.left, 1.5f);
    EXPECT_NEAR(softColumn.right, sharpColumn.right, 1.5f);
}

TEST_F(PostEffects, ExtremeParametersAreTamed)
{
    for (auto [rx, ry, step] : {std::tuple{100000, 100000, 0}, {-5, -5, -5}, {7000, 3, 1000000}}) {
        const Picture picture = blurred(rx, ry, step, "blur_extreme.png");
        EXPECT_EQ(picture.width, kW);
    }
    run([](StateStruct* s, void** d) { return PostBlurUgly(s, d, 0, -3); }, "ugly_zero.png");
    run([](StateStruct* s, void** d) { return PostGlare(s, d, 999, 0, -4); }, "glare_odd.png");
}

TEST_F(PostEffects, UglyBlurFillsTheWholeWindow)
{
    const Picture reference = plain();
    const Picture picture =
        run([](StateStruct* s, void** d) { return PostBlurUgly(s, d, 4, 4); }, "ugly.png");
    const Profile sharpRow = profile(reference, true, kH / 2), softRow = profile(picture, true, kH / 2);
    const Profile sharpCol = profile(reference, false, kColumn), softCol = profile(picture, false, kColumn);
    // The square is where the plain render has it (a quarter-size picture stretched over the whole window),
    // not squeezed into a corner.
    EXPECT_NEAR((softRow.left + softRow.right) / 2, (sharpRow.left + sharpRow.right) / 2, 3.0f);
    EXPECT_NEAR(softRow.right - softRow.left, sharpRow.right - sharpRow.left, 5.0f);
    EXPECT_NEAR((softCol.left + softCol.right) / 2, (sharpCol.left + sharpCol.right) / 2, 3.0f);
    EXPECT_GT(picture.red(kW / 2, kH / 2), 230);
    EXPECT_LT(picture.red(2, 2), 10);
}

TEST_F(PostEffects, GlareAddsLightOnlyAroundPixelsAboveTheThreshold)
{
    build_scene(true);
    const Picture reference = plain();
    const Picture picture =
        run([](StateStruct* s, void** d) { return PostGlare(s, d, 192, 6, 0); }, "glare.png");
    const Profile white = profile(reference, true, kH / 2);
    // Light spills a few pixels out of the white square...
    const int outside = int(white.left) - 2;
    EXPECT_EQ(reference.red(outside, kH / 2), 0);
    EXPECT_GT(picture.red(outside, kH / 2), 4);
    // ...but not around the grey one, which stays as it was.
    int greyChanged = 0, greyPixels = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = int(white.right) + 8; x < kW; ++x) {
            greyPixels += reference.red(x, y) > 50;
            greyChanged += std::abs(int(picture.red(x, y)) - int(reference.red(x, y))) > 2;
        }
    EXPECT_GT(greyPixels, 20) << "the grey square is not in view";
    EXPECT_EQ(greyChanged, 0);
}

// The glare as its steps are written out, with the scene rendered twice: the reference PostGlare must match.
Picture reference_glare(int32_t threshold, int32_t radius, int32_t passes)
{
    gPBuffer->RenderToTexture(0, kW, kH);
    render_post_scene(true);
    push_blend(GL_ONE, GL_ONE);
    gls_push(BlendEquation, GL_FUNC_REVERSE_SUBTRACT);
    push_screen_projection(0.0);
    gls_push_texture_enable(false);
    const int32_t t = threshold * 255 / 256;
    gls_push(Color, clamped_color(t, t, t, t));
    draw_screen_quad(nullptr, false);
    gls_pop(Color);
    gls_pop_texture_enable();
    gls_pop_projection();
    gls_pop(BlendEquation);
    pop_blend();
    push_blend(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    int32_t additive[2] = {passes / 2, passes - passes / 2};
    int32_t current = 1;
    const float offX = blur_pass(current, radius, 1, true, kW, kH, additive[0]);
    const float offY = blur_pass(current, radius, 1, false, kW, kH, additive[1]);
    pop_blend();
    gPBuffer->RenderScreen();
    render_post_scene(false);
    push_blend(GL_ONE, GL_ONE);
    show_buffer(1 - current, offX, offY, 1.0);
    pop_blend();
    return read_framebuffer(kW, kH);
}

// The largest difference of any channel of any pixel.
int largest_difference(const Picture& a, const Picture& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.rgba.size(); ++i)
        largest = std::max(largest, std::abs(int(a.rgba[i]) - int(b.rgba[i])));
    return largest;
}

// How far (in pixels, interpolated) the halo of a white area reaches out of it along row y before it falls
// below `level`, starting at the area's edge pixel `edge` and going in direction `dir` (+1 or -1).
float halo_reach(const Picture& p, int y, int edge, int dir, int level)
{
    int previous = p.red(edge, y);
    for (int k = 1; edge + dir * k >= 0 && edge + dir * k < p.width; ++k) {
        const int value = p.red(edge + dir * k, y);
        if (value < level)
            return float(k - 1) + float(previous - level) / float(std::max(1, previous - value));
        previous = value;
    }
    return float(p.width);
}

// Sparks of a pixel or two and wide areas, bright and grey, with one or more adding passes: the picture is
// the glare of the steps above at every pixel (the threshold is taken before blurring, so a lone bright
// pixel keeps its glare).
TEST_F(PostEffects, GlareMatchesItsStepsWithinSixLevelsAtEveryPixel)
{
    // Far away, so that they cover a pixel or two.
    FlatRect3D sparks[3] = {{2, 2, 0xFFFFFFFF}, {4, 2, 0xFFFFC040}, {2, 4, 0xFF40C0FF}};
    const float places[3][2] = {{-64.0f, 42.0f}, {-55.0f, -48.0f}, {68.0f, 46.0f}};
    for (bool sparksAlone : {false, true}) {
        if (sparksAlone) {
            gScaffold.sceneRoot->RemoveAllChildren();
            gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
        } else {
            build_scene(true);
        }
        for (int k = 0; k < 3; ++k) {
            sparks[k].position[0] = places[k][0];
            sparks[k].position[1] = places[k][1];
            sparks[k].position[2] = -400.0f;
            gScaffold.sceneRoot->AddChild(&sparks[k]);
        }
        for (const auto& [radius, passes, threshold] :
             {std::tuple{6, 1, 128}, std::tuple{16, 2, 128}, std::tuple{20, 8, 248}, std::tuple{48, 1, 0}}) {
            const std::string name = std::string("glare_") + (sparksAlone ? "sparks_" : "") +
                                     std::to_string(radius) + "_" + std::to_string(passes);
            SCOPED_TRACE(name);
            const Picture picture =
                run([radius = radius, passes = passes, threshold = threshold](
                        StateStruct* s, void** d) { return PostGlare(s, d, threshold, radius, passes); },
                    (name + ".png").c_str());
            const Picture reference = reference_glare(threshold, radius, passes);
            reference.save_png(name + "_reference.png");
            EXPECT_LE(largest_difference(picture, reference), 6);
        }
    }
}

// A white rectangle, threshold 128, radius 16, two adding passes: the halo is the reference's, and it
// reaches as far out on the left as on the right (the glare is drawn up to a pixel to the left).
TEST_F(PostEffects, GlareAroundAWhiteRectangleIsTheSameOnBothSides)
{
    FlatRect3D rect{3, 2, 0xFFFFFFFF};
    rect.position[2] = -20.0f;
    gScaffold.sceneRoot->RemoveAllChildren();
    gScaffold.sceneRoot->AddChild(gScaffold.sceneCamera);
    gScaffold.sceneRoot->AddChild(&rect);
    const Picture scene = plain();
    const Profile sharp = profile(scene, true, kH / 2);
    const int left = int(std::ceil(sharp.left)), right = int(sharp.right);
    ASSERT_GT(left, 30);
    ASSERT_LT(right, kW - 30);
    const Picture picture =
        run([](StateStruct* s, void** d) { return PostGlare(s, d, 128, 16, 2); }, "glare_rectangle.png");
    EXPECT_LE(largest_difference(picture, reference_glare(128, 16, 2)), 6);
    for (int y : {kH / 2 - 10, kH / 2, kH / 2 + 10}) {
        ASSERT_EQ(picture.red(left, y), 255) << y;
        ASSERT_EQ(picture.red(right, y), 255) << y;
        for (int level : {16, 64, 128}) {
            EXPECT_GT(halo_reach(picture, y, left, -1, level), 1.0f) << y << " " << level;
            EXPECT_NEAR(halo_reach(picture, y, left, -1, level), halo_reach(picture, y, right, 1, level),
                        1.0f)
                << y << " " << level;
        }
    }
}

TEST_F(PostEffects, SoftwareGlareShowsItsRedBuffer)
{
    const Picture picture = run([](StateStruct* s, void** d) { return PostGlareSW(s, d); }, "glare_sw.png");
    EXPECT_EQ(picture.at(kW / 2, kH / 2) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(PostEffects, FirstAndLastCallsDrawNothing)
{
    for (int32_t phase : {0, -1}) {
        HostEvent event;
        EXPECT_TRUE(PostBlurPrecise(event.at(phase), &event.data, 10, 10, 1));
        EXPECT_TRUE(PostGlare(event.at(phase), &event.data, 10, 10, 1));
        EXPECT_EQ(event.state.status, 1);
    }
    EXPECT_THAT(gl_cache_differences(*host->cache()), IsEmpty());
}
