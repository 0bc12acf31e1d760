// Running out of memory for the pictures of a large swarm: ImageSwarm3D logs one line, fails the call
// (status -1) and hangs nothing, and the demo goes on.
#include "image_swarm_node.h"
#include "pictor_effects.h"
#include "pictor_host.h"
#include "short_of_memory.h"

#include "scene/texture.h"

#include <vortel/plugin_helper.h>
#include <vortel/records.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace
{

constexpr int32_t kPoints = 1000000; // 48 MB of quad corners
constexpr size_t kShortage = 1 << 20;

TEST(OutOfMemory, ImageSwarmFailsTheCallWhenThePicturesDoNotFit)
{
    PictorHost host;
    ASSERT_TRUE(host.ok());
    std::unique_ptr<Texture> logo = solid_texture(16, 0xFF00FF00);
    const int32_t texture = host.serve(kTypeTexture, "logo.png", logo.get());
    std::vector<float> positions(size_t(kPoints) * 3, 0.0f);
    SwarmRecord swarm{};
    swarm.count = kPoints;
    swarm.positions = positions.data();
    const int32_t points = host.serve(kTypeSwarm, "points", &swarm);
    const auto call = [&](EffectCall& event, int32_t phase, int32_t count) {
        return event.call(phase, ImageSwarm3D, texture, count, 0, points, 0, 0, 0, 0, 0, 0, 0, 10000, 255,
                          GL_SRC_ALPHA, GL_ONE, 100000, 0, host.groupIndex, 0);
    };

    EffectCall first, later;
    short_of_memory(kShortage, [&] { EXPECT_TRUE(call(first, vortel::kFirstCall, kPoints)); });
    EXPECT_EQ(first.state.status, -1);
    EXPECT_TRUE(call(first, vortel::kRunningCall, kPoints));
    EXPECT_EQ(host.group.GetChildCount(), 0);

    call(later, vortel::kFirstCall, 10);
    short_of_memory(kShortage, [&] { EXPECT_TRUE(call(later, vortel::kRunningCall, kPoints)); });
    EXPECT_EQ(later.state.status, -1);
    EXPECT_EQ(host.group.GetChildCount(), 0);

    const std::vector<std::string> expected(
        2, "ImageSwarm3D: not enough memory for the pictures of 1000000 points");
    EXPECT_EQ(host.log, expected);
    call(first, vortel::kLastCall, kPoints);
    call(later, vortel::kLastCall, kPoints);
    EXPECT_EQ(host.counted(kTypeSwarm, "points").releases, 2);
}

} // namespace
