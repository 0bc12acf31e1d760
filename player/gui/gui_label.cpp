#include "gui_label.h"

#include "gui_font.h"

#include <algorithm>

GUILabel::GUILabel(GUIListener* listener, int x, int y, int id, const char* text, uint32_t textColour)
    : GUITextWidget(listener, x, y, 1, 1, id, textColour), text_(text ? text : "")
{
    // An empty text still keeps a one-pixel width: zero sizes are not valid widget geometry.
    width_ = std::max(1, font_ ? font_->TextWidth(text_.c_str(), 0, -1) : 1);
    height_ = fontSize() + 1;
}

void GUILabel::Draw(int ox, int oy)
{
    if (font_)
        font_->DrawText(ox + x_, oy + y_, text_.c_str(), textColour_, true, 0.0f);
}
