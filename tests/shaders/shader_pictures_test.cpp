// What the shaders draw, read back from frames the real player captured under the machine's GL.
#include <gtest/gtest.h>

#include "player_runner.h"
#include "scaffold_demo.h"
#include "shader_demo.h"

#include <filesystem>

namespace
{

constexpr int32_t kSrcAlpha = 0x0302, kOneMinusSrcAlpha = 0x0303;

const char* const kGradientMainImage = R"(// the gradient of fragCoord
void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    fragColor = vec4(fragCoord / iResolution.xy, 0.0, 1.0);
}
)";
const char* const kGradientOwnMain = R"(#version 410 core
uniform vec2 v2Resolution;
uniform float fGlobalTime;
layout(location = 0) out vec4 out_color;
void main()
{
    out_color = vec4(gl_FragCoord.xy / v2Resolution, fGlobalTime * 0.0, 1.0);
}
)";

// Red grows to the right, green upwards, over a 320 x 240 viewport `left` pixels from the window's edge.
void expect_gradient(const Picture& picture, const std::string& what, int left = 0)
{
    for (auto [x, y] : {std::pair{0, 0}, {319, 0}, {0, 239}, {319, 239}, {80, 180}, {240, 60}}) {
        const uint32_t red = uint32_t((x + 0.5) / 320.0 * 255.0 + 0.5);
        const uint32_t green = uint32_t((239 - y + 0.5) / 240.0 * 255.0 + 0.5);
        EXPECT_TRUE(near(picture.at(left + x, y), 0xFF000000u | (red << 16) | (green << 8)))
            << what << " at (" << x << ", " << y << "): " << std::hex << picture.at(left + x, y);
    }
}

} // namespace

TEST(ShaderQuad, BothSourceFormsDrawTheGradientOfTheirCoordinatesFromTheBottomLeft)
{
    const std::string demo = shader_demo(
        200,
        {track({shader_quad(0, 100, 1, 0, 0, {0, 0, 0, 0}), shader_quad(100, 200, 2, 0, 0, {0, 0, 0, 0})})},
        {"main_image.frag", "own_main.frag"});
    const std::string folder = demo_folder(
        "forms", demo, {{"main_image.frag", kGradientMainImage}, {"own_main.frag", kGradientOwnMain}});
    std::string log;
    std::vector<Picture> frames = capture_in(folder, {}, &log);
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(log, "");
    frames[1].save_png("main_image_gradient.png");
    expect_gradient(frames[1], "mainImage form");
    expect_gradient(frames[3], "own main");

    // A wider window: the 4:3 demo is shown between bars and fragCoord counts from the viewport's corner.
    frames = capture_in(folder, {"--size", "400x240"});
    ASSERT_GE(frames.size(), 2u);
    expect_gradient(frames[1], "mainImage form between bars", 40);
}

TEST(ShaderQuad, ParamsOpacityAndBlendingReachThePicture)
{
    const char* const params = "void mainImage(out vec4 c, in vec2 p) { c = vec4(iParams.xyz, 1.0); }\n";
    const char* const red = "void mainImage(out vec4 c, in vec2 p) { c = vec4(1.0, 0.0, 0.0, 1.0); }\n";
    const std::string demo =
        shader_demo(200,
                    {track({shader_quad(0, 100, 1, 0, 0, {250, 500, 1000, 0}),
                            shader_quad(100, 200, 2, 0, 0, {0, 0, 0, 0}, 128, kSrcAlpha, kOneMinusSrcAlpha)}),
                     track({event("FillGL", 0, 200, {0, 0, 255}, "Paint.so")})},
                    {"params.frag", "red.frag"});
    std::vector<Picture> frames =
        capture_in(demo_folder("params", demo, {{"params.frag", params}, {"red.frag", red}}));
    ASSERT_GE(frames.size(), 4u);
    EXPECT_TRUE(near(frames[1].at(100, 100), 0xFF4080FF)) << std::hex << frames[1].at(100, 100);
    EXPECT_TRUE(near(frames[3].at(100, 100), 0xFF80007F))
        << "red at opacity 128 over blue: " << std::hex << frames[3].at(100, 100);
}

TEST(ShaderQuad, TimesComeFromTheDemoClockSoARangeCapturedAloneEqualsTheSameRangeOfTheWhole)
{
    const char* const clock = R"(void mainImage(out vec4 c, in vec2 p)
{
    c = vec4(iTime / 2.0, iDemoTime / 4.0, p.x / iResolution.x, 1.0);
}
)";
    const std::string demo =
        shader_demo(3000, {track({shader_quad(1000, 3000, 1, 0, 0, {0, 0, 0, 0})})}, {"clock.frag"});
    std::vector<Picture> whole =
        capture_in(demo_folder("clock_whole", demo, {{"clock.frag", clock}}), {"--to", "2000"});
    ASSERT_EQ(whole.size(), 41u);
    EXPECT_TRUE(near(whole[30].at(0, 0), 0xFF406000, 1))
        << "1500 ms: iTime 0.5 s, iDemoTime 1.5 s, " << std::hex << whole[30].at(0, 0);
    EXPECT_TRUE(near(whole[40].at(0, 0), 0xFF808000, 1)) << std::hex << whole[40].at(0, 0);

    std::vector<Picture> range = capture_in(demo_folder("clock_range", demo, {{"clock.frag", clock}}),
                                            {"--from", "1500", "--to", "2000"});
    ASSERT_EQ(range.size(), 11u);
    for (size_t k = 0; k < range.size(); ++k)
        EXPECT_TRUE(range[k].rgba == whole[30 + k].rgba) << "frame " << k << " of the range";
}

TEST(ShaderQuad, PicturesAndOffScreenBuffersReachTheShaderUpright)
{
    const std::string picture = std::filesystem::absolute("shader_quarters.png").string();
    ASSERT_TRUE(Picture::from_argb(quarter_pixels(4), 4, 4).save_png(picture));
    const char* const show = R"(void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = fragCoord / iResolution.xy;
    fragColor = vec4(texture(iChannel0, uv).rgb + texture(iChannel1, uv).rgb, 1.0);
}
)";
    // 0-100 ms: the picture as iChannel0 (iChannel1 unbound: black); 100-200 ms: the gradient drawn into
    // Render1, shown by Background.
    const std::string demo = shader_demo(
        200,
        {track({shader_quad(0, 100, 1, 3, 0, {0, 0, 0, 0}),
                event("Background", 100, 200, {4, 255, 255, 255, 255, kGLOne, kGLZero, 0, 0, 0})}),
         track({shader_quad(100, 200, 2, 0, 0, {0, 0, 0, 0}, 255, 0, 0, 1)})},
        {"show.frag", "gradient.frag", picture, "Render1"});
    std::string log;
    std::vector<Picture> frames = capture_in(
        demo_folder("upright", demo, {{"show.frag", show}, {"gradient.frag", kGradientMainImage}}), {}, &log);
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(log, "");
    frames[1].save_png("channel_picture.png");
    frames[3].save_png("render1_gradient.png");
    EXPECT_EQ(quarters_seen(frames[1]), quarters_upright());
    expect_gradient(frames[3], "Render1 shown by Background");
}

TEST(ShaderPost, SeesTheSceneAndItsOwnPreviousFrame)
{
    // Red counts the frames through the feedback (1/16 more each frame); green is the scene's.
    const char* const trails = R"(void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = fragCoord / iResolution.xy;
    fragColor = vec4(texture(iChannel1, uv).r + 0.0625, texture(iChannel0, uv).g, 0.0, 1.0);
}
)";
    const std::string demo = shader_demo(
        300,
        {track({event("ShaderPost", 0, 300, {1, 0, 0, 0, 0}, "Shaders.so")}),
         track({event("SetCamera3D", 0, 300, {0, 0, -10000, 0, kUnit, 0, 0, 13333, 1, 1000})}),
         track({event("Cube3D", 0, 300,
                      {1, 255, 255, 255, 0, 0, 0, 0, 0, 0, kUnit, 255, kGLOne, kGLZero, kUnit, 2, 0})}),
         track({event("Clear3D", 0, 300, {})})},
        {"trails.frag", "theWorld"});
    std::string log;
    std::vector<Picture> frames = capture_in(demo_folder("post", demo, {{"trails.frag", trails}}), {}, &log);
    ASSERT_GE(frames.size(), 5u);
    EXPECT_EQ(log, "");
    frames[4].save_png("post_feedback.png");
    const int step = int(frames[3].red(5, 5)) - int(frames[1].red(5, 5));
    EXPECT_NEAR(step, 32, 2) << "two frames later";
    EXPECT_GT(frames[4].green(160, 120), 0x20) << "the cube in the middle (unlit: ambient only)";
    EXPECT_EQ(frames[4].green(5, 5), 0) << "nothing in the corner";
}
