// The RenderVisitor's bookkeeping: the GL state cache is left as found (and equal to GL), lights are
// limited to eight and switched off after Render, the render list grows, and deep trees stay in bounds.
#include "gl_cache_check.h"
#include "render_fixture.h"
#include "scene/axis_marker3d.h"
#include "scene/flat_cube3d.h"
#include "scene/flat_oval3d.h"
#include "scene/flat_rect3d.h"
#include "scene/light3d.h"
#include "scene/mesh3d.h"
#include "vortel/plugin.h"

#include <GL/glew.h>
#include <cstring>
#include <vector>

namespace
{

struct CacheTops {
    uint32_t slots[kGLStateSlotCount];
    int32_t depths[kGLStateSlotCount + 5];
    bool textureEnable;
    uint32_t boundTexture, matrixMode;
    GLViewportEntry viewport;
    GLProjectionEntry projection;

    explicit CacheTops(const GLStateContext& c)
    {
        std::memset(this, 0, sizeof *this);
        for (int s = 0; s < kGLStateSlotCount; ++s) {
            slots[s] = c.slots[s][c.slotDepth[s]];
            depths[s] = c.slotDepth[s];
        }
        const int32_t others[5] = {c.textureEnableDepth, c.boundTextureDepth, c.matrixModeDepth,
                                   c.viewportDepth, c.projectionDepth};
        std::memcpy(depths + kGLStateSlotCount, others, sizeof others);
        textureEnable = c.textureEnable[c.textureEnableDepth];
        boundTexture = c.boundTexture[c.boundTextureDepth];
        matrixMode = c.matrixMode[c.matrixModeDepth];
        viewport = c.viewport[c.viewportDepth];
        projection = c.projection[c.projectionDepth];
    }
};

bool isIdentity(GLenum matrix)
{
    GLfloat m[16];
    glGetFloatv(matrix, m);
    for (int i = 0; i < 16; ++i)
        if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f))
            return false;
    return true;
}

// Squares drawn in size batches, as sprite-capable meshes do when they draw quads instead of points.
class SizedQuads : public Poly3D
{
public:
    uint32_t GetPrimitiveType() override { return GL_QUADS; }
    void* GetVertices() override { return vertices_; }
    bool HasIndices() override { return false; }
    int GetBatchCount() override { return 1; }
    int* GetBatchCounts() override { return &count_; }
    int* GetBatchFirsts() override { return &first_; }
    void** GetIndexPointers() override { return nullptr; }
    bool HasBatchPointSizes() override { return true; }

private:
    float vertices_[12] = {-1, -1, -5, 1, -1, -5, 1, 1, -5, -1, 1, -5};
    int count_ = 4, first_ = 0;
};

GLint integer(GLenum query)
{
    GLint value = -1;
    glGetIntegerv(query, &value);
    return value;
}

} // namespace

TEST_F(RenderTest, AfterRenderTheCacheIsAsBeforeAndEqualsGL)
{
    // Cached values away from the defaults, so that a forgotten restore shows.
    gls_push(Color, 0xff336699);
    gls_push(BlendSrc, GL_SRC_ALPHA);
    gls_push(ShadeModel, GL_FLAT);
    gls_push(DepthTest, 1);
    gls_push_matrix_mode(GL_PROJECTION);

    FlatRect3D rect(1, 1, 0xffff0000), glow(2, 2, 0xff00ff00);
    rect.position[2] = -5;
    glow.position[2] = -6;
    glow.SetBlendDst(GL_ONE);
    FlatCube3D cube(1, 0xffffffff);
    cube.position[2] = -8;
    FlatOval3D oval(1, 1, 10, 0.55f, 0xff0000ff);
    oval.position[2] = -7;
    AxisMarker3D marker(0xffff0000, 0xff00ff00, 0xff0000ff);
    marker.position[2] = -9;
    MaterialRecord material = {{0.1f, 0.1f, 0.1f, 1}, {0.9f, 0.2f, 0.2f, 1}, {1, 1, 1, 1}, 1, 30, 2, 0, ""};
    Mesh3D mesh(true);
    const float p0[3] = {0, 0, -4}, p1[3] = {1, 0, -4}, p2[3] = {0, 1, -4}, n[3] = {0, 0, 1}, t[2] = {0, 0};
    ASSERT_TRUE(mesh.AddTriangle(p0, t, n, p1, t, n, p2, t, n));
    mesh.material = &material;
    Light3D light;
    for (Node3D* node : std::vector<Node3D*>{&rect, &glow, &cube, &oval, &marker, &mesh, &light})
        root.AddChild(node);

    const CacheTops before(*cache_);
    RenderVisitor visitor;
    root.Accept(visitor);
    EXPECT_EQ(gls_get(Light0), 1u);
    visitor.Render(true, false, 255, 10, 20, 30, false);
    save(read_framebuffer(kWidth, kHeight));

    const CacheTops after(*cache_);
    EXPECT_EQ(std::memcmp(before.depths, after.depths, sizeof before.depths), 0);
    for (int s = 0; s < kGLStateSlotCount; ++s)
        EXPECT_EQ(after.slots[s], s >= Light0 ? 0u : before.slots[s]) << "slot " << s;
    EXPECT_EQ(after.textureEnable, before.textureEnable);
    EXPECT_EQ(after.boundTexture, before.boundTexture);
    EXPECT_EQ(after.matrixMode, uint32_t(GL_PROJECTION));
    EXPECT_EQ(std::memcmp(&after.viewport, &before.viewport, sizeof before.viewport), 0);
    EXPECT_EQ(after.projection.left, before.projection.left);
    EXPECT_EQ(after.projection.top, before.projection.top);
    for (const std::string& line : gl_cache_differences(*cache_))
        ADD_FAILURE() << line;

    // What the cache does not hold is left at GL's defaults.
    gls_push_matrix_mode(GL_MODELVIEW);
    EXPECT_TRUE(isIdentity(GL_MODELVIEW_MATRIX));
    EXPECT_TRUE(isIdentity(GL_TEXTURE_MATRIX));
    gls_pop_matrix_mode();
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    for (GLenum cap : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY,
                       GL_POINT_SPRITE_ARB, GL_COLOR_MATERIAL, GL_NORMALIZE})
        EXPECT_FALSE(glIsEnabled(cap)) << std::hex << cap;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    gls_pop_matrix_mode();
    gls_pop(DepthTest);
    gls_pop(ShadeModel);
    gls_pop(BlendSrc);
    gls_pop(Color);
}

TEST_F(RenderTest, PointSpriteStateIsUndoneWhateverThePrimitive)
{
    SizedQuads quads;
    root.AddChild(&quads);
    const Picture picture = render();
    EXPECT_TRUE(pixelIs(picture, 128, 96, 0xffffff));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SPRITE_ARB));
    GLfloat size = 0, attenuation[3] = {0, 0, 0};
    glGetFloatv(GL_POINT_SIZE, &size);
    glGetFloatv(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
    EXPECT_EQ(size, 1.0f);
    EXPECT_EQ(attenuation[0], 1.0f);
    EXPECT_EQ(attenuation[2], 0.0f);
}

TEST_F(RenderTest, ANinthLightIsIgnoredAndRenderSwitchesTheLightsOff)
{
    GroupNode3D lifted;
    lifted.position[1] = 3;
    std::vector<Light3D> lights(9);
    for (int i = 0; i < 9; ++i) {
        lights[size_t(i)].position[0] = float(i);
        lifted.AddChild(&lights[size_t(i)]);
    }
    root.AddChild(&lifted);
    RenderVisitor visitor;
    root.Accept(visitor);
    EXPECT_EQ(visitor.lightCount, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(gls_get(Light0 + i), 1u);

    // Positions are issued with the identity modelview: the light's world position, positional (w = 1).
    GLfloat where[4];
    glGetLightfv(GL_LIGHT0 + 7, GL_POSITION, where);
    EXPECT_FLOAT_EQ(where[0], 7);
    EXPECT_FLOAT_EQ(where[1], 3);
    EXPECT_FLOAT_EQ(where[3], 1);

    visitor.Render(true, false, 255, 0, 0, 0, false);
    EXPECT_EQ(visitor.lightCount, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(gls_get(Light0 + i), 0u);
        EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + i));
    }
}

TEST_F(RenderTest, TheRenderListGrowsAtThe51stMeshAndKeepsEveryEntry)
{
    std::vector<FlatRect3D> rects(51, FlatRect3D(1, 1, 0));
    RenderVisitor visitor;
    for (int i = 0; i < 51; ++i) {
        rects[size_t(i)].SetColor(uint32_t(i));
        rects[size_t(i)].position[0] = float(i);
        visitor.VisitPoly(&rects[size_t(i)]);
        EXPECT_EQ(visitor.capacity, i < 50 ? 50 : 81);
    }
    ASSERT_EQ(visitor.count, 51);
    for (int i = 0; i < 51; ++i) {
        EXPECT_EQ(visitor.renderList[i], &rects[size_t(i)]);
        EXPECT_EQ(visitor.renderColors[i], 0xff000000u | uint32_t(i));
        EXPECT_FLOAT_EQ(visitor.renderTransforms[12 * i + 9], float(i));
    }
}

TEST_F(RenderTest, AListThatCannotGrowThrowsAndStaysAsItWas)
{
    RenderVisitor visitor;
    FlatRect3D rect(1, 1, 0);
    // Pretend the list is full at a size whose next step no allocation can serve.
    const int32_t full = 200000000;
    visitor.count = visitor.capacity = full;
    try {
        visitor.VisitPoly(&rect);
        ADD_FAILURE() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Out of memory in RenderVisitor::AddChild!\n");
    }
    EXPECT_EQ(visitor.capacity, full);
    EXPECT_EQ(visitor.count, full);
    visitor.count = 0;
    visitor.capacity = RenderVisitor::kInitialCapacity;
    visitor.VisitPoly(&rect);
    EXPECT_EQ(visitor.count, 1);
}

TEST_F(RenderTest, MeshesBelowTheTransformStackAreNotDrawnAndNothingIsWrittenPastIt)
{
    RenderVisitor visitor;
    FlatRect3D rect(1, 1, 0);
    GroupNode3D group;
    group.position[2] = -0.5f;
    for (int i = 0; i < 300; ++i) {
        visitor.VisitGroup(&group);
        visitor.EnterGroup();
    }
    visitor.VisitPoly(&rect);
    EXPECT_EQ(visitor.count, 0);
    for (int i = 0; i < 300 - RenderVisitor::kTransformStackSize; ++i)
        visitor.LeaveGroup();
    visitor.VisitPoly(&rect);
    ASSERT_EQ(visitor.count, 1);
    EXPECT_FLOAT_EQ(visitor.renderTransforms[11], -0.5f * RenderVisitor::kTransformStackSize);
    for (int i = 0; i < 400; ++i) // more leaves than enters are harmless
        visitor.LeaveGroup();
    EXPECT_EQ(visitor.depth, 0);
}

TEST_F(RenderTest, ATreeDeeperThanTheLimitIsDrawnDownToTheLimit)
{
    // A chain of 140 groups, each 0.01 further away, with a rectangle in every one of them.
    constexpr int kChain = 140;
    std::vector<GroupNode3D> groups(kChain);
    std::vector<FlatRect3D> rects(kChain, FlatRect3D(2, 2, 0xffffffff));
    root.position[2] = -5;
    for (int i = 0; i < kChain; ++i) {
        groups[size_t(i)].position[2] = -0.01f;
        groups[size_t(i)].AddChild(&rects[size_t(i)]);
        (i == 0 ? root : groups[size_t(i - 1)]).AddChild(&groups[size_t(i)]);
    }
    RenderVisitor visitor;
    root.Accept(visitor);
    // The root is the first of 128 groups; the rectangle in the 128th is the last one drawn.
    ASSERT_EQ(visitor.count, RenderVisitor::kTransformStackSize - 1);
    EXPECT_NEAR(visitor.renderTransforms[12 * (visitor.count - 1) + 11], -5 - 0.01f * 127, 1e-4f);
    visitor.Render(true, false, 255, 0, 0, 0, false);
    EXPECT_TRUE(pixelIs(read_framebuffer(kWidth, kHeight), 128, 96, 0xffffff));
}

TEST_F(RenderTest, AResetVisitorCollectsAgainWithoutGrowing)
{
    std::vector<FlatRect3D> rects(200, FlatRect3D(1, 1, 0xffffffff));
    for (FlatRect3D& rect : rects)
        root.AddChild(&rect);
    RenderVisitor visitor;
    root.Accept(visitor);
    const int capacity = visitor.capacity;
    Poly3D** list = visitor.renderList;
    visitor.Reset();
    EXPECT_EQ(visitor.count, 0);
    EXPECT_EQ(visitor.camera, nullptr);
    root.Accept(visitor);
    EXPECT_EQ(visitor.count, 200);
    EXPECT_EQ(visitor.capacity, capacity);
    EXPECT_EQ(visitor.renderList, list);
    EXPECT_EQ(visitor.camera, &camera);
}

TEST_F(RenderTest, RenderWithoutACameraDrawsNothingAndSwitchesTheLightsOff)
{
    GroupNode3D scene; // no camera in it
    FlatRect3D rect(2, 2, 0xffffffff);
    rect.position[2] = -5;
    Light3D light;
    scene.AddChild(&rect);
    scene.AddChild(&light);
    render(true, false, 255, 0, 0, 255); // a blue picture to draw over

    RenderVisitor visitor;
    scene.Accept(visitor);
    EXPECT_EQ(gls_get(Light0), 1u);
    visitor.Render(true, false, 255, 0, 0, 0, false);
    EXPECT_EQ(gls_get(Light0), 0u);
    EXPECT_TRUE(pixelIs(read_framebuffer(kWidth, kHeight), 128, 96, 0x0000ff));
}
