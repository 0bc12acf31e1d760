// GUILabel: one line of text; as wide as the text and one pixel taller than the font size.
#pragma once

#include "gui_widget.h"

#include <string>

class GUILabel : public GUITextWidget
{
public:
    // textColour 0xFFFFFFFF (-1) is white.
    GUILabel(GUIListener* listener, int x, int y, int id, const char* text, uint32_t textColour);
    void Draw(int ox, int oy) override;
    const std::string& text() const { return text_; }

private:
    std::string text_;
};
