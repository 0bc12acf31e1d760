// GL state cache: the context, its stacks, and bringing GL in line with a context.
//
// Index
//   [SECTION] Errors and access to the current context
//   [SECTION] The GL calls of each kind of state
//   [SECTION] State slots
//   [SECTION] Viewport, projection, texture and matrix-mode stacks
//   [SECTION] Making contexts current
#include "glstate.h"

#include <GL/gl.h>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "gl_functions_internal.h"

GLStateContext::GLStateContext(unsigned width, unsigned height)
    : screenWidth(width), screenHeight(height), textureEnable{false}, textureEnableDepth(0), boundTexture{0},
      boundTextureDepth(0), matrixMode{GL_MODELVIEW},
      matrixModeDepth(0), viewport{{0, 0, int32_t(width), int32_t(height)}},
      viewportDepth(0), projection{{-(width / 2.0), width / 2.0, height / 2.0, -(height / 2.0), 1.0, 1000.0,
                                    false}},
      projectionDepth(0), slotDepth{}, slots{}
{
    static const uint32_t kInitial[kGLStateSlotCount] = {
        0,           GL_ZERO,   GL_ZERO, 0x8006 /* GL_FUNC_ADD */,
        0xFFFFFFFFu, 0,         15,      0,
        1,           GL_SMOOTH, 0,       1000,
        0,           700,       0,       0,
        GL_BACK,     0,         0,       0,
        0,           0,         0,       0,
        0,           0,
    };
    for (int slot = 0; slot < kGLStateSlotCount; ++slot)
        slots[slot][0] = kInitial[slot];
}

namespace
{

GLStateContext* gCurrent = nullptr;

//-----------------------------------------------------------------------------
// [SECTION] Errors and access to the current context
//-----------------------------------------------------------------------------

[[noreturn]] void fail(const char* operation, const char* problem, int slot = -1)
{
    char text[160];
    if (slot >= 0)
        std::snprintf(text, sizeof(text), "%s: %s (slot %d)", operation, problem, slot);
    else
        std::snprintf(text, sizeof(text), "%s: %s", operation, problem);
    throw std::logic_error(text);
}

GLStateContext& current(const char* operation)
{
    if (!gCurrent)
        fail(operation, "no current GL state context");
    return *gCurrent;
}

void check_slot(const char* operation, int slot)
{
    if (slot < 0 || slot >= kGLStateSlotCount)
        fail(operation, "no such state slot", slot);
}

uint32_t& top(GLStateContext& ctx, int slot)
{
    return ctx.slots[slot][ctx.slotDepth[slot]];
}

uint32_t top(const GLStateContext& ctx, int slot)
{
    return ctx.slots[slot][ctx.slotDepth[slot]];
}

bool same(const GLViewportEntry& a, const GLViewportEntry& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

bool same(const GLProjectionEntry& a, const GLProjectionEntry& b)
{
    return a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top &&
           a.nearPlane == b.nearPlane && a.farPlane == b.farPlane && a.ortho == b.ortho;
}

bool same(uint32_t a, uint32_t b)
{
    return a == b;
}

bool same(bool a, bool b)
{
    return a == b;
}

//-----------------------------------------------------------------------------
// [SECTION] The GL calls of each kind of state
//-----------------------------------------------------------------------------

void issue_enable(uint32_t cap, bool on)
{
    if (on)
        gls_gl().Enable(cap);
    else
        gls_gl().Disable(cap);
}

void issue_clip_plane(int slot, uint32_t value)
{
    // Slots 11..14 are planes 0..3: x <= v, x >= v, y <= v, y >= v.
    const int index = slot - ClipMaxX;
    const double sign = (slot == ClipMaxX || slot == ClipMaxY) ? -1.0 : 1.0;
    double equation[4] = {0.0, 0.0, 0.0, 0.0};
    equation[index / 2] = sign;
    equation[3] = -(double(int32_t(value)) * sign);
    gls_gl().ClipPlane(GL_CLIP_PLANE0 + index, equation);
}

// Issues the GL call of `slot` for the top values of ctx.
void issue_slot(const GLStateContext& ctx, int slot)
{
    const uint32_t v = top(ctx, slot);
    const GLStateFunctions& gl = gls_gl();
    switch (slot) {
    case BlendEnable:
        issue_enable(GL_BLEND, v != 0);
        break;
    case BlendSrc:
    case BlendDst:
        gl.BlendFunc(top(ctx, BlendSrc), top(ctx, BlendDst));
        break;
    case BlendEquation:
        gl.BlendEquation(v);
        break;
    case Color:
        gl.Color4d(((v >> 16) & 0xFF) * (1.0 / 255.0), ((v >> 8) & 0xFF) * (1.0 / 255.0),
                   (v & 0xFF) * (1.0 / 255.0), (v >> 24) * (1.0 / 255.0));
        break;
    case ClearColor:
        gl.ClearColor(((v >> 16) & 0xFF) * (1.0f / 255.0f), ((v >> 8) & 0xFF) * (1.0f / 255.0f),
                      (v & 0xFF) * (1.0f / 255.0f), (v >> 24) * (1.0f / 255.0f));
        break;
    case ColorMask:
        gl.ColorMask((v & 4) != 0, (v & 2) != 0, (v & 1) != 0, (v & 8) != 0);
        break;
    case DepthTest:
        issue_enable(GL_DEPTH_TEST, v != 0);
        break;
    case DepthMask:
        gl.DepthMask(v != 0);
        break;
    case ShadeModel:
        gl.ShadeModel(v);
        break;
    case ClipEnable:
        for (int plane = 0; plane < 4; ++plane)
            issue_enable(GL_CLIP_PLANE0 + plane, v != 0);
        break;
    case ClipMaxX:
    case ClipMinX:
    case ClipMaxY:
    case ClipMinY:
        issue_clip_plane(slot, v);
        break;
    case CullEnable:
        issue_enable(GL_CULL_FACE, v != 0);
        break;
    case CullFace:
        gl.CullFace(v);
        break;
    case Lighting:
        issue_enable(GL_LIGHTING, v != 0);
        break;
    default: // Light0 .. Light7
        issue_enable(GL_LIGHT0 + (slot - Light0), v != 0);
        break;
    }
}

// The rectangle GL receives: the cache keeps y downwards from the top of the window, GL upwards from
// the bottom. Computed in 64 bits so that no input overflows.
GLViewportEntry gl_viewport(const GLStateContext& ctx, const GLViewportEntry& v)
{
    const int64_t y = int64_t(int(ctx.screenHeight)) - v.y - v.h;
    const int32_t clamped = int32_t(y < INT32_MIN ? INT32_MIN : (y > INT32_MAX ? INT32_MAX : y));
    return {v.x, clamped, v.w, v.h};
}

void issue_viewport(const GLStateContext& ctx, const GLViewportEntry& v)
{
    const GLViewportEntry r = gl_viewport(ctx, v);
    gls_gl().Viewport(r.x, r.y, r.w, r.h);
}

void issue_projection(const GLProjectionEntry& p)
{
    gls_push_matrix_mode(GL_PROJECTION);
    gls_gl().LoadIdentity();
    if (p.ortho)
        gls_gl().Ortho(p.left, p.right, p.bottom, p.top, p.nearPlane, p.farPlane);
    else
        gls_gl().Frustum(p.left, p.right, p.bottom, p.top, p.nearPlane, p.farPlane);
    gls_pop_matrix_mode();
}

void issue_texture_enable(bool on)
{
    issue_enable(GL_TEXTURE_2D, on);
}

void issue_bound_texture(uint32_t name)
{
    gls_gl().BindTexture(GL_TEXTURE_2D, name);
}

void issue_matrix_mode(uint32_t mode)
{
    gls_gl().MatrixMode(mode);
}

//-----------------------------------------------------------------------------
// [SECTION] Generic stack operations
//-----------------------------------------------------------------------------

// Raises the depth and stores value as the new top, issuing it when it differs from the old top. A full
// stack throws before anything is written.
template <typename T, typename Issue>
void push_entry(const char* operation, T* stack, int32_t& depth, const T& value, Issue issue)
{
    if (depth >= kGLStateStackDepth - 1)
        fail(operation, "stack already holds 32 entries");
    const bool differs = !same(stack[depth], value);
    stack[++depth] = value;
    if (differs)
        issue(value);
}

// Lowers the depth, issuing the new top when it differs from the entry left.
template <typename T, typename Issue>
void pop_entry(const char* operation, T* stack, int32_t& depth, Issue issue)
{
    if (depth <= 0)
        fail(operation, "stack is at its base entry");
    const T left = stack[depth];
    --depth;
    if (!same(stack[depth], left))
        issue(stack[depth]);
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] State slots
//-----------------------------------------------------------------------------

uint32_t gls_get(int slot)
{
    check_slot("gls_get", slot);
    return top(current("gls_get"), slot);
}

void gls_set(int slot, uint32_t value)
{
    check_slot("gls_set", slot);
    GLStateContext& ctx = current("gls_set");
    uint32_t& entry = top(ctx, slot);
    if (entry == value)
        return;
    entry = value;
    issue_slot(ctx, slot);
}

void gls_push(int slot, uint32_t value)
{
    check_slot("gls_push", slot);
    GLStateContext& ctx = current("gls_push");
    int32_t& depth = ctx.slotDepth[slot];
    if (depth >= kGLStateStackDepth - 1)
        fail("gls_push", "stack already holds 32 entries", slot);
    ctx.slots[slot][depth + 1] = ctx.slots[slot][depth];
    ++depth;
    gls_set(slot, value);
}

void gls_pop(int slot)
{
    check_slot("gls_pop", slot);
    GLStateContext& ctx = current("gls_pop");
    int32_t& depth = ctx.slotDepth[slot];
    if (depth <= 0)
        fail("gls_pop", "stack is at its base entry", slot);
    gls_set(slot, ctx.slots[slot][depth - 1]);
    --depth;
}

//-----------------------------------------------------------------------------
// [SECTION] Viewport, projection, texture and matrix-mode stacks
//-----------------------------------------------------------------------------

int gls_screen_width()
{
    return int(current("gls_screen_width").screenWidth);
}

int gls_screen_height()
{
    return int(current("gls_screen_height").screenHeight);
}

int32_t gls_scale_pixels(int32_t pixels)
{
    const int64_t scaled = int64_t(pixels) * current("gls_scale_pixels").pixelScale;
    return int32_t(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

int gls_viewport_width()
{
    const GLStateContext& ctx = current("gls_viewport_width");
    return ctx.viewport[ctx.viewportDepth].w;
}

void gls_push_viewport(int32_t x, int32_t y, int32_t w, int32_t h)
{
    GLStateContext& ctx = current("gls_push_viewport");
    push_entry("gls_push_viewport", ctx.viewport, ctx.viewportDepth, GLViewportEntry{x, y, w, h},
               [&](const GLViewportEntry& v) { issue_viewport(ctx, v); });
}

void gls_pop_viewport()
{
    GLStateContext& ctx = current("gls_pop_viewport");
    pop_entry("gls_pop_viewport", ctx.viewport, ctx.viewportDepth,
              [&](const GLViewportEntry& v) { issue_viewport(ctx, v); });
}

void gls_set_viewport(int32_t x, int32_t y, int32_t w, int32_t h)
{
    GLStateContext& ctx = current("gls_set_viewport");
    const GLViewportEntry v{x, y, w, h};
    GLViewportEntry& entry = ctx.viewport[ctx.viewportDepth];
    if (same(entry, v))
        return;
    entry = v;
    issue_viewport(ctx, v);
}

void gls_push_projection(double left, double right, double bottom, double top, double nearPlane,
                         double farPlane, bool ortho)
{
    GLStateContext& ctx = current("gls_push_projection");
    push_entry("gls_push_projection", ctx.projection, ctx.projectionDepth,
               GLProjectionEntry{left, right, bottom, top, nearPlane, farPlane, ortho}, issue_projection);
}

void gls_pop_projection()
{
    GLStateContext& ctx = current("gls_pop_projection");
    pop_entry("gls_pop_projection", ctx.projection, ctx.projectionDepth, issue_projection);
}

void gls_push_texture_enable(bool enable)
{
    GLStateContext& ctx = current("gls_push_texture_enable");
    push_entry("gls_push_texture_enable", ctx.textureEnable, ctx.textureEnableDepth, enable,
               issue_texture_enable);
}

void gls_pop_texture_enable()
{
    GLStateContext& ctx = current("gls_pop_texture_enable");
    pop_entry("gls_pop_texture_enable", ctx.textureEnable, ctx.textureEnableDepth, issue_texture_enable);
}

void gls_push_bind_texture(uint32_t texture)
{
    GLStateContext& ctx = current("gls_push_bind_texture");
    push_entry("gls_push_bind_texture", ctx.boundTexture, ctx.boundTextureDepth, texture,
               issue_bound_texture);
}

void gls_pop_bind_texture()
{
    GLStateContext& ctx = current("gls_pop_bind_texture");
    pop_entry("gls_pop_bind_texture", ctx.boundTexture, ctx.boundTextureDepth, issue_bound_texture);
}

void gls_bind_texture(uint32_t texture)
{
    GLStateContext& ctx = current("gls_bind_texture");
    uint32_t& entry = ctx.boundTexture[ctx.boundTextureDepth];
    if (entry == texture)
        return;
    entry = texture;
    issue_bound_texture(texture);
}

void gls_push_matrix_mode(uint32_t mode)
{
    GLStateContext& ctx = current("gls_push_matrix_mode");
    push_entry("gls_push_matrix_mode", ctx.matrixMode, ctx.matrixModeDepth, mode, issue_matrix_mode);
}

void gls_pop_matrix_mode()
{
    GLStateContext& ctx = current("gls_pop_matrix_mode");
    pop_entry("gls_pop_matrix_mode", ctx.matrixMode, ctx.matrixModeDepth, issue_matrix_mode);
}

//-----------------------------------------------------------------------------
// [SECTION] Making contexts current
//-----------------------------------------------------------------------------

namespace
{

// Makes ctx current and issues what differs from previous (everything when previous is null). With
// allSlots every slot is issued whatever previous holds: GL may hold anything when a context is adopted.
GLStateContext* bring_in_line(GLStateContext* ctx, bool allSlots)
{
    GLStateContext* previous = gCurrent;
    gCurrent = ctx;
    if (!ctx)
        return previous;

    for (int slot = 0; slot < kGLStateSlotCount; ++slot)
        if (allSlots || !previous || top(*previous, slot) != top(*ctx, slot))
            issue_slot(*ctx, slot);

    const bool textureEnable = ctx->textureEnable[ctx->textureEnableDepth];
    if (!previous || previous->textureEnable[previous->textureEnableDepth] != textureEnable)
        issue_texture_enable(textureEnable);
    const uint32_t bound = ctx->boundTexture[ctx->boundTextureDepth];
    if (!previous || previous->boundTexture[previous->boundTextureDepth] != bound)
        issue_bound_texture(bound);
    const uint32_t mode = ctx->matrixMode[ctx->matrixModeDepth];
    if (!previous || previous->matrixMode[previous->matrixModeDepth] != mode)
        issue_matrix_mode(mode);

    // Compared as GL receives them: the two caches may have different window heights.
    const GLViewportEntry& viewport = ctx->viewport[ctx->viewportDepth];
    if (!previous || !same(gl_viewport(*previous, previous->viewport[previous->viewportDepth]),
                           gl_viewport(*ctx, viewport)))
        issue_viewport(*ctx, viewport);

    const GLProjectionEntry& projection = ctx->projection[ctx->projectionDepth];
    if (!previous || !same(previous->projection[previous->projectionDepth], projection))
        issue_projection(projection);
    return previous;
}

} // namespace

GLStateContext* gls_make_current(GLStateContext* ctx)
{
    return bring_in_line(ctx, true);
}

GLStateContext* gls_switch_context(GLStateContext* ctx)
{
    return bring_in_line(ctx, false);
}

void gls_set_context(GLStateContext* ctx)
{
    gCurrent = ctx;
}

GLStateContext* gls_swap_context(GLStateContext* ctx)
{
    GLStateContext* previous = gCurrent;
    gCurrent = ctx;
    return previous;
}

GLStateContext* gls_current_context()
{
    return gCurrent;
}
