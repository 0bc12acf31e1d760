// Mesh3D built corner by corner: vertex sharing, the normal/texture-coordinate layout rule, the 16-bit
// index limit and the arrays it hands to the renderer (the vertex-buffer path is in render_test.cpp).
#include "scene/mesh3d.h"

#include <GL/glew.h>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace
{

// The plain rule: the first stored vertex equal in every given component, compared as floats.
struct ReferenceMesh {
    std::vector<std::vector<float>> vertices;

    int add(const float* p, const float* t, const float* n)
    {
        std::vector<float> v(p, p + 3);
        if (t)
            v.insert(v.end(), t, t + 2);
        if (n)
            v.insert(v.end(), n, n + 3);
        for (size_t i = 0; i < vertices.size(); ++i) {
            bool same = true;
            for (size_t c = 0; c < v.size(); ++c)
                same = same && vertices[i][c] == v[c];
            if (same)
                return int(i);
        }
        vertices.push_back(v);
        return int(vertices.size() - 1);
    }
};

} // namespace

TEST(Mesh3DVertices, EqualCornersShareAVertexAndADifferentNormalMakesANewOne)
{
    Mesh3D mesh(false);
    const float p[3] = {1, 2, 3}, n1[3] = {0, 0, 1}, n2[3] = {0, 1, 0};
    EXPECT_EQ(mesh.AddVertex(p, nullptr, n1), 0);
    EXPECT_EQ(mesh.AddVertex(p, nullptr, n1), 0);
    EXPECT_EQ(mesh.AddVertex(p, nullptr, n2), 1);
    const float minusZero[3] = {1, 2, 3}, zeroNormal[3] = {0, 0, 1};
    EXPECT_EQ(mesh.AddVertex(minusZero, nullptr, zeroNormal), 0);
    EXPECT_EQ(mesh.GetVertexCount(), 2);
}

TEST(Mesh3DVertices, HashedLookupGivesTheFirstMatchOnRandomCornersWithTiesSignedZerosAndNaN)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float values[] = {0.0f, -0.0f, 1.0f, 2.5f, nan};
    std::mt19937 random(7);
    auto pick = [&] { return values[random() % 5]; };

    for (int layout = 0; layout < 4; ++layout) {
        const bool withTex = layout & 1, withNormals = layout & 2;
        Mesh3D mesh(false);
        ReferenceMesh reference;
        for (int i = 0; i < 4000; ++i) {
            const float p[3] = {pick(), pick(), pick()}, t[2] = {pick(), pick()},
                        n[3] = {pick(), pick(), pick()};
            const float* tex = withTex ? t : nullptr;
            const float* normal = withNormals ? n : nullptr;
            ASSERT_EQ(mesh.AddVertex(p, tex, normal), reference.add(p, tex, normal)) << "corner " << i;
        }
        EXPECT_EQ(mesh.GetVertexCount(), int(reference.vertices.size()));
    }
}

TEST(Mesh3DVertices, CornersThatBreakTheMeshLayoutAreRefusedAndChangeNothing)
{
    const float p0[3] = {0, 0, 0}, p1[3] = {1, 0, 0}, p2[3] = {0, 1, 0}, p3[3] = {1, 1, 0};
    const float n[3] = {0, 0, 1}, t[2] = {0.5f, 0.5f};

    Mesh3D mesh(false);
    ASSERT_TRUE(mesh.AddTriangle(p0, t, n, p1, t, n, p2, t, n));
    EXPECT_FALSE(mesh.AddTriangle(p1, t, n, p3, nullptr, n, p2, t, n)); // one corner without texture
    EXPECT_FALSE(mesh.AddTriangle(p1, t, nullptr, p3, t, nullptr, p2, t, nullptr)); // mesh has normals
    EXPECT_FALSE(mesh.AddTriangle(p1, t, n, nullptr, t, n, p2, t, n));
    EXPECT_EQ(mesh.AddVertex(p3, nullptr, n), -1);
    EXPECT_EQ(mesh.GetVertexCount(), 3);
    EXPECT_EQ(mesh.GetIndexCount(), 3);
    EXPECT_TRUE(mesh.HasNormals());
    EXPECT_TRUE(mesh.HasTexture());
}

TEST(Mesh3DVertices, SixteenBitIndicesLimitTheVerticesNotTheTriangles)
{
    Mesh3D mesh(false);
    const float origin[3] = {0, 0, 0};
    // 65536 distinct vertices fill the index range exactly.
    for (int i = 1; 1 + 2 * i <= Mesh3D::kMaxVertices - 1; ++i) {
        const float p[3] = {float(i), 0, 0};
        const float q[3] = {float(i), 1, 0};
        ASSERT_TRUE(mesh.AddTriangle(origin, nullptr, nullptr, p, nullptr, nullptr, q, nullptr, nullptr));
    }
    const float last[3] = {-1, -1, -1};
    ASSERT_EQ(mesh.AddVertex(last, nullptr, nullptr), Mesh3D::kMaxVertices - 1);
    ASSERT_EQ(mesh.GetVertexCount(), Mesh3D::kMaxVertices);

    const float fresh[3] = {-2, -2, -2};
    const int indicesBefore = mesh.GetIndexCount();
    EXPECT_EQ(mesh.AddVertex(fresh, nullptr, nullptr), -1);
    EXPECT_FALSE(mesh.AddTriangle(origin, nullptr, nullptr, last, nullptr, nullptr, fresh, nullptr, nullptr));
    EXPECT_EQ(mesh.GetIndexCount(), indicesBefore);

    // Triangles over existing vertices still go in: the mesh already holds far more than 65536 indices.
    EXPECT_GT(indicesBefore, 65536);
    const float p1[3] = {1, 0, 0};
    ASSERT_TRUE(mesh.AddTriangle(origin, nullptr, nullptr, p1, nullptr, nullptr, last, nullptr, nullptr));
    EXPECT_EQ(mesh.GetIndexCount(), indicesBefore + 3);
    const uint16_t* indices = static_cast<uint16_t*>(mesh.GetIndexPointers()[0]);
    EXPECT_EQ(indices[mesh.GetIndexCount() - 1], Mesh3D::kMaxVertices - 1);
}

TEST(Mesh3DVertices, ATriangleWhoseNewCornersCoincideNeedsOnlyOneFreeVertex)
{
    Mesh3D mesh(false);
    for (int i = 0; i < Mesh3D::kMaxVertices - 1; ++i) {
        const float p[3] = {float(i), 0, 0};
        ASSERT_EQ(mesh.AddVertex(p, nullptr, nullptr), i);
    }
    const float a[3] = {0, 0, 0}, fresh[3] = {0, 7, 0};
    EXPECT_TRUE(mesh.AddTriangle(a, nullptr, nullptr, fresh, nullptr, nullptr, fresh, nullptr, nullptr));
    EXPECT_EQ(mesh.GetVertexCount(), Mesh3D::kMaxVertices);
}

TEST(Mesh3DArrays, PlainArraysHoldWhatWasAdded)
{
    Mesh3D mesh(false);
    const float p0[3] = {0, 0, 0}, p1[3] = {1, 0, 0}, p2[3] = {0, 1, 0};
    const float t0[2] = {0, 0}, t1[2] = {1, 0}, t2[2] = {0, 1}, n[3] = {0, 0, 1};
    ASSERT_TRUE(mesh.AddTriangle(p0, t0, n, p1, t1, n, p2, t2, n));
    ASSERT_TRUE(mesh.AddTriangle(p2, t2, n, p1, t1, n, p0, t0, n));

    EXPECT_EQ(mesh.GetPrimitiveType(), uint32_t(GL_TRIANGLES));
    EXPECT_EQ(mesh.GetVertexBuffer(), 0u);
    EXPECT_EQ(mesh.GetBatchCount(), 1);
    EXPECT_EQ(mesh.GetBatchCounts()[0], 6);
    const uint16_t expected[] = {0, 1, 2, 2, 1, 0};
    EXPECT_EQ(std::memcmp(mesh.GetIndexPointers()[0], expected, sizeof expected), 0);
    EXPECT_FLOAT_EQ(static_cast<float*>(mesh.GetVertices())[3], 1.0f);
    EXPECT_FLOAT_EQ(static_cast<float*>(mesh.GetTexCoords())[5], 1.0f);
    EXPECT_FLOAT_EQ(static_cast<float*>(mesh.GetNormals())[8], 1.0f);
    EXPECT_EQ(mesh.GetTextureType(), uint32_t(GL_FLOAT));
    EXPECT_FLOAT_EQ(mesh.GetTexCoordScale(), 1.0f);
    EXPECT_TRUE(mesh.IsCulled());
}

TEST(Mesh3DArrays, TextureComesFromTheMaterialWhenItNamesOne)
{
    Mesh3D mesh(false);
    mesh.textureId = 7;
    EXPECT_EQ(mesh.GetTextureId(), 7u);
    MaterialRecord material{};
    mesh.material = &material;
    EXPECT_EQ(mesh.GetTextureId(), 7u);
    material.textureName = 9;
    EXPECT_EQ(mesh.GetTextureId(), 9u);
}
