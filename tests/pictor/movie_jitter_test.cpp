// MovieJitter's draws, checked against values worked out by hand from the seed, and the three copies the
// effect hangs.
#include "image3d.h"
#include "movie_jitter.h"
#include "pictor_effects.h"
#include "pictor_host.h"

#include "scene/texture.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{

void expect_draw(const JitterDraw& d, int jx, int jy, int dx, int dy, int alpha)
{
    EXPECT_EQ(d.jitterX, jx);
    EXPECT_EQ(d.jitterY, jy);
    EXPECT_EQ(d.spreadX, dx);
    EXPECT_EQ(d.spreadY, dy);
    EXPECT_EQ(d.alpha, alpha);
}

TEST(MovieJitterDraws, WithoutAmountTheCopiesCoincideAtAThirdOfTheLevel)
{
    // Seed 1: e = 950706376, f = 1855626304, g = 1290932737, l = 352891081, m = 985775368 (even), so
    // alpha = (256 * 255 - 0) / 768 = 85.
    expect_draw(movie_jitter_draw(1, 0, 255), 0, 0, 0, 0, 85);
    expect_draw(movie_jitter_draw(1, 0, 3), 0, 0, 0, 0, 1);
    expect_draw(movie_jitter_draw(1, 0, 0), 0, 0, 0, 0, 0);
}

TEST(MovieJitterDraws, SeedsWorkedOutByHand)
{
    // Seed 1, amount 10: b = 3 * (e mod 10) = 18, too small to jitter; h = g mod 6 = 1; bit 16 of l clear,
    // so the spread is along y; alpha = (65280 + 20 - m mod 82) / 768 = 84.
    expect_draw(movie_jitter_draw(1, 10, 255), 0, 0, 0, 1, 84);
    // Seed 7: 7 * K wraps to the negative e = -1934989960; as unsigned mod 400 that is 136, b = 408.
    // g mod 201 = 98, bit 16 of l set: spread along x.
    expect_draw(movie_jitter_draw(7, 400, 200), 0, 0, 98, 0, 63);
    // Seed 12345: b = 744, b^3 / 10^6 / 150 = 2.75, bit 12 of f clear: jitter -2 along x.
    expect_draw(movie_jitter_draw(12345, 400, 128), -2, 0, 0, 36, 42);
    // A negative seed: the remainder keeps the dividend's sign.
    expect_draw(movie_jitter_draw(-3, 400, 255), 0, 0, 39, 0, 85);
}

TEST(MovieJitterDraws, TheSameSeedGivesTheSameDraw)
{
    for (int32_t seed : {0, 1, 99, -77, INT_MAX, INT_MIN}) {
        const JitterDraw a = movie_jitter_draw(seed, 600, 255);
        const JitterDraw b = movie_jitter_draw(seed, 600, 255);
        EXPECT_EQ(a.jitterX, b.jitterX);
        EXPECT_EQ(a.spreadY, b.spreadY);
        EXPECT_EQ(a.alpha, b.alpha);
    }
}

TEST(MovieJitterDraws, NegativeAmountsCountAsNoneAndExtremesStayInRange)
{
    for (int32_t amount : {-1, -2, -3, -1000, INT_MIN}) {
        const JitterDraw d = movie_jitter_draw(1, amount, 255);
        expect_draw(d, 0, 0, 0, 0, 85);
    }
    for (int32_t level : {INT_MIN, -1, 1000, INT_MAX}) {
        const JitterDraw d = movie_jitter_draw(5, INT_MAX, level);
        EXPECT_GE(d.alpha, 0);
        EXPECT_LE(d.alpha, 255);
    }
}

TEST(MovieJitterEffect, ThreeAdditiveCopiesSpreadAroundTheJitteredMiddle)
{
    PictorHost host;
    ASSERT_TRUE(host.ok());
    auto texture = solid_texture(8, 0xFFFFFFFF);
    const int32_t tex = host.serve(kTypeTexture, "frame.png", texture.get());
    EffectCall event;
    const auto call = [&](int32_t phase, int32_t seed, int32_t amount) {
        return event.call(phase, MovieJitter, tex, seed, amount, 1000, 2000, -3000, 0, 0, 0, 10000, 128,
                          100000, host.groupIndex, 0);
    };
    call(0, 12345, 400);
    EXPECT_EQ(host.acquisitions.back(), "MovieJitter image frame.png");
    call(1, 12345, 400);
    ASSERT_EQ(host.group.GetChildCount(), 3);
    EXPECT_EQ(host.acquisitions.back(), "Pictor3D 3D group scene");
    Image3D* p = dynamic_cast<Image3D*>(host.group.GetChild(0));
    Image3D* q = dynamic_cast<Image3D*>(host.group.GetChild(1));
    Image3D* r = dynamic_cast<Image3D*>(host.group.GetChild(2));
    ASSERT_TRUE(p && q && r);
    // Jitter -2 along x, spread 36 along y (see the hand-worked draw above).
    EXPECT_FLOAT_EQ(p->position[0], -1);
    EXPECT_FLOAT_EQ(p->position[1], 2);
    EXPECT_FLOAT_EQ(q->position[1], 38);
    EXPECT_FLOAT_EQ(r->position[1], -34);
    EXPECT_FLOAT_EQ(r->position[0], -1);
    EXPECT_FLOAT_EQ(q->position[2], -3);
    for (Image3D* copy : {p, q, r}) {
        EXPECT_EQ(copy->GetBlendSrc(), 0x0302u); // GL_SRC_ALPHA
        EXPECT_EQ(copy->GetBlendDst(), 1u);      // GL_ONE
        EXPECT_EQ(copy->opacity, 42);
    }
    host.group.RemoveAllChildren();
    EXPECT_TRUE(call(1, 1, -5)); // no division by zero; all three on top of each other
    ASSERT_EQ(host.group.GetChildCount(), 3);
    EXPECT_FLOAT_EQ(host.group.GetChild(1)->position[1], host.group.GetChild(2)->position[1]);
    call(-1, 1, -5);
    EXPECT_EQ(host.counted(kTypeTexture, "frame.png").releases, 1);
}

TEST(MovieJitterEffect, ANonStaticTextureKeepsTheCopiesAndTheyFollowIt)
{
    PictorHost host;
    ASSERT_TRUE(host.ok());
    auto small = solid_texture(8, 0xFFFFFFFF), large = solid_texture(16, 0xFF0000FF);
    const int32_t tex = host.serve(kTypeTexture, "Render1", small.get(), false);
    EffectCall event;
    const auto call = [&](int32_t phase) {
        host.group.RemoveAllChildren();
        return event.call(phase, MovieJitter, tex, 7, 400, 0, 0, 0, 0, 0, 0, 10000, 128, 100000,
                          host.groupIndex, 0);
    };
    call(0);
    call(1);
    ASSERT_EQ(host.group.GetChildCount(), 3);
    Node3D* copies[3] = {host.group.GetChild(0), host.group.GetChild(1), host.group.GetChild(2)};
    host.served[{kTypeTexture, "Render1"}].record = large.get();
    call(1);
    EXPECT_EQ(event.state.status, 2);
    ASSERT_EQ(host.group.GetChildCount(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* copy = dynamic_cast<Image3D*>(host.group.GetChild(i));
        ASSERT_EQ(copy, copies[i]) << i;
        EXPECT_EQ(copy->GetTextureId(), large->id);
        EXPECT_EQ(copy->height, 16);
    }
    // The texture gone: nothing is drawn from then on, and the event still gives back its reference.
    host.served[{kTypeTexture, "Render1"}].record = nullptr;
    EXPECT_TRUE(call(1));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    host.served[{kTypeTexture, "Render1"}].record = small.get();
    EXPECT_TRUE(call(1));
    EXPECT_EQ(host.group.GetChildCount(), 0);
    call(-1);
    const auto counts = host.counted(kTypeTexture, "Render1");
    EXPECT_EQ(counts.acquires, counts.releases);
}

} // namespace
