// GL state cache: one GLStateContext mirrors the fixed-function GL state the engine changes often, keeps a
// 32-deep stack per kind of state, and touches GL only when a requested value differs from the cached one.
//
// Contracts
//  - Every operation works on the current context of the calling deliverable (a plain global per binary).
//  - Entry 0 of each stack is the base value set at construction; at most 31 pushes may be outstanding.
//    Pushing beyond that, popping the base, a slot number outside 0..25, or any operation without a
//    current context are programming errors and throw std::logic_error; nothing is ever written outside
//    a stack.
//  - The top entry of every stack is what GL holds while the context is current. The fields are public
//    for reading; change state only through gls_* (one exception: deleting the bound texture, which GL
//    itself unbinds, sets the bound-texture top to 0).
//  - Pops compare the restored entry with the one left and touch GL only when they differ.
//  - Effects push every change and pop it before returning, so they leave GL as they found it.
//  - Viewports are given with the origin at the top-left, y downwards; GL gets (x, H - y - h, w, h).
//  - GL calls go through a table of function pointers (GLStateFunctions) that tests may replace.
#pragma once

#include <cstdint>

enum GLStateSlot : int {
    BlendEnable = 0,
    BlendSrc,
    BlendDst,
    BlendEquation,
    Color,      // 0xAARRGGBB
    ClearColor, // 0xAARRGGBB
    ColorMask,  // bit 2 red, bit 1 green, bit 0 blue, bit 3 alpha
    DepthTest,
    DepthMask,
    ShadeModel,
    ClipEnable, // all four clip planes together
    ClipMaxX,   // keeps x <= v
    ClipMinX,   // keeps x >= v
    ClipMaxY,   // keeps y <= v
    ClipMinY,   // keeps y >= v
    CullEnable,
    CullFace,
    Lighting,
    Light0,
    Light1,
    Light2,
    Light3,
    Light4,
    Light5,
    Light6,
    Light7,
    kGLStateSlotCount
};

constexpr int kGLStateStackDepth = 32;

struct GLViewportEntry {
    int32_t x, y, w, h;
};

struct GLProjectionEntry {
    double left, right, bottom, top, nearPlane, farPlane;
    bool ortho;
};

class GLStateContext
{
public:
    // Stores the window size; issues no GL call.
    GLStateContext(unsigned width, unsigned height);

    double screenWidth;
    double screenHeight;
    bool textureEnable[kGLStateStackDepth];
    int32_t textureEnableDepth;
    uint32_t boundTexture[kGLStateStackDepth];
    int32_t boundTextureDepth;
    uint32_t matrixMode[kGLStateStackDepth];
    int32_t matrixModeDepth;
    GLViewportEntry viewport[kGLStateStackDepth];
    int32_t viewportDepth;
    GLProjectionEntry projection[kGLStateStackDepth];
    int32_t projectionDepth;
    int32_t slotDepth[kGLStateSlotCount];
    uint32_t slots[kGLStateSlotCount][kGLStateStackDepth];
    // Screen pixels per pixel of the picture the viewer gets, each way: N while the player supersamples
    // by N (the screen is then N times the window's width and height), else 1.
    int32_t pixelScale = 1;
};

// The GL entry points the layer calls. Tests install a recorder with gls_set_functions.
struct GLStateFunctions {
    void (*Enable)(uint32_t cap);
    void (*Disable)(uint32_t cap);
    void (*BlendFunc)(uint32_t src, uint32_t dst);
    void (*BlendEquation)(uint32_t mode);
    void (*Color4d)(double r, double g, double b, double a);
    void (*ClearColor)(float r, float g, float b, float a);
    void (*ColorMask)(bool r, bool g, bool b, bool a);
    void (*DepthMask)(bool flag);
    void (*ShadeModel)(uint32_t mode);
    void (*ClipPlane)(uint32_t plane, const double* equation);
    void (*CullFace)(uint32_t mode);
    void (*BindTexture)(uint32_t target, uint32_t texture);
    void (*MatrixMode)(uint32_t mode);
    void (*Viewport)(int32_t x, int32_t y, int32_t w, int32_t h);
    void (*LoadIdentity)();
    void (*Ortho)(double l, double r, double b, double t, double n, double f);
    void (*Frustum)(double l, double r, double b, double t, double n, double f);
};

// Replaces the GL entry points (null restores the real ones). Returns the table that was in use.
const GLStateFunctions* gls_set_functions(const GLStateFunctions* functions);
// The real GL entry points.
const GLStateFunctions* gls_gl_functions();

// Makes ctx current and brings GL in line with it: every slot's GL call is issued once with its value;
// texture enable, bound texture, matrix mode, viewport and projection are issued where they differ from
// the previous context, or always when there was none. Null: no GL call. Returns the previous context.
GLStateContext* gls_make_current(GLStateContext* ctx);
// Makes ctx current with no GL call (a plug-in adopting the player's context).
void gls_set_context(GLStateContext* ctx);
// Makes ctx current with no GL call and returns the previous one.
GLStateContext* gls_swap_context(GLStateContext* ctx);
// Makes ctx current and issues the GL calls for every cached value (slot, texture enable, bound
// texture, matrix mode, viewport, projection) in which ctx differs from the context that was current,
// so GL ends equal to ctx when it equalled the previous cache. Both caches must describe the same GL
// context (the off-screen render target). No previous context: everything is issued, as by
// gls_make_current. Null ctx: no GL call. Returns the previous context.
GLStateContext* gls_switch_context(GLStateContext* ctx);
GLStateContext* gls_current_context();

int gls_screen_width();
int gls_screen_height();
int gls_viewport_width();
// A size an effect is given in pixels of the picture the viewer gets, in pixels of the screen drawn:
// times the current context's pixelScale, kept within int32_t.
int32_t gls_scale_pixels(int32_t pixels);

uint32_t gls_get(int slot);
void gls_set(int slot, uint32_t value);
void gls_push(int slot, uint32_t value);
void gls_pop(int slot);

void gls_push_viewport(int32_t x, int32_t y, int32_t w, int32_t h);
void gls_pop_viewport();
void gls_set_viewport(int32_t x, int32_t y, int32_t w, int32_t h);

void gls_push_projection(double left, double right, double bottom, double top, double nearPlane,
                         double farPlane, bool ortho);
void gls_pop_projection();

void gls_push_texture_enable(bool enable);
void gls_pop_texture_enable();

void gls_push_bind_texture(uint32_t texture);
void gls_pop_bind_texture();
void gls_bind_texture(uint32_t texture);

void gls_push_matrix_mode(uint32_t mode);
void gls_pop_matrix_mode();
