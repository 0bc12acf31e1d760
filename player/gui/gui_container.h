// GUIContainer: a widget holding up to 500 children, with optional auto-grow, a virtual (scrollable)
// size, scroll bars, hover tracking and a modal flag used by GUISDLHandler.
//
// Contracts
//  - The container owns its children: destroying it schedules each of them for deletion.
//  - A child must have x, y >= 0 and no parent yet, otherwise AddChild throws BasicException.
//  - RemoveChild hands the child back without deleting it; the caller owns it from then on.
//  - Children are drawn and hit at (content origin - scroll offset); scroll offsets stay within
//    0 .. virtual size - size.
#pragma once

#include "gui_widget.h"

#include <string>

class GUIContainer : public GUIWidget
{
public:
    static constexpr int kMaxChildren = 500;
    static constexpr int kScrollBarThickness = 7;
    static constexpr int kWheelStep = 10;

    GUIContainer(GUIListener* listener, const char* title, int x, int y, int width, int height,
                 bool autoGrow);
    ~GUIContainer() override;

    // Adds the child and returns the new child count. When the container is full the child is scheduled
    // for deletion instead and the count stays as it was.
    int AddChild(GUIWidget* child);
    // The first child with the id, or null.
    GUIWidget* FindChild(int id) const;
    // Takes the first child with the id out (later children move down) and returns it, or null.
    GUIWidget* RemoveChild(int id);

    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;
    bool Key(int symbol, int unicode, int modifiers) override;
    bool Hover(int x, int y) override;
    void Leave() override;

    const std::string& title() const { return title_; }
    int childCount() const { return count_; }
    GUIWidget* child(int index) const { return index >= 0 && index < count_ ? children_[index] : nullptr; }
    bool modal() const { return modal_; }
    void SetModal(bool modal) { modal_ = modal; }
    bool autoGrow() const { return autoGrow_; }
    int hoverIndex() const { return hoverIndex_; }
    bool hoverHandled() const { return hoverHandled_; }
    int virtualWidth() const { return virtualWidth_; }
    int virtualHeight() const { return virtualHeight_; }
    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }
    void SetScroll(int scrollX, int scrollY);

private:
    friend class GUIWidget;
    // Takes a child out without deleting it (used by a child being destroyed).
    void Detach(GUIWidget* child);
    void RemoveAt(int index);
    void RecomputeExtents();
    void GrowAncestors();
    bool HorizontalBarShown() const { return virtualWidth_ != width_; }
    bool VerticalBarShown() const { return virtualHeight_ != height_; }
    // Scroll-bar handling along one axis; returns whether the event was taken.
    bool ScrollBarMouse(int ax, int ay, const MouseEventRecord& event, bool vertical);
    void DrawScrollBars(int ax, int ay);

    std::string title_;
    GUIWidget* children_[kMaxChildren] = {};
    int count_ = 0;
    int hoverIndex_ = -1;
    bool hoverHandled_ = false;
    bool modal_ = false;
    bool autoGrow_;
    int virtualWidth_, virtualHeight_;
    int growWidth_, growHeight_;
    int scrollX_ = 0, scrollY_ = 0;
};
