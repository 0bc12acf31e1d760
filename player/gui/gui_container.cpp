#include "gui_container.h"

#include "gui_painter.h"
#include "gui_sdl_handler.h"
#include "vortel/plugin.h"

#include <algorithm>

namespace
{

constexpr uint32_t kScrollBarColour = 0xFF000000;
constexpr uint32_t kThumbColour = 0xFF0000FF;

int clamp_scroll(int value, int virtualSize, int size)
{
    return std::max(0, std::min(value, virtualSize - size));
}

} // namespace

GUIContainer::GUIContainer(GUIListener* listener, const char* title, int x, int y, int width, int height,
                           bool autoGrow)
    : GUIWidget(listener, x, y, width, height, 0), title_(title ? title : ""), autoGrow_(autoGrow),
      virtualWidth_(width_), virtualHeight_(height_), growWidth_(width_), growHeight_(height_)
{
}

GUIContainer::~GUIContainer()
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    if (handler.scrollDrag().container == this)
        handler.scrollDrag().container = nullptr;
    const int count = count_;
    count_ = 0;
    hoverIndex_ = -1;
    for (int i = count - 1; i >= 0; --i) {
        children_[i]->parent_ = nullptr;
        handler.ScheduleDelete(children_[i]);
    }
}

int GUIContainer::AddChild(GUIWidget* child)
{
    bool cycle = false;
    for (const GUIWidget* w = this; w && !cycle; w = w->parent_)
        cycle = (w == child);
    if (!child || cycle || child->x_ < 0 || child->y_ < 0 || child->parent_)
        throw BasicException();
    if (count_ >= kMaxChildren) {
        GUISDLHandler::Get().ScheduleDelete(child);
        return count_;
    }
    children_[count_++] = child;
    child->parent_ = this;

    const int right = child->x_ + child->width_, bottom = child->y_ + child->height_;
    if (autoGrow_) {
        if (right > growWidth_ || bottom > growHeight_) {
            RecomputeExtents();
            GrowAncestors();
        }
    } else {
        // The extra 7 pixels leave room for the scroll bar; once it is shown they are already counted.
        if (right > virtualWidth_ - (HorizontalBarShown() ? kScrollBarThickness : 0))
            virtualWidth_ = right + kScrollBarThickness;
        if (bottom > virtualHeight_ - (VerticalBarShown() ? kScrollBarThickness : 0))
            virtualHeight_ = bottom + kScrollBarThickness;
    }
    GUISDLHandler::Get().RequestRedraw();
    return count_;
}

void GUIContainer::RecomputeExtents()
{
    for (int i = 0; i < count_; ++i) {
        growWidth_ = std::max(growWidth_, children_[i]->x_ + children_[i]->width_);
        growHeight_ = std::max(growHeight_, children_[i]->y_ + children_[i]->height_);
    }
    width_ = virtualWidth_ = growWidth_;
    height_ = virtualHeight_ = growHeight_;
}

void GUIContainer::GrowAncestors()
{
    for (GUIContainer* p = parent_; p && p->autoGrow_; p = p->parent_)
        p->RecomputeExtents();
}

GUIWidget* GUIContainer::FindChild(int id) const
{
    for (int i = 0; i < count_; ++i)
        if (children_[i]->id_ == id)
            return children_[i];
    return nullptr;
}

GUIWidget* GUIContainer::RemoveChild(int id)
{
    for (int i = 0; i < count_; ++i) {
        if (children_[i]->id_ == id) {
            GUIWidget* child = children_[i];
            RemoveAt(i);
            return child;
        }
    }
    return nullptr;
}

void GUIContainer::Detach(GUIWidget* child)
{
    for (int i = 0; i < count_; ++i) {
        if (children_[i] == child) {
            RemoveAt(i);
            return;
        }
    }
}

void GUIContainer::RemoveAt(int index)
{
    children_[index]->parent_ = nullptr;
    std::copy(children_ + index + 1, children_ + count_, children_ + index);
    --count_;
    if (hoverIndex_ == index)
        hoverIndex_ = -1;
    else if (hoverIndex_ > index)
        --hoverIndex_;
    GUISDLHandler::Get().RequestRedraw();
}

void GUIContainer::SetScroll(int scrollX, int scrollY)
{
    scrollX_ = clamp_scroll(scrollX, virtualWidth_, width_);
    scrollY_ = clamp_scroll(scrollY, virtualHeight_, height_);
}

void GUIContainer::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    if (!painter)
        return;
    const int ax = ox + x_, ay = oy + y_;
    painter->PushClip(ax, ax + width_ - 2, ay, ay + height_ - 2);
    for (int i = 0; i < count_; ++i) {
        GUIWidget* c = children_[i];
        const int cx = c->x_ - scrollX_, cy = c->y_ - scrollY_;
        if (c->visible_ && cx < width_ && cx + c->width_ > 0 && cy < height_ && cy + c->height_ > 0)
            c->Draw(ax - scrollX_, ay - scrollY_);
    }
    painter->PopClip();
    DrawScrollBars(ax, ay);
}

void GUIContainer::DrawScrollBars(int ax, int ay)
{
    GUIPainter* painter = gui_painter();
    const int t = kScrollBarThickness;
    if (HorizontalBarShown()) {
        painter->FillRect(ax, ay + height_ - t, width_, t, kScrollBarColour);
        const int length = width_ * width_ / virtualWidth_, offset = scrollX_ * width_ / virtualWidth_;
        painter->FillRect(ax + offset, ay + height_ - t + 1, length, t - 2, kThumbColour);
    }
    if (VerticalBarShown()) {
        painter->FillRect(ax + width_ - t, ay, t, height_, kScrollBarColour);
        const int length = height_ * height_ / virtualHeight_, offset = scrollY_ * height_ / virtualHeight_;
        painter->FillRect(ax + width_ - t + 1, ay + offset, t - 2, length, kThumbColour);
    }
}

bool GUIContainer::ScrollBarMouse(int ax, int ay, const MouseEventRecord& event, bool vertical)
{
    if (!(vertical ? VerticalBarShown() : HorizontalBarShown()))
        return false;
    GUISDLHandler::ScrollDrag& drag = GUISDLHandler::Get().scrollDrag();
    const int size = vertical ? height_ : width_;
    const int virtualSize = vertical ? virtualHeight_ : virtualWidth_;
    int& scroll = vertical ? scrollY_ : scrollX_;

    if (drag.container == this && drag.vertical == vertical) {
        if (event.phase == kMouseDragged) {
            const int current = vertical ? event.y : event.x;
            scroll =
                clamp_scroll(int((int64_t(current) + drag.thumbOffset - drag.press) * virtualSize / size),
                             virtualSize, size);
        } else if (event.phase == kMouseReleased) {
            drag.container = nullptr;
        }
        return true;
    }

    const int t = kScrollBarThickness;
    const bool onBar = vertical ? (event.pressX >= ax + width_ - t && event.pressX < ax + width_ &&
                                   event.pressY >= ay && event.pressY < ay + height_)
                                : (event.pressY >= ay + height_ - t && event.pressY < ay + height_ &&
                                   event.pressX >= ax && event.pressX < ax + width_);
    if (!onBar || is_wheel_button(event.button))
        return false;
    if (event.phase != kMousePressed)
        return true;

    const int thumbOffset = scroll * size / virtualSize;
    const int thumbLength = size * size / virtualSize;
    const int along = vertical ? event.pressY - ay : event.pressX - ax;
    // Paging by one thumb length on the bar is one container size in content pixels.
    if (along < thumbOffset) {
        scroll = clamp_scroll(scroll - size, virtualSize, size);
    } else if (along >= thumbOffset + thumbLength) {
        scroll = clamp_scroll(scroll + size, virtualSize, size);
    } else {
        drag.container = this;
        drag.vertical = vertical;
        drag.press = vertical ? event.pressY : event.pressX;
        drag.thumbOffset = thumbOffset;
    }
    return true;
}

bool GUIContainer::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    const int ax = ox + x_, ay = oy + y_;
    // 1, 2: scroll bars
    if (ScrollBarMouse(ax, ay, event, true) || ScrollBarMouse(ax, ay, event, false))
        return true;

    // 3: children, last added first
    const int contentRight = ax + width_ - (VerticalBarShown() ? kScrollBarThickness : 0);
    const int contentBottom = ay + height_ - (HorizontalBarShown() ? kScrollBarThickness : 0);
    if (event.pressX >= ax && event.pressX < contentRight && event.pressY >= ay &&
        event.pressY < contentBottom) {
        for (int i = count_ - 1; i >= 0; --i) {
            GUIWidget* c = children_[i];
            if (c->enabled_ && c->Mouse(ax - scrollX_, ay - scrollY_, event))
                return true;
        }
    }

    // 4: wheel
    if (event.phase == kMousePressed && is_wheel_button(event.button) &&
        Contains(ox, oy, event.pressX, event.pressY)) {
        const int before = scrollY_;
        scrollY_ =
            clamp_scroll(scrollY_ + (event.button == 4 ? -kWheelStep : kWheelStep), virtualHeight_, height_);
        return scrollY_ != before;
    }
    return false;
}

bool GUIContainer::Key(int symbol, int unicode, int modifiers)
{
    GUIWidget* hover = child(hoverIndex_);
    return hover && hover->enabled_ && hover->Key(symbol, unicode, modifiers);
}

bool GUIContainer::Hover(int x, int y)
{
    hoverHandled_ = false;
    if (x < x_ || x >= x_ + width_ || y < y_ || y >= y_ + height_)
        return false;
    const int cx = x - x_ + scrollX_, cy = y - y_ + scrollY_;
    int taken = -1;
    for (int i = count_ - 1; i >= 0 && taken < 0; --i)
        if (children_[i]->enabled_ && children_[i]->Hover(cx, cy))
            taken = i;
    if (hoverIndex_ >= 0 && hoverIndex_ != taken)
        children_[hoverIndex_]->Leave();
    hoverIndex_ = taken;
    hoverHandled_ = taken >= 0;
    return true;
}

void GUIContainer::Leave()
{
    if (GUIWidget* hover = child(hoverIndex_))
        hover->Leave();
    hoverIndex_ = -1;
}
