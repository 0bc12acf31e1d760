// Poly3D's defaults and rules, and the geometry of the flat meshes, the cube and the axis marker.
#include "scene/axis_marker3d.h"
#include "scene/flat_cube3d.h"
#include "scene/flat_oval3d.h"
#include "scene/flat_rect3d.h"
#include "scene/flat_triangle3d.h"
#include "scene/math3d.h"

#include <GL/glew.h>
#include <cmath>
#include <gtest/gtest.h>

namespace
{

void expectVertex(const float* v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v[0], x);
    EXPECT_FLOAT_EQ(v[1], y);
    EXPECT_FLOAT_EQ(v[2], z);
}

} // namespace

TEST(Poly3DRules, OpacityIsClampedAndBecomesTheAlphaOfTheColour)
{
    FlatRect3D mesh(1, 1, 0xffffffff);
    mesh.SetOpacity(-5);
    EXPECT_EQ(mesh.opacity, 0);
    mesh.SetOpacity(300);
    EXPECT_EQ(mesh.opacity, 255);
    mesh.SetColor(0x12345678);
    mesh.SetOpacity(0x80);
    EXPECT_EQ(mesh.GetColor(), 0x80345678u);
}

TEST(Poly3DRules, TransparencyAndBlendingFollowTheBlendFactors)
{
    FlatRect3D mesh(1, 1, 0xffffffff);
    EXPECT_FALSE(mesh.IsTransparant());
    EXPECT_FALSE(mesh.NeedsBlending());

    mesh.SetBlendSrc(GL_SRC_ALPHA);
    mesh.SetBlendDst(GL_ONE);
    EXPECT_TRUE(mesh.IsTransparant());
    EXPECT_TRUE(mesh.NeedsBlending());

    // Source factors that read the frame buffer make a mesh transparent even with a zero destination.
    for (uint32_t src : {GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR}) {
        mesh.SetBlendSrc(src);
        mesh.SetBlendDst(GL_ZERO);
        EXPECT_TRUE(mesh.IsTransparant()) << src;
    }
    // A source factor alone blends without making the mesh transparent.
    mesh.SetBlendSrc(GL_SRC_ALPHA);
    EXPECT_FALSE(mesh.IsTransparant());
    EXPECT_TRUE(mesh.NeedsBlending());

    mesh.SetBlendDst(GL_ONE);
    mesh.forceOpaque = 1;
    EXPECT_FALSE(mesh.IsTransparant());
    EXPECT_TRUE(mesh.NeedsBlending());
}

TEST(Poly3DRules, DefaultsOfTheInterface)
{
    FlatRect3D mesh(1, 1, 0xff000000);
    EXPECT_EQ(mesh.GetType(), 2);
    EXPECT_EQ(mesh.GetIndexType(), uint32_t(GL_UNSIGNED_SHORT));
    EXPECT_EQ(mesh.GetTextureType(), uint32_t(GL_SHORT));
    EXPECT_FLOAT_EQ(mesh.GetTexCoordScale(), 2048.0f);
    EXPECT_FLOAT_EQ(mesh.GetPointSize(0), 10.0f);
    EXPECT_EQ(mesh.GetColorMask(), 15u);
    EXPECT_EQ(mesh.GetCullMode(), uint32_t(GL_BACK));
    EXPECT_EQ(mesh.GetBlendEquation(), uint32_t(GL_FUNC_ADD));
    EXPECT_FALSE(mesh.HasTexCoords());
    EXPECT_FALSE(mesh.IsCulled() || mesh.HasNormals() || mesh.HasColors() || mesh.UsesShaders());
}

TEST(FlatShapes, RectangleCornersUseIntegerHalvesAndFollowTheSize)
{
    FlatRect3D rect(3, 5, 0xffff0000);
    EXPECT_EQ(rect.GetPrimitiveType(), uint32_t(GL_QUADS));
    const float* v = static_cast<float*>(rect.GetVertices());
    expectVertex(v + 0, -1, 2, 0);
    expectVertex(v + 3, 1, 2, 0);
    expectVertex(v + 6, 1, -2, 0);
    expectVertex(v + 9, -1, -2, 0);
    EXPECT_EQ(rect.GetBatchCount(), 1);
    EXPECT_EQ(rect.GetBatchCounts()[0], 4);
    EXPECT_EQ(rect.GetBatchFirsts()[0], 0);

    rect.width = 10;
    v = static_cast<float*>(rect.GetVertices());
    expectVertex(v + 3, 5, 2, 0);
}

TEST(FlatShapes, TriangleStandsOnItsBase)
{
    FlatTriangle3D tri(4, 3, 0xff00ff00);
    EXPECT_EQ(tri.GetPrimitiveType(), uint32_t(GL_TRIANGLES));
    const float* v = static_cast<float*>(tri.GetVertices());
    expectVertex(v + 0, 0, 3, 0);
    expectVertex(v + 3, 2, 0, 0);
    expectVertex(v + 6, -2, 0, 0);
    EXPECT_EQ(tri.GetBatchCounts()[0], 3);
}

TEST(FlatShapes, OvalFanRunsAroundTheRimAndClosesOnItsFirstRimVertex)
{
    FlatOval3D oval(4, 2, 10, 0.55f, 0xffffffff);
    EXPECT_EQ(oval.GetPrimitiveType(), uint32_t(GL_TRIANGLE_FAN));
    EXPECT_EQ(oval.GetBatchCounts()[0], 42);
    const float* v = static_cast<float*>(oval.GetVertices());
    expectVertex(v + 0, 0, 0, 0);
    expectVertex(v + 3 * 1, 4, 0, 0);
    expectVertex(v + 3 * 11, 0, 2, 0);  // end of the first quarter
    expectVertex(v + 3 * 21, -4, 0, 0); // end of the second
    expectVertex(v + 3 * 31, 0, -2, 0); // end of the third
    expectVertex(v + 3 * 41, 4, 0, 0);
    // The rim turns one way only: every fan triangle has the same (counter-clockwise) winding.
    for (int i = 1; i < 41; ++i) {
        const float* a = v + 3 * i;
        const float* b = v + 3 * (i + 1);
        EXPECT_GT(a[0] * b[1] - a[1] * b[0], 0.0f) << "rim vertex " << i;
    }
}

TEST(FlatShapes, OvalKeepsItsFirstArrayAndClampsItsSegmentCount)
{
    FlatOval3D oval(4, 2, 10, 0.55f, 0xffffffff);
    const float* first = static_cast<float*>(oval.GetVertices());
    oval.rx = 100;
    EXPECT_EQ(oval.GetVertices(), first);
    EXPECT_FLOAT_EQ(first[3], 4.0f);

    FlatOval3D tiny(1, 1, -3, 0.5f, 0);
    EXPECT_EQ(tiny.GetBatchCounts()[0], 4 * FlatOval3D::kMinSegments + 2);
    ASSERT_NE(tiny.GetVertices(), nullptr);
    FlatOval3D huge(1, 1, 1 << 30, 0.5f, 0);
    EXPECT_EQ(huge.GetBatchCounts()[0], 4 * FlatOval3D::kMaxSegments + 2);
}

TEST(FlatCube, EveryVertexNormalIsTheOutwardUnitNormalOfItsFace)
{
    FlatCube3D cube(2, 0xffffffff);
    EXPECT_EQ(cube.GetBatchCount(), 6);
    EXPECT_TRUE(cube.HasIndices() && cube.IsCulled() && cube.HasNormals() && cube.UsesShaders());
    EXPECT_EQ(cube.GetProgram(), 0u);
    const float* v = static_cast<float*>(cube.GetVertices());
    const float* n = static_cast<float*>(cube.GetNormals());
    for (int i = 0; i < 24; ++i) {
        const float* p = v + 3 * i;
        const float* normal = n + 3 * i;
        // The face a vertex belongs to is the axis its normal points along; the vertex lies on that face.
        int axis = 0;
        for (int c = 1; c < 3; ++c)
            if (std::fabs(normal[c]) > std::fabs(normal[axis]))
                axis = c;
        EXPECT_NEAR(vector_length(normal), 1.0f, 1e-6f) << "vertex " << i;
        EXPECT_FLOAT_EQ(normal[axis] * p[axis], 2.0f) << "vertex " << i << " normal points outwards";
        for (int c = 0; c < 3; ++c) {
            if (c != axis) {
                EXPECT_FLOAT_EQ(normal[c], 0.0f);
            }
        }
    }
}

TEST(FlatCube, FacesAreCounterClockwiseSeenFromOutside)
{
    FlatCube3D cube(1, 0xffffffff);
    const float* v = static_cast<float*>(cube.GetVertices());
    for (int face = 0; face < 6; ++face) {
        const uint16_t* strip = static_cast<uint16_t*>(cube.GetIndexPointers()[face]);
        ASSERT_EQ(cube.GetBatchCounts()[face], 4);
        const float* a = v + 3 * strip[0];
        const float* b = v + 3 * strip[1];
        const float* c = v + 3 * strip[2];
        float ab[3], ac[3], n[3];
        sub_vectors(b, a, ab);
        sub_vectors(c, a, ac);
        cross_product(ab, ac, n);
        EXPECT_GT(dot_product(n, a), 0.0f) << "face " << face; // the cube is centred on the origin
    }
}

TEST(StripNormals, SharedVerticesAverageTheirTrianglesAndOddTrianglesKeepTheWinding)
{
    // A strip folded along x = 0: the left half lies in z = 0, the right half rises towards +z. It ends
    // on a triangle that names vertex 5 twice; vertex 6 is in no triangle.
    const float vertices[] = {-1, 0, 0, -1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 5, 5, 5};
    const uint16_t strip[] = {0, 1, 2, 3, 4, 5, 5};
    const uint16_t* strips[] = {strip};
    const int counts[] = {7};
    float normals[7 * 3];
    compute_strip_normals(vertices, strips, 1, counts, 7, normals);

    const float r = std::sqrt(0.5f); // the right half's unit normal is (r, 0, -r)
    expectVertex(normals + 0, 0, 0, -1);
    // Vertex 1 is in the first two triangles; swapping the odd one keeps both facing -z.
    expectVertex(normals + 3, 0, 0, -1);
    // Vertex 2: the running mean of two flat triangles and one of the right half.
    EXPECT_NEAR(normals[6], r / 3, 1e-6f);
    EXPECT_NEAR(normals[8], -2.0f / 3 - r / 3, 1e-6f);
    // Vertices 4 and 5 share the degenerate last triangle (a zero normal), counted once for each.
    EXPECT_NEAR(normals[12], 2 * r / 3, 1e-6f);
    EXPECT_NEAR(normals[15], r / 2, 1e-6f);
    EXPECT_NEAR(normals[17], -r / 2, 1e-6f);
    expectVertex(normals + 18, 0, 0, 0);
}

TEST(StripNormals, IndicesOutsideTheVertexArrayAreSkipped)
{
    const float vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const uint16_t strip[] = {0, 1, 2, 900};
    const uint16_t* strips[] = {strip};
    const int counts[] = {4};
    float normals[9];
    compute_strip_normals(vertices, strips, 1, counts, 3, normals);
    expectVertex(normals + 0, 0, 0, 1);
    expectVertex(normals + 6, 0, 0, 1);
}

TEST(AxisMarker, LinesFollowTheNodeAndColoursAreRgbaBytes)
{
    AxisMarker3D marker(0xff8080ff, 0xff80ff80, 0x40ff8080);
    EXPECT_EQ(marker.GetPrimitiveType(), uint32_t(GL_LINES));
    EXPECT_TRUE(marker.HasColors());
    marker.position[0] = 4;
    marker.position[1] = -2;
    make_scale_mat(marker.matrix, 2, 2, 2);
    const float* v = static_cast<float*>(marker.GetVertices());
    expectVertex(v + 0, -10000, 0, 0);
    expectVertex(v + 15, 0, 0, 10000);
    expectVertex(v + 18, 0, 0, 0);
    expectVertex(v + 21, -2, 1, 0); // towards the parent's origin, undoing the scale

    const uint8_t* c = static_cast<uint8_t*>(marker.GetColors());
    const uint8_t xColour[] = {0x80, 0x80, 0xff, 0xff}, zColour[] = {0xff, 0x80, 0x80, 0x40};
    const uint8_t grey[] = {0xa0, 0xa0, 0xa0, 0xff};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c[4 + i], xColour[i]);
        EXPECT_EQ(c[20 + i], zColour[i]);
        EXPECT_EQ(c[28 + i], grey[i]);
    }

    make_scale_mat(marker.matrix, 0, 0, 0);
    v = static_cast<float*>(marker.GetVertices());
    expectVertex(v + 21, -4, 2, 0);
}
