// GUISlider: a horizontal or vertical track of `length` pixels with a thumb line; pressing or dragging
// inside it sets the value and calls the listener when the value changed.
// The widget is (length + 2) x 11 pixels (11 x (length + 2) when vertical).
#pragma once

#include "gui_widget.h"

class GUISlider : public GUIWidget
{
public:
    // Minimum and maximum given the wrong way round are swapped; the value is clamped into the range.
    // Throws BasicException (no message) for a length below 1.
    GUISlider(GUIListener* listener, int x, int y, int length, int id, int minimum, int maximum, int value,
              bool horizontal);
    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void SetValue(int value);

private:
    int length_;
    int minimum_, maximum_;
    int value_;
    bool horizontal_;
};
