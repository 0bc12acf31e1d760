#include "gui_panel.h"

#include "gui_painter.h"

namespace
{
constexpr uint32_t kPanelLight = 0xFFA0A0A0;
constexpr uint32_t kPanelDark = 0xFF404040;
} // namespace

GUIPanel::GUIPanel(GUIListener* listener, int x, int y, int width, int height, int id, uint32_t colour)
    : GUIWidget(listener, x, y, width, height, id), colour_(colour)
{
    enabled_ = false;
}

void GUIPanel::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_;
    painter->FillRect(ax, ay, width_, height_, colour_);
    painter->Frame(ax, ay, width_ - 1, height_ - 1, kPanelLight, kPanelDark);
}
