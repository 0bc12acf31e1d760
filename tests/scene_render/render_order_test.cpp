// The draw order: opaque meshes in visit order, then transparent ones back to front, checked against the
// plain bubble sort that defines it.
#include "scene/flat_rect3d.h"
#include "scene/render_order.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace
{

// Opaque meshes fill the order from the front, transparent ones from the back; the transparent part is
// then bubble-sorted, swapping only when the later z is strictly smaller.
std::vector<int> bubbleOrder(const std::vector<Poly3D*>& nodes, int& opaque)
{
    const int count = int(nodes.size());
    std::vector<int> order(nodes.size());
    int front = 0, back = count;
    for (int i = 0; i < count; ++i)
        order[size_t(nodes[size_t(i)]->IsTransparant() ? --back : front++)] = i;
    opaque = front;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int k = opaque; k + 1 < count; ++k) {
            if (nodes[size_t(order[size_t(k + 1)])]->position[2] <
                nodes[size_t(order[size_t(k)])]->position[2]) {
                std::swap(order[size_t(k)], order[size_t(k + 1)]);
                swapped = true;
            }
        }
    }
    return order;
}

struct Meshes {
    std::vector<std::unique_ptr<FlatRect3D>> owned;
    std::vector<Poly3D*> nodes;

    void add(float z, bool transparent)
    {
        owned.push_back(std::make_unique<FlatRect3D>(1, 1, 0xffffffff));
        owned.back()->position[2] = z;
        if (transparent)
            owned.back()->SetBlendDst(GL_ONE);
        nodes.push_back(owned.back().get());
    }
    std::vector<int> order(RenderOrder& builder, int& opaque)
    {
        opaque = builder.Build(nodes.data(), int(nodes.size()));
        return std::vector<int>(builder.indices(), builder.indices() + nodes.size());
    }
};

} // namespace

TEST(RenderOrder, TransparentMeshesGoBackToFrontAfterTheOpaqueOnes)
{
    Meshes meshes;
    meshes.add(5, true);  // 0
    meshes.add(0, false); // 1
    meshes.add(1, true);  // 2
    meshes.add(9, false); // 3
    meshes.add(3, true);  // 4
    RenderOrder builder;
    int opaque = 0;
    EXPECT_EQ(meshes.order(builder, opaque), (std::vector<int>{1, 3, 2, 4, 0}));
    EXPECT_EQ(opaque, 2);
}

TEST(RenderOrder, EqualDepthsAreDrawnInReverseVisitOrder)
{
    Meshes meshes;
    meshes.add(2, true);
    meshes.add(2, true);
    meshes.add(2, true);
    RenderOrder builder;
    int opaque = 0;
    EXPECT_EQ(meshes.order(builder, opaque), (std::vector<int>{2, 1, 0}));
}

TEST(RenderOrder, MatchesTheBubbleSortOnRandomDepthsWithTiesAndNaN)
{
    std::mt19937 random(2024);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    RenderOrder builder; // reused: a shorter list after a longer one must not see stale entries
    for (int round = 0; round < 200; ++round) {
        Meshes meshes;
        const int count = int(random() % 300);
        const bool withNaN = round % 4 == 3;
        for (int i = 0; i < count; ++i) {
            const float z = withNaN && random() % 10 == 0 ? nan : float(int(random() % 12) - 6) * 0.5f;
            meshes.add(z, random() % 3 != 0);
        }
        int expectedOpaque = 0, opaque = 0;
        const std::vector<int> expected = bubbleOrder(meshes.nodes, expectedOpaque);
        ASSERT_EQ(meshes.order(builder, opaque), expected) << "round " << round << ", " << count << " meshes";
        ASSERT_EQ(opaque, expectedOpaque);
    }
}

TEST(RenderOrder, AnEmptyListOrdersNothing)
{
    RenderOrder builder;
    EXPECT_EQ(builder.Build(nullptr, 0), 0);
}
