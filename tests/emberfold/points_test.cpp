// Point generation: the block layout, pass shares, brightness batches, colours, and the mesh's storage
// without GL (no vertex buffer).
#include "flame_description.h"
#include "flame_map.h"
#include "flame_map_block.h"
#include "flame_mesh.h"
#include "flame_points.h"
#include "scene/math3d.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

using namespace emberfold;

namespace
{

std::unique_ptr<FlameDescription> default_flame()
{
    std::unique_ptr<FlameDescription> d(new FlameDescription);
    make_default_description(*d);
    return d;
}

struct Points {
    explicit Points(int n) : points(4 * n), brightness(n), batch(n) {}
    FlamePoints out() { return {points.data(), brightness.data(), batch.data()}; }
    std::vector<float> points, brightness;
    std::vector<uint8_t> batch;
};

FlameMeshSettings settings(int n, int batches)
{
    FlameMeshSettings s;
    s.pointCount = n;
    s.batchCount = batches;
    s.largestSize = 0.05f;
    s.smallestSize = 0.01f;
    return s;
}

} // namespace

TEST(FlameBlocks, FirstBlockThenPassesOf256)
{
    EXPECT_EQ(first_block_size(300), 300);
    EXPECT_EQ(pass_count(300), 0);
    EXPECT_EQ(first_block_size(1000), 232 + 256);
    EXPECT_EQ(pass_count(1000), 2);
    EXPECT_EQ(first_block_size(200), 200);
    EXPECT_EQ(pass_count(200), 0);
    EXPECT_EQ(first_block_size(512), 256);
    EXPECT_EQ(pass_count(512), 1);
    for (int n : {1, 255, 256, 257, 511, 513, 1000, 100000})
        EXPECT_EQ(first_block_size(n) + 256 * pass_count(n), n) << n;
}

TEST(FlameBlocks, EachPassIsMadeFromTheBlockBeforeIt)
{
    auto d = default_flame();
    Points p(1000);
    generate_flame_points(*d, 1000, 0, 1, p.out());
    // Every point of pass w is some transform applied to a point of the block before it.
    auto made_from = [&](int point, int firstSource) {
        for (int s = firstSource; s < firstSource + 256; ++s)
            for (int j = 0; j < 3; ++j) {
                const float* t = d->transforms[j].translation;
                bool same = true;
                for (int c = 0; c < 3; ++c)
                    same &= std::fabs(0.5f * p.points[4 * s + c] + t[c] - p.points[4 * point + c]) < 1e-5f;
                if (same)
                    return true;
            }
        return false;
    };
    for (int point = 488; point < 1000; point += 37)
        EXPECT_TRUE(made_from(point, point < 744 ? 0 : 488)) << point;
    // Colours follow the transform that made the point: blue, red or green only.
    std::set<float> colours;
    for (int i = 0; i < 1000; ++i)
        colours.insert(p.points[4 * i + 3]);
    EXPECT_EQ(colours, (std::set<float>{0.0f, 0.5f, 1.0f}));
}

TEST(FlameBlocks, PassSharesFollowTheSelectTableAndAddUpTo256)
{
    auto d = default_flame();
    int32_t shares[kMaxTransforms];
    pass_shares(*d, shares);
    EXPECT_EQ(shares[0] + shares[1] + shares[2], 256);
    EXPECT_EQ(shares[0], 85 + 1); // the first of the largest takes the remainder
    EXPECT_EQ(shares[1], 85);

    // Fifty transforms, one dominating: tiny ones still get one point each.
    d->transformCount = 50;
    for (int j = 3; j < 50; ++j)
        init_transform(d->transforms[j]);
    for (int j = 0; j < 50; ++j)
        d->transforms[j].weight = j == 7 ? 1e6f : 1.0f;
    compute_probabilities(*d);
    pass_shares(*d, shares);
    int sum = 0;
    for (int j = 0; j < 50; ++j) {
        EXPECT_GE(shares[j], 1);
        sum += shares[j];
    }
    EXPECT_EQ(sum, 256);
    EXPECT_GT(shares[7], 200);

    // Half of them tiny, half sharing the draws: the raised ones would push the largest below one.
    for (int j = 0; j < 50; ++j)
        d->transforms[j].weight = j < 25 ? 0.0f : 100.0f;
    compute_probabilities(*d);
    pass_shares(*d, shares);
    for (int j = 0; j < 50; ++j)
        EXPECT_GE(shares[j], 1) << j;
    EXPECT_EQ(shares[0], 1);
    EXPECT_EQ(shares[25], 1); // 10 less the 19 it would have given up
    Points p(5000);
    generate_flame_points(*d, 5000, 0, 1, p.out());
    for (int i = 0; i < 5000 * 4; ++i)
        ASSERT_TRUE(std::isfinite(p.points[i])) << i;
}

TEST(FlameBatches, OneBatchHoldsEveryPointAtTheLargestSize)
{
    auto d = default_flame();
    FlameMesh mesh(*d, settings(1000, 1));
    mesh.Generate();
    ASSERT_EQ(mesh.GetBatchCount(), 1);
    EXPECT_EQ(mesh.GetBatchCounts()[0], 1000);
    EXPECT_EQ(mesh.GetBatchFirsts()[0], 0);
    EXPECT_FLOAT_EQ(mesh.GetPointSize(0), 0.05f);
}

TEST(FlameBatches, TwoBatchesSplitDimPointsFromFullyBrightOnes)
{
    auto d = default_flame();
    // Unequal maps give non-zero brightness steps: the frequent map dims, the rare one brightens.
    d->transforms[0].weight = 6;
    compute_probabilities(*d);
    FlameMesh mesh(*d, settings(3000, 2));
    mesh.Generate();
    ASSERT_EQ(mesh.GetBatchCount(), 2);
    int dim = 0, bright = 0;
    for (int i = 0; i < 3000; ++i) {
        EXPECT_EQ(mesh.bucket[i], mesh.brightness[i] >= 1.0f ? 1 : 0);
        EXPECT_GE(mesh.brightness[i], 0.2f);
        EXPECT_LE(mesh.brightness[i], 1.0f);
        (mesh.bucket[i] ? bright : dim) += 1;
    }
    EXPECT_GT(dim, 0);
    EXPECT_GT(bright, 0);
    EXPECT_EQ(mesh.GetBatchCounts()[0], dim);
    EXPECT_EQ(mesh.GetBatchCounts()[1], bright);
    EXPECT_EQ(mesh.GetBatchFirsts()[1], dim);
    EXPECT_FLOAT_EQ(mesh.GetPointSize(0), 0.01f);
    EXPECT_FLOAT_EQ(mesh.GetPointSize(1), 0.05f);
    // Vertices are laid out batch by batch, each vertex coloured from the palette with the mesh's alpha.
    const auto* v = static_cast<const FlameMesh::Vertex*>(mesh.GetVertices());
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 3000; ++i) {
        const uint8_t* c = v[i].rgba;
        EXPECT_EQ(c[3], 255);
        // Blue at 0, green at 1, and index 127 of the table (just short of the red stop) nearly red.
        int strong = 0, weak = 0;
        for (int k = 0; k < 3; ++k)
            c[k] >= 250 ? ++strong : (c[k] <= 5 ? ++weak : 0);
        EXPECT_TRUE(strong == 1 && weak == 2) << i;
    }
}

TEST(FlameMeshStorage, SquaresHaveFourVerticesAndTextureCorners)
{
    auto d = default_flame();
    FlameMeshSettings s = settings(300, 3);
    s.pointsMode = false;
    FlameMesh mesh(*d, s);
    mesh.GetVertices();
    int total = 0;
    for (int k = 0; k < 3; ++k)
        total += mesh.GetBatchCounts()[k];
    EXPECT_EQ(total, 4 * 300);
    EXPECT_EQ(mesh.GetPrimitiveType(), 7u);
    EXPECT_TRUE(mesh.HasTexCoords());
    const auto* tc = static_cast<const int16_t*>(mesh.GetTexCoords());
    const int16_t want[8] = {0, 2048, 2048, 2048, 2048, 0, 0, 0};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(tc[8 * 299 + k], want[k]);
    // Without a camera the square is upright in the mesh's plane, edge largestSize.
    const auto* v = static_cast<const FlameMesh::Vertex*>(mesh.GetVertices());
    EXPECT_NEAR(v[2].x - v[0].x, 0.05f, 1e-6);
    EXPECT_NEAR(v[2].y - v[0].y, 0.05f, 1e-6);
    EXPECT_NEAR(v[1].x - v[0].x, 0.05f, 1e-6);
    EXPECT_NEAR(v[1].y - v[0].y, 0.0f, 1e-6);
}

TEST(FlameMeshStorage, OpacityRewritesOnlyTheAlphaBytes)
{
    auto d = default_flame();
    FlameMesh mesh(*d, settings(700, 2));
    const auto* v = static_cast<const FlameMesh::Vertex*>(mesh.GetVertices());
    std::vector<FlameMesh::Vertex> before(v, v + 700);
    mesh.SetOpacity(100);
    EXPECT_EQ(mesh.GetVertices(), v);
    for (int i = 0; i < 700; ++i) {
        EXPECT_EQ(v[i].x, before[i].x);
        EXPECT_EQ(v[i].rgba[0], before[i].rgba[0]);
        EXPECT_EQ(v[i].rgba[2], before[i].rgba[2]);
        EXPECT_EQ(v[i].rgba[3], 100);
    }
    mesh.SetOpacity(900);
    EXPECT_EQ(mesh.alpha, 255);
}

TEST(FlameMeshStorage, OddInputsStayInsideTheArrays)
{
    auto d = default_flame();
    // A single map would never see a different draw: generation must still end.
    d->transformCount = 1;
    // Colour coordinates outside the palette and a batch count beyond a byte.
    d->transforms[0].colour = 7.5f;
    compute_probabilities(*d);
    FlameMesh mesh(*d, settings(2000, 100000));
    EXPECT_EQ(mesh.batchCount, kMaxBatches);
    const auto* v = static_cast<const FlameMesh::Vertex*>(mesh.GetVertices());
    EXPECT_EQ(v[0].rgba[1], 255); // the last palette colour, green
    FlameMesh none(*d, settings(-5, 0));
    EXPECT_EQ(none.pointCount, 0);
    EXPECT_EQ(none.batchCount, 1);
    none.GetVertices();
    EXPECT_EQ(none.GetBatchCounts()[0], 0);
}

TEST(FlameBlockMap, AgreesWithThePointByPointMapForEveryTerm)
{
    // Every variation slot alone (and all together), on points near and far from the origin, through an
    // affine part with rotation, skew and translation.
    FlameTransform t;
    init_transform(t);
    t.scale[0] = 0.9f;
    t.skew[1] = 0.3f;
    t.translation[0] = -0.4f;
    t.translation[2] = 0.25f;
    make_rotz_mat(t.rotation, 0.7f);
    PointBlock in, out;
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        const float scale = i < 100 ? 1.0f : 40.0f;
        in.x[i] = scale * std::sin(1.3f * float(i));
        in.y[i] = scale * std::cos(0.7f * float(i) + 1);
        in.z[i] = i % 10 == 0 ? 0.0f : scale * std::sin(0.3f * float(i) + 2);
    }
    in.x[3] = in.y[3] = 0; // a point on the z axis
    for (int slot = 0; slot <= kUsedVariations; ++slot) {
        for (float& v : t.variations)
            v = 0;
        if (slot == kUsedVariations)
            for (int s = 0; s < kUsedVariations; ++s)
                t.variations[s] = 0.1f * float(s % 4 + 1);
        else
            t.variations[slot] = 0.8f;
        compute_matrix(t);
        FlameMap map;
        prepare_map(t, map);
        apply_map_block(map, in, n, out);
        for (int i = 0; i < n; ++i) {
            const float p[3] = {in.x[i], in.y[i], in.z[i]};
            float want[3];
            apply_map(map, p, want);
            const float got[3] = {out.x[i], out.y[i], out.z[i]};
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(got[c], want[c], 2e-4f * (1 + std::fabs(want[c])))
                    << "slot " << slot << " point " << i << " coordinate " << c;
        }
    }
    // Far outside the polynomials' range the block falls back to the point-by-point map.
    in.x[5] = 1e7f;
    FlameMap map;
    t.variations[0] = 0;
    t.variations[1] = 1;
    compute_matrix(t);
    prepare_map(t, map);
    apply_map_block(map, in, n, out);
    const float p[3] = {in.x[5], in.y[5], in.z[5]};
    float want[3];
    apply_map(map, p, want);
    EXPECT_EQ(out.x[5], want[0]);
}
