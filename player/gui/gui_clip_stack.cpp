#include "gui_clip_stack.h"

#include "glstate.h"
#include "gui_messages.h"
#include "vortel/plugin.h"

namespace
{

// Plane order inside a level: left, right, top, bottom.
constexpr int kPlaneSlot[4] = {ClipMinX, ClipMaxX, ClipMinY, ClipMaxY};

int& limit(GUIClipStack::Limits& limits, int plane)
{
    int* members[4] = {&limits.left, &limits.right, &limits.top, &limits.bottom};
    return *members[plane];
}

bool narrows(int plane, int value, int current)
{
    // Planes 0 and 2 are lower limits, 1 and 3 upper limits.
    return (plane % 2 == 0) ? value > current : value < current;
}

bool slot_stack_full(int slot)
{
    GLStateContext* ctx = gls_current_context();
    return ctx && ctx->slotDepth[slot] >= kGLStateStackDepth - 1;
}

} // namespace

void GUIClipStack::Narrow(Level& level, int plane, int value)
{
    const int slot = kPlaneSlot[plane];
    limit(level.limits, plane) = value;
    // The cache holds 32 entries per slot while this stack allows 255 levels: once a slot's stack is full
    // the value is replaced in place and put back by the matching Pop.
    if (slot_stack_full(slot)) {
        level.change[plane] = Change::Replaced;
        level.replaced[plane] = gls_get(slot);
        gls_set(slot, uint32_t(value));
    } else {
        level.change[plane] = Change::Pushed;
        gls_push(slot, uint32_t(value));
    }
}

void GUIClipStack::Restore(const Level& level, int plane)
{
    const int slot = kPlaneSlot[plane];
    if (level.change[plane] == Change::Pushed)
        gls_pop(slot);
    else if (level.change[plane] == Change::Replaced)
        gls_set(slot, level.replaced[plane]);
}

void GUIClipStack::Push(int left, int right, int top, int bottom)
{
    if (depth_ >= kMaxLevels)
        throw BasicException(gui_msg::kClipOverflow);
    Level& level = levels_[depth_];
    Limits wanted{left, right, top, bottom};
    for (int plane = 0; plane < 4; ++plane) {
        level.change[plane] = Change::None;
        if (depth_ == 0) {
            Narrow(level, plane, limit(wanted, plane));
        } else {
            Limits current = levels_[depth_ - 1].limits;
            limit(level.limits, plane) = limit(current, plane);
            if (narrows(plane, limit(wanted, plane), limit(current, plane)))
                Narrow(level, plane, limit(wanted, plane));
        }
    }
    if (depth_ == 0)
        gls_push(ClipEnable, 1);
    ++depth_;
}

void GUIClipStack::Pop()
{
    if (depth_ <= 0)
        throw BasicException(gui_msg::kClipUnderflow);
    --depth_;
    const Level& level = levels_[depth_];
    if (depth_ == 0)
        gls_pop(ClipEnable);
    for (int plane = 3; plane >= 0; --plane)
        Restore(level, plane);
}
