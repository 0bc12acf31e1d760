// [SECTION] Traversal: world transforms, lights, the render list
// [SECTION] Render: projection, view, order, per-mesh drawing, reset
#include "scene/render_visitor.h"

#include "glstate.h"
#include "scene/camera3d.h"
#include "scene/group_node3d.h"
#include "scene/light3d.h"
#include "scene/math3d.h"
#include "scene/math3d_internal.h"
#include "scene/poly3d.h"
#include "vortel/plugin.h"

#include <GL/glew.h>
#include <cfloat>
#include <climits>
#include <cstring>
#include <new>

namespace
{

const char kOutOfMemory[] = "Out of memory in RenderVisitor::AddChild!\n";

void unpackColor(uint32_t color, float* rgba)
{
    rgba[0] = float((color >> 16) & 0xff) / 255.0f;
    rgba[1] = float((color >> 8) & 0xff) / 255.0f;
    rgba[2] = float(color & 0xff) / 255.0f;
    rgba[3] = float(color >> 24) / 255.0f;
}

int32_t clampChannel(int32_t value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

// Entry points past OpenGL 1.1 come through GLEW; a GL without one skips that feature instead of
// calling through a null pointer.
void useProgram(uint32_t program)
{
    if (glUseProgram)
        glUseProgram(program);
}

void unbindBuffers()
{
    if (!glBindBufferARB)
        return;
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
}

// Sprites shrink with eye distance d so that one covers about the same part of the scene in any viewport:
// drawn size = 64 / sqrt(c * d^2) = 2.56 * w * size / d pixels for viewport width w and scene size `size`.
// (Working the mesh's and the camera's scales into c cancels out exactly, so they are left out; a zero
// size then draws at the minimum size instead of dividing zero by zero.)
void setupPointSprites(Poly3D* mesh, int batch)
{
    const float width = float(gls_viewport_width());
    const float size = mesh->GetPointSize(batch);
    const float scaled = width * size;
    const float attenuation[3] = {0, 0, scaled != 0 ? 625.0f / (scaled * scaled) : FLT_MAX};
    glPointSize(64);
    if (glPointParameterfvARB) {
        glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
        glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, 1);
    }
    // GL's sprite coordinates start at the sprite's upper left (GL_POINT_SPRITE_COORD_ORIGIN is left at its
    // default), where a texture's top row is: sprites show textures upright.
    glTexEnvf(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, 1);
}

// Back to GL's defaults, so points drawn later by anyone else are plain points again.
void resetPointSprites()
{
    glDisable(GL_POINT_SPRITE_ARB);
    glPointSize(1);
    if (glPointParameterfvARB) {
        const float constant[3] = {1, 0, 0};
        glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, constant);
        glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, 0);
    }
    glTexEnvf(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, 0);
}

void drawBatches(Poly3D* mesh, uint32_t mode, int batches)
{
    const int* counts = mesh->GetBatchCounts();
    if (batches <= 0 || !counts)
        return;
    if (mesh->HasIndices()) {
        void** indices = mesh->GetIndexPointers();
        if (!indices)
            return;
        const uint32_t type = mesh->GetIndexType();
        if (batches == 1)
            glDrawElements(mode, counts[0], type, indices[0]);
        else if (glMultiDrawElements)
            glMultiDrawElements(mode, counts, type, indices, batches);
        else
            for (int i = 0; i < batches; ++i)
                glDrawElements(mode, counts[i], type, indices[i]);
        return;
    }
    const int* firsts = mesh->GetBatchFirsts();
    if (!firsts)
        return;
    if (batches == 1)
        glDrawArrays(mode, firsts[0], counts[0]);
    else if (glMultiDrawArrays)
        glMultiDrawArrays(mode, firsts, counts, batches);
    else
        for (int i = 0; i < batches; ++i)
            glDrawArrays(mode, firsts[i], counts[i]);
}

void drawSpriteBatches(Poly3D* mesh, uint32_t mode, int batches)
{
    const int* counts = mesh->GetBatchCounts();
    const int* firsts = mesh->GetBatchFirsts();
    if (!counts || !firsts)
        return;
    for (int i = 0; i < batches; ++i) {
        setupPointSprites(mesh, i);
        glDrawArrays(mode, firsts[i], counts[i]);
    }
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Traversal: world transforms, lights, the render list
//-----------------------------------------------------------------------------

RenderVisitor::RenderVisitor()
    : renderList(new Poly3D*[kInitialCapacity]), renderTransforms(new float[12 * kInitialCapacity]),
      renderColors(new uint32_t[kInitialCapacity])
{
    make_normal_mat(transformStack[0].matrix);
    make_normal_vec(transformStack[0].position);
    switchLightsOff(kMaxLights);
}

RenderVisitor::~RenderVisitor()
{
    delete[] renderList;
    delete[] renderTransforms;
    delete[] renderColors;
}

void RenderVisitor::Reset()
{
    depth = 0;
    camera = nullptr;
    count = 0;
    overrideEnabled = false;
    overrideColor = 0;
    lightCount = 0;
    switchLightsOff(kMaxLights);
}

void RenderVisitor::switchLightsOff(int lights)
{
    for (int i = 0; i < lights; ++i)
        gls_set(Light0 + i, 0);
}

void RenderVisitor::worldTransform(const float* matrix, const float* position, float* worldMatrix,
                                   float* worldPosition) const
{
    copy_mat(matrix, worldMatrix);
    copy_vec(position, worldPosition);
    for (int i = depth - 1; i >= 0; --i)
        compose_transform_self(transformStack[i].matrix, transformStack[i].position, worldMatrix,
                               worldPosition);
}

void RenderVisitor::VisitGroup(GroupNode3D* group)
{
    // A group this deep has no stack entry left; its children are too deep to be drawn.
    if (depth >= kTransformStackSize)
        return;
    copy_mat(group->matrix, transformStack[depth].matrix);
    copy_vec(group->position, transformStack[depth].position);
}

void RenderVisitor::EnterGroup()
{
    ++depth;
}

void RenderVisitor::LeaveGroup()
{
    if (depth > 0)
        --depth;
}

void RenderVisitor::VisitCamera(Camera3D* visited)
{
    if (visitedTooDeep())
        return;
    camera = visited;
    worldTransform(visited->matrix, visited->position, visited->worldMatrix, visited->worldPosition);
}

void RenderVisitor::VisitLight(Light3D* light)
{
    if (visitedTooDeep() || lightCount >= kMaxLights)
        return;
    const GLenum id = GL_LIGHT0 + GLenum(lightCount);
    float rgba[4];
    unpackColor(light->GetAmbient(), rgba);
    glLightfv(id, GL_AMBIENT, rgba);
    unpackColor(light->GetDiffuse(), rgba);
    glLightfv(id, GL_DIFFUSE, rgba);
    unpackColor(light->GetSpecular(), rgba);
    glLightfv(id, GL_SPECULAR, rgba);
    float worldMatrix[9], where[4];
    worldTransform(light->matrix, light->position, worldMatrix, where);
    where[3] = 1; // positional
    glLightfv(id, GL_POSITION, where);
    glLightf(id, GL_CONSTANT_ATTENUATION, light->constantAttenuation);
    glLightf(id, GL_LINEAR_ATTENUATION, light->linearAttenuation);
    glLightf(id, GL_QUADRATIC_ATTENUATION, light->quadraticAttenuation);
    gls_set(Light0 + lightCount, 1);
    ++lightCount;
}

void RenderVisitor::VisitPoly(Poly3D* poly)
{
    if (visitedTooDeep())
        return;
    if (count >= capacity) {
        const long long grown = ((static_cast<long long>(capacity) * 3 + 3) >> 1) + 5;
        if (grown > INT_MAX / 12)
            throw BasicException(kOutOfMemory);
        const int newCapacity = int(grown);
        Poly3D** nodes = new (std::nothrow) Poly3D*[size_t(newCapacity)];
        float* transforms = new (std::nothrow) float[12 * size_t(newCapacity)];
        uint32_t* colors = new (std::nothrow) uint32_t[size_t(newCapacity)];
        if (!nodes || !transforms || !colors) {
            // Capacity keeps describing the arrays still in use.
            delete[] nodes;
            delete[] transforms;
            delete[] colors;
            throw BasicException(kOutOfMemory);
        }
        std::memcpy(nodes, renderList, sizeof(Poly3D*) * size_t(count));
        std::memcpy(transforms, renderTransforms, sizeof(float) * 12 * size_t(count));
        std::memcpy(colors, renderColors, sizeof(uint32_t) * size_t(count));
        delete[] renderList;
        delete[] renderTransforms;
        delete[] renderColors;
        renderList = nodes;
        renderTransforms = transforms;
        renderColors = colors;
        capacity = newCapacity;
    }
    float* transform = renderTransforms + 12 * size_t(count);
    worldTransform(poly->matrix, poly->position, transform, transform + 9);
    renderList[count] = poly;
    renderColors[count] = overrideEnabled ? overrideColor : poly->GetColor();
    ++count;
}

void RenderVisitor::SetOverrideColor(bool enable, uint32_t color)
{
    overrideEnabled = enable;
    overrideColor = color;
}

//-----------------------------------------------------------------------------
// [SECTION] Render: projection, view, order, per-mesh drawing, reset
//-----------------------------------------------------------------------------

void RenderVisitor::Render(bool clear, bool flipVertical, int32_t alpha, int32_t red, int32_t green,
                           int32_t blue, bool ortho)
{
    if (!camera) {
        switchLightsOff(lightCount);
        return;
    }
    // 1. Clear depth, and the colour buffer too when asked, to the clamped clear colour.
    if (clear) {
        gls_push(ClearColor, (uint32_t(clampChannel(alpha)) << 24) | (uint32_t(clampChannel(red)) << 16) |
                                 (uint32_t(clampChannel(green)) << 8) | uint32_t(clampChannel(blue)));
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gls_pop(ClearColor);
    } else {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    // 2. Remember the cached colour (step 7.15 restores it) and switch the vertex array on.
    const uint32_t savedColor = gls_get(Color);
    glEnableClientState(GL_VERTEX_ARRAY);

    // 3. Projection from the camera's frustum, upside down for a render into a texture.
    float left, right, bottom, top, nearPlane, farPlane;
    camera->GetFrustrumData(left, right, bottom, top, nearPlane, farPlane);
    if (flipVertical) {
        const float swap = bottom;
        bottom = top;
        top = swap;
    }
    gls_push_projection(left, right, bottom, top, nearPlane, farPlane, ortho);

    // 4. View: the inverse of the camera's world transform, loaded as the modelview matrix.
    gls_push_matrix_mode(GL_MODELVIEW);
    float viewMatrix[9], viewPosition[3], gl[16];
    inverse_transform(camera->worldMatrix, camera->worldPosition, viewMatrix, viewPosition);
    make_gl_matrix(viewMatrix, viewPosition, gl);
    glLoadMatrixf(gl);

    // 5. Order the meshes: opaque ones in visit order, then the transparent ones back to front.
    const int opaque = order_.Build(renderList, count);
    const int* order = order_.indices();

    // 6. Back faces culled and every colour channel written while drawing. The mirrored projection of a
    //    flipped render turns the winding of every triangle over.
    if (flipVertical)
        glFrontFace(GL_CW);
    gls_push(CullEnable, 1);
    gls_push(CullFace, GL_BACK);
    gls_push(ColorMask, 15);

    // 7. Draw the meshes in that order (7.1: from the first transparent one on, depth is tested but not
    //    written; 7.2 to 7.18 are drawMesh's steps).
    for (int k = 0; k < count; ++k) {
        if (k == opaque)
            gls_push(DepthMask, 0);
        drawMesh(order[k], savedColor);
    }

    // 8. Winding, culling, colour mask and depth writes back as they were before step 6.
    if (flipVertical)
        glFrontFace(GL_CCW);
    gls_pop(CullEnable);
    gls_pop(CullFace);
    gls_pop(ColorMask);
    if (opaque < count)
        gls_pop(DepthMask);

    // 9. Leave GL clean: identity texture and modelview matrices, no program, client arrays off, the
    //    projection popped and the lights of this traversal switched off.
    gls_push_matrix_mode(GL_TEXTURE);
    glLoadIdentity();
    gls_pop_matrix_mode();
    glLoadIdentity();
    useProgram(0);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    gls_pop_projection();
    gls_pop_matrix_mode();
    switchLightsOff(lightCount);
}

void RenderVisitor::drawMesh(int index, uint32_t savedColor)
{
    Poly3D* mesh = renderList[index];
    const float* transform = renderTransforms + 12 * size_t(index);

    // 7.2 Place the mesh: multiply its world transform onto the view.
    float gl[16];
    glPushMatrix();
    make_gl_matrix(transform, transform + 9, gl);
    glMultMatrixf(gl);

    // 7.3 Bind the mesh's shader program (with its parameters), or none.
    if (mesh->UsesShaders()) {
        useProgram(mesh->GetProgram());
        mesh->SetShaderParameters();
    } else {
        useProgram(0);
    }

    // 7.4-7.5 Bind the mesh's vertex and index buffers, if it has any, and point GL at its vertices.
    const uint32_t vertexBuffer = mesh->GetVertexBuffer(), indexBuffer = mesh->GetIndexBuffer();
    if ((vertexBuffer != 0 || indexBuffer != 0) && glBindBufferARB) {
        if (vertexBuffer != 0)
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
        if (indexBuffer != 0)
            glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer);
    }
    glVertexPointer(3, GL_FLOAT, mesh->GetVertexStride(), mesh->GetVertices());

    // 7.6 Colour: the mesh's colour array, or the colour collected for it in the traversal.
    if (mesh->HasColors()) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, mesh->GetColorStride(), mesh->GetColors());
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        gls_set(Color, renderColors[index]);
    }

    // 7.7 Texture: bind it, with texture coordinates scaled by the mesh's scale when it has them. Answers
    //     that decide a push are asked once, so every push meets its pop.
    const bool textured = mesh->HasTexture();
    if (textured) {
        gls_push_texture_enable(true);
        gls_push_bind_texture(mesh->GetTextureId());
        if (mesh->HasTexCoords()) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, mesh->GetTextureType(), 0, mesh->GetTexCoords());
            const float scale = mesh->GetTexCoordScale();
            const float s = scale != 0 ? 1.0f / scale : 1.0f;
            gls_push_matrix_mode(GL_TEXTURE);
            glLoadIdentity();
            glScalef(s, s, s);
            gls_pop_matrix_mode();
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    // 7.8 Blending with the mesh's equation and factors, when it asks for it.
    const bool blended = mesh->NeedsBlending();
    if (blended) {
        gls_push(BlendEnable, 1);
        gls_push(BlendEquation, mesh->GetBlendEquation());
        gls_push(BlendSrc, mesh->GetBlendSrc());
        gls_push(BlendDst, mesh->GetBlendDst());
    }

    // 7.9 Culling as the mesh asks: which faces, or none.
    if (mesh->IsCulled()) {
        gls_set(CullEnable, 1);
        gls_set(CullFace, mesh->GetCullMode());
    } else {
        gls_set(CullEnable, 0);
    }

    // 7.10 Lighting for a mesh with normals: its material, or its colours standing in for one.
    const bool lit = mesh->HasNormals();
    const MaterialRecord* material = mesh->material;
    if (lit) {
        gls_push(Lighting, 1);
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, mesh->GetNormalStride(), mesh->GetNormals());
        if (material) {
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material->ambient);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material->diffuse);
            glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material->specular);
            // GL refuses shininess outside 0..128 and would keep the previous mesh's.
            const float shininess = material->shininess;
            glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS,
                        shininess < 0 ? 0 : (shininess > 128 ? 128 : shininess));
        } else {
            glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
            glEnable(GL_COLOR_MATERIAL);
        }
        glEnable(GL_NORMALIZE);
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }

    // 7.11 Colour channels the mesh writes.
    gls_set(ColorMask, mesh->GetColorMask());

    // 7.12 Draw every batch, as point sprites for points.
    const uint32_t mode = mesh->GetPrimitiveType();
    const int batches = mesh->GetBatchCount();
    bool sprites = false;
    // Sizes per batch are sprite sizes, so only points take them: with sprite coordinates switched on,
    // Mesa hands quads the sprite's coordinates too, and every square showed a single texel.
    if (mode == GL_POINTS && mesh->HasBatchPointSizes()) {
        glEnable(GL_POINT_SPRITE_ARB);
        sprites = true;
        drawSpriteBatches(mesh, mode, batches);
    } else {
        if (mode == GL_POINTS) {
            glEnable(GL_POINT_SPRITE_ARB);
            sprites = true;
            setupPointSprites(mesh, 0);
        }
        drawBatches(mesh, mode, batches);
    }

    // 7.13 Sprite state goes back whenever it was switched on, whatever the primitive.
    if (sprites)
        resetPointSprites();

    // 7.14 Lighting off again, GL's default material back.
    if (lit) {
        gls_pop(Lighting);
        if (material) {
            const float ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
            const float specular[4] = {0, 0, 0, 1};
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
            glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
        } else {
            glDisable(GL_COLOR_MATERIAL);
        }
        glDisable(GL_NORMALIZE);
    }

    // 7.15 Restore the colour remembered in step 2: a colour array leaves GL's current colour undefined,
    //     so the cached one is sent again.
    gls_set(Color, savedColor == 0 ? 1 : 0);
    gls_set(Color, savedColor);

    // 7.16-7.17 Texture and blending state back as they were.
    if (textured) {
        gls_pop_texture_enable();
        gls_pop_bind_texture();
    }
    if (blended) {
        gls_pop(BlendEnable);
        gls_pop(BlendEquation);
        gls_pop(BlendSrc);
        gls_pop(BlendDst);
    }

    // 7.18 Unbind the buffers and drop the mesh's transform.
    unbindBuffers();
    glPopMatrix();
}
