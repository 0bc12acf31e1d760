// GUICheckBox: a square that toggles on a completed click and then calls the listener.
#pragma once

#include "gui_click.h"
#include "gui_widget.h"

class GUICheckBox : public GUIWidget
{
public:
    GUICheckBox(GUIListener* listener, int x, int y, int size, int id, bool checked, uint32_t colour);
    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;
    bool checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }

private:
    bool checked_;
    uint32_t colour_;
    GUIClick click_;
};
