#include "gui_list_box.h"

#include "gui_font.h"
#include "gui_painter.h"
#include "gui_sdl_handler.h"
#include "vortel/plugin.h"

namespace
{
int rows_height(size_t count, int rowHeight)
{
    if (count == 0 || rowHeight == 0)
        throw BasicException();
    return int(count) * rowHeight;
}
} // namespace

GUIListBox::GUIListBox(GUIListener* listener, int x, int y, int width, int rowHeight, int id,
                       const std::vector<std::string>& items, int selected, uint32_t background,
                       uint32_t textColour)
    : GUITextWidget(listener, x, y, width, rows_height(items.size(), rowHeight), id, textColour),
      items_(items), rowHeight_(rowHeight < 0 ? -rowHeight : rowHeight), selected_(selected),
      background_(background)
{
}

void GUIListBox::OpenedByPress(unsigned serial, int row)
{
    openingPress_ = serial;
    openingRow_ = row;
    leftOpeningRow_ = false;
}

void GUIListBox::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_;
    for (int row = 0; row < rowCount(); ++row) {
        const int top = ay + row * rowHeight_;
        painter->FillRect(ax, top, width_, rowHeight_, background_);
        if (row == hoverRow_)
            painter->Frame(ax, top, width_ - 1, rowHeight_ - 1, kFrameLight, kFrameDark);
        if (font_)
            font_->DrawText(ax + 5, top + rowHeight_ / 2 - fontSize() / 2 + 2, items_[size_t(row)].c_str(),
                            textColour_, true, 0.0f);
    }
}

bool GUIListBox::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    if (!Contains(ox, oy, event.x, event.y)) {
        hoverRow_ = -1;
        Notify();
        return true;
    }
    const int row = (event.y - (oy + y_)) / rowHeight_;
    if (row != hoverRow_)
        handler.RequestRedraw();
    hoverRow_ = row;
    const bool openingPress = handler.pressSerial() == openingPress_;
    if (openingPress && row != openingRow_)
        leftOpeningRow_ = true;
    if (event.phase != kMouseReleased)
        return false;
    if (openingPress && !leftOpeningRow_)
        return true;
    Notify();
    return true;
}
