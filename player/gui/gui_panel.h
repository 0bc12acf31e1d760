// GUIPanel: a filled rectangle with a raised frame; it never takes input.
#pragma once

#include "gui_widget.h"

class GUIPanel : public GUIWidget
{
public:
    GUIPanel(GUIListener* listener, int x, int y, int width, int height, int id, uint32_t colour);
    void Draw(int ox, int oy) override;
    uint32_t colour() const { return colour_; }

private:
    uint32_t colour_;
};
