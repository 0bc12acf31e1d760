#include "gui_check_box.h"

#include "gui_painter.h"

namespace
{
constexpr uint32_t kTickColour = 0xFFC0FFC0;
} // namespace

GUICheckBox::GUICheckBox(GUIListener* listener, int x, int y, int size, int id, bool checked, uint32_t colour)
    : GUIWidget(listener, x, y, size, size, id), checked_(checked), colour_(colour)
{
}

void GUICheckBox::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_, last = width_ - 1;
    painter->FillRect(ax, ay, width_, height_, colour_);
    if (!checked_) {
        painter->Frame(ax, ay, last, last, kFrameLight, kFrameDark);
        return;
    }
    painter->Frame(ax, ay, last, last, kFrameDark, kFrameLight);
    painter->Line(ax + 1, ay + 1, ax + last - 1, ay + last - 1, kTickColour);
    painter->Line(ax + last - 1, ay + 1, ax + 1, ay + last - 1, kTickColour);
}

bool GUICheckBox::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    const GUIClick::Result result =
        click_.Track(event, Contains(ox, oy, event.pressX, event.pressY), Contains(ox, oy, event.x, event.y));
    if (result == GUIClick::kClicked) {
        checked_ = !checked_;
        Notify();
    }
    return result != GUIClick::kIgnored;
}
