// GUIButton: a framed, filled rectangle with a text; a completed click (press and release inside) calls
// the listener. At least font size + 8 pixels high.
#pragma once

#include "gui_click.h"
#include "gui_widget.h"

#include <string>

class GUIButton : public GUITextWidget
{
public:
    GUIButton(GUIListener* listener, int x, int y, int width, int height, int id, const char* text,
              uint32_t background, uint32_t textColour, int fontSize);
    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;
    bool armed() const { return click_.armed(); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    uint32_t background_;
    GUIClick click_;
};
