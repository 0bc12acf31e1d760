#include "gui_slider.h"

#include "gui_painter.h"
#include "vortel/plugin.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr int kThickness = 9;
constexpr uint32_t kTrackBackground = 0xFF000000;
constexpr uint32_t kTrackOutline = 0xFFFFFFFF;
constexpr uint32_t kThumbColour = 0xFFFF4040;

int checked_length(int length)
{
    if (length < 1)
        throw BasicException();
    return length;
}
} // namespace

GUISlider::GUISlider(GUIListener* listener, int x, int y, int length, int id, int minimum, int maximum,
                     int value, bool horizontal)
    : GUIWidget(listener, x, y, horizontal ? checked_length(length) + 2 : kThickness + 2,
                horizontal ? kThickness + 2 : checked_length(length) + 2, id),
      length_(length), minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)),
      horizontal_(horizontal)
{
    SetValue(value);
}

void GUISlider::SetValue(int value)
{
    value_ = std::clamp(value, minimum_, maximum_);
}

void GUISlider::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_;
    painter->FillRect(ax, ay, width_, height_, kTrackBackground);
    painter->OutlineRect(ax, ay, width_, height_, kTrackOutline);
    const int64_t range = int64_t(maximum_) - minimum_;
    const int offset = range ? int((int64_t(value_) - minimum_) * (length_ - 1) / range) : 0;
    if (horizontal_)
        painter->VerticalLine(ax + 1 + offset, ay + 1, kThickness, kThumbColour);
    else
        painter->HorizontalLine(ax + 1, ay + 1 + offset, kThickness, kThumbColour);
}

bool GUISlider::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    if (event.phase == kMouseReleased || !Contains(ox, oy, event.pressX, event.pressY))
        return false;
    const int trackStart = horizontal_ ? ox + x_ + 1 : oy + y_ + 1;
    const int offset = (horizontal_ ? event.x : event.y) - trackStart;
    const int before = value_;
    SetValue(int(minimum_ + int64_t(offset) * (int64_t(maximum_) - minimum_) / length_));
    if (value_ != before)
        Notify();
    return true;
}
