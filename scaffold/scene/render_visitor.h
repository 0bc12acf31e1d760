// RenderVisitor: draws a scene tree with OpenGL vertex arrays (plus vertex-buffer objects, multi-draw,
// point sprites and shader programs where a mesh asks for them).
//
// Two phases: a traversal (root.Accept(visitor)) collects every Poly3D with its world transform and
// colour, records the camera (writing its world transform) and switches on up to 8 lights; then Render
// sets projection and view and draws the collected meshes, opaque ones first in visit order, then the
// transparent ones back to front (scene/render_order.h).
//
// Contracts
//  - Every GL state that the GL state cache knows is changed through it (gls_*); after Render every cached
//    value is what it was before, except the lights used, which are off. The modelview and texture
//    matrices are left at the identity, no program is bound and the client arrays are disabled.
//  - Lights are issued during the traversal, before Render loads the view, so their positions are taken
//    with the modelview matrix current at that moment (the identity Render leaves): they are placed in
//    eye space. A ninth light is ignored.
//  - The visitor keeps pointers to the meshes and the camera but owns neither; they must outlive Render.
//  - Trees deeper than kTransformStackSize groups: nodes below that depth are not drawn.
//  - One visitor serves one traversal and one Render. Reset() readies it for the next frame while keeping
//    its arrays, so a visitor kept across frames allocates nothing once its list has grown.
//  - The constructor and Reset switch the eight lights off through the cache: a GL state cache must be
//    current. The destructor touches no GL state.
#pragma once

#include "scene/render_order.h"
#include "scene/visitor3d.h"

#include <cstdint>

class Camera3D;
class Poly3D;

class RenderVisitor : public Visitor3D
{
public:
    static constexpr int kTransformStackSize = 128;
    static constexpr int kMaxLights = 8;
    static constexpr int kInitialCapacity = 50;

    RenderVisitor();
    ~RenderVisitor() override;
    RenderVisitor(const RenderVisitor&) = delete;
    RenderVisitor& operator=(const RenderVisitor&) = delete;

    void VisitLight(Light3D* light) override;
    // Appends the mesh. Throws BasicException("Out of memory in RenderVisitor::AddChild!\n") when the
    // list cannot grow; the list is then unchanged.
    void VisitPoly(Poly3D* poly) override;
    void VisitGroup(GroupNode3D* group) override;
    void VisitCamera(Camera3D* camera) override;
    void EnterGroup() override;
    void LeaveGroup() override;
    void SetOverrideColor(bool enable, uint32_t color) override;

    // Draws what the traversal collected with the last camera visited. clear: clear colour and depth,
    // the colour from the four channels (each clamped to 0..255); otherwise only depth. flipVertical
    // exchanges bottom and top of the projection (for renders into a texture). ortho: glOrtho instead of
    // glFrustum. Without a camera nothing is drawn (the lights are still switched off).
    // Its steps, numbered the same in the source: 1 clear, 2 remember the colour, 3 projection, 4 view,
    // 5 order the meshes, 6 cull back faces, 7 draw each mesh (7.2-7.18: place it, program, buffers and
    // vertices, colour, texture, blending, culling, lighting, colour mask, draw, sprite and lighting state
    // back, colour back, texture and blending back, unbind), 8 restore culling and depth writes,
    // 9 reset matrices, program, client arrays, projection and lights.
    void Render(bool clear, bool flipVertical, int32_t alpha, int32_t red, int32_t green, int32_t blue,
                bool ortho);

    // Forgets the collected meshes, the camera and the lights (switching them off) for another traversal.
    void Reset();

    struct StackEntry {
        float matrix[9];
        float position[3];
    };
    StackEntry transformStack[kTransformStackSize]; // local transforms of the enclosing groups
    int32_t depth = 0;                              // groups entered
    Camera3D* camera = nullptr;                     // the last camera visited
    Poly3D** renderList;                            // collected meshes in visit order
    float* renderTransforms; // 12 floats per mesh: world matrix (9), world position (3)
    uint32_t* renderColors;  // 0xAARRGGBB per mesh
    bool overrideEnabled = false;
    uint32_t overrideColor = 0;
    int32_t count = 0;
    int32_t capacity = kInitialCapacity;
    int32_t lightCount = 0;

private:
    void worldTransform(const float* matrix, const float* position, float* worldMatrix,
                        float* worldPosition) const;
    bool visitedTooDeep() const { return depth > kTransformStackSize; }
    void switchLightsOff(int lights);
    void drawMesh(int index, uint32_t savedColor);

    RenderOrder order_;
};
