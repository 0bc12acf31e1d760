// The press-and-release logic shared by buttons and check boxes: a press inside arms the control, the
// matching release disarms it and counts as a click only when it happens inside.
#pragma once

#include "gui_widget.h"

class GUIClick
{
public:
    enum Result { kIgnored, kTaken, kClicked };

    Result Track(const MouseEventRecord& event, bool pressInside, bool currentInside)
    {
        if (event.phase == kMousePressed && !is_wheel_button(event.button) && pressInside) {
            armed_ = true;
            return kTaken;
        }
        if (event.phase == kMouseReleased && armed_) {
            armed_ = false;
            return currentInside ? kClicked : kTaken;
        }
        return kIgnored;
    }
    bool armed() const { return armed_; }

private:
    bool armed_ = false;
};
