// What the player sets up on the display: the gamma ramp and the aspect-ratio viewport.
#include <gtest/gtest.h>

#include <glstate.h>
#include <startup.h>

namespace
{

TEST(GammaRamp, OneIsTheLinearRampOverTwoHundredFiftySix)
{
    uint16_t ramp[256];
    compute_gamma_ramp(1.0, ramp);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(ramp[i], uint16_t(i * 65535 / 256)) << i;
    EXPECT_EQ(ramp[255], 65279);
}

TEST(GammaRamp, OtherGammasBendTheRampAndStayInRange)
{
    uint16_t ramp[256];
    compute_gamma_ramp(2.0, ramp);
    EXPECT_EQ(ramp[0], 0);
    EXPECT_EQ(ramp[64], 32767); // trunc(sqrt(0.25) * 65535)
    EXPECT_GT(ramp[10], 10 * 65535 / 256);
    for (double odd : {0.0, -1.0, 1e-9}) {
        compute_gamma_ramp(odd, ramp);
        for (int i = 0; i < 256; ++i)
            EXPECT_LE(ramp[i], 65535) << odd;
    }
}

TEST(AspectViewport, WiderScreenGetsBarsLeftAndRight)
{
    GLViewportEntry v{};
    ASSERT_TRUE(aspect_viewport(1280, 720, 16.0f / 9.0f, 4.0f / 3.0f, &v));
    EXPECT_EQ(v.w, 960); // trunc(1280 * 1.3333 / 1.7778)
    EXPECT_EQ(v.x, 160);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.h, 720);
}

TEST(AspectViewport, NarrowerScreenGetsBarsAboveAndBelow)
{
    GLViewportEntry v{};
    ASSERT_TRUE(aspect_viewport(1280, 1024, 1.25f, 16.0f / 9.0f, &v));
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.w, 1280);
    EXPECT_EQ(v.h, 720); // trunc(1024 * 1.25 / 1.7778)
    EXPECT_EQ(v.y, 152);
}

TEST(AspectViewport, NothingWithinOneHundredth)
{
    GLViewportEntry v{};
    EXPECT_FALSE(aspect_viewport(800, 600, 4.0f / 3.0f, 4.0f / 3.0f, &v));
    EXPECT_FALSE(aspect_viewport(1280, 1024, 1.25f, 1.255f, &v));
    EXPECT_TRUE(aspect_viewport(1280, 1024, 1.25f, 1.2625f, &v));
}

} // namespace
