// GUISDLHandler: the process-wide bridge between SDL events and the widgets. It keeps a stack of
// top-level containers (bottom first), turns SDL events into widget calls and defers widget deletion to
// the end of each event pass.
//
// Contracts
//  - Created on first use by Get(); lives for the rest of the process. Main thread only.
//  - Stacked containers are not owned; a container that is destroyed leaves the stack by itself.
//  - ScheduleDelete takes ownership: the widget stays valid until the end of the current PumpEvents
//    (or FlushDeletions); while the queue is being flushed, a request is carried out at once.
//  - Stack misuse throws BasicException with the handler's messages.
#pragma once

#include "gui_widget.h"

#include <vector>

class GUISDLHandler
{
public:
    static constexpr int kMaxStack = 128;

    // Bookkeeping of a scroll-bar thumb being dragged.
    struct ScrollDrag {
        GUIContainer* container = nullptr;
        bool vertical = false;
        int press = 0;       // window coordinate of the press along the bar
        int thumbOffset = 0; // thumb offset at the press, in bar pixels
    };

    static GUISDLHandler& Get();
    // The handler if it was created already, else null (for destructors that must not create it).
    static GUISDLHandler* Existing();

    void Push(GUIContainer* container);
    GUIContainer* Pop();
    GUIContainer* GetUI(int index) const;
    int Count() const { return count_; }

    void ScheduleDelete(GUIWidget* widget);
    // Deletes every widget scheduled so far.
    void FlushDeletions();
    // Takes a widget out of the stack and the deletion queue (called when a widget is destroyed).
    void Forget(GUIWidget* widget);

    // Polls every pending SDL event and hands it to the stacked containers, from the top down to and
    // including the first modal one; then carries out the deletions. Returns whether a quit was
    // requested; *happened tells whether an event arrived or a redraw was requested since the last pass.
    bool PumpEvents(bool* happened);
    void RequestRedraw() { redrawRequested_ = true; }

    const MouseEventRecord& mouse() const { return mouse_; }
    int heldButton() const { return heldButton_; }
    // Counts button presses; lets a widget recognise the release of the press that created it.
    unsigned pressSerial() const { return pressSerial_; }
    ScrollDrag& scrollDrag() { return drag_; }
    int videoWidth() const { return videoWidth_; }
    int videoHeight() const { return videoHeight_; }

private:
    GUISDLHandler();

    void OfferMouse(GUIContainer* const* receivers, int count);

    GUIContainer* stack_[kMaxStack] = {};
    int count_ = 0;
    std::vector<GUIWidget*> deletions_;
    bool flushing_ = false;
    bool redrawRequested_ = false;
    int videoWidth_ = 0, videoHeight_ = 0;
    MouseEventRecord mouse_;
    int heldButton_ = 0;
    unsigned pressSerial_ = 0;
    ScrollDrag drag_;
};
