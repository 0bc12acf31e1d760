#include "gui_button.h"

#include "gui_painter.h"

GUIButton::GUIButton(GUIListener* listener, int x, int y, int width, int height, int id, const char* text,
                     uint32_t background, uint32_t textColour, int fontSize)
    : GUITextWidget(listener, x, y, width, height, id, textColour, "", fontSize), text_(text ? text : ""),
      background_(background)
{
    EnsureTextHeight();
}

void GUIButton::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_;
    const bool down = click_.armed();
    painter->FillRect(ax, ay, width_, height_, background_);
    painter->Frame(ax, ay, width_ - 1, height_ - 1, down ? kFrameDark : kFrameLight,
                   down ? kFrameLight : kFrameDark);
    DrawCentredText(ax + (down ? 6 : 5), ay + (down ? 1 : 0), text_.c_str());
}

bool GUIButton::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    const GUIClick::Result result =
        click_.Track(event, Contains(ox, oy, event.pressX, event.pressY), Contains(ox, oy, event.x, event.y));
    if (result == GUIClick::kClicked)
        Notify();
    return result != GUIClick::kIgnored;
}
