// The widget base of the GUI toolkit: GUIWidget, the listener interface and the mouse record.
//
// Contracts
//  - Positions are relative to the parent container's content origin; draw and mouse calls get that
//    origin in window pixels (y downwards), so a widget's window rectangle is (ox + x, oy + y, w, h).
//  - Widgets are created with new and deleted through GUISDLHandler::ScheduleDelete, which defers the
//    deletion to the end of the current event pass; a container deletes its children that way.
//  - The listener is not owned.
#pragma once

#include <cstdint>

class GUIContainer;
class GUIFont;
class GUIWidget;

// Told of user actions. Build is called by whoever opens a container that uses this listener; Event
// when a widget's value changed or a button was clicked.
class GUIListener
{
public:
    virtual void Build(GUIContainer* container) = 0;
    virtual void Event(GUIWidget* widget, int id, int userData) = 0;
    virtual ~GUIListener() = default;
};

enum MousePhase : int { kMousePressed = 0, kMouseDragged = 1, kMouseReleased = 2 };

// Mouse state handed to widgets, in window pixels. Buttons use SDL numbering; 4 and 5 are the wheel.
struct MouseEventRecord {
    int pressX = 0, pressY = 0; // where the current button went down
    int x = 0, y = 0;           // current position
    int button = 0;
    int phase = kMousePressed;
};

inline bool is_wheel_button(int button)
{
    return button == 4 || button == 5;
}

class GUIWidget
{
public:
    // Throws BasicException (no message) for a zero width or height; negative sizes are made positive.
    GUIWidget(GUIListener* listener, int x, int y, int width, int height, int id);
    // A widget still inside a container takes itself out first.
    virtual ~GUIWidget();
    GUIWidget(const GUIWidget&) = delete;
    GUIWidget& operator=(const GUIWidget&) = delete;

    // Draws the widget with its parent's content origin at (ox, oy).
    virtual void Draw(int ox, int oy) = 0;
    // Returns true when the widget took the event.
    virtual bool Mouse(int ox, int oy, const MouseEventRecord& event);
    virtual bool Key(int symbol, int unicode, int modifiers);
    // (x, y) in the parent's content coordinates; returns whether the widget accepts the hover.
    virtual bool Hover(int x, int y);
    virtual void Leave();

    int id() const { return id_; }
    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    int userData() const { return userData_; }
    GUIListener* listener() const { return listener_; }
    GUIContainer* parent() const { return parent_; }

    void SetVisible(bool visible) { visible_ = visible; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetUserData(int userData) { userData_ = userData; }

protected:
    // Whether window point (px, py) lies in this widget drawn with its parent's origin at (ox, oy).
    bool Contains(int ox, int oy, int px, int py) const;
    // Tells the listener (if any) that this widget acted.
    void Notify();

    int id_;
    int x_, y_;
    int width_, height_;
    bool visible_ = true;
    bool enabled_ = true;
    GUIListener* listener_;
    GUIContainer* parent_ = nullptr;
    int userData_ = 0;

    friend class GUIContainer;
};

// A widget that draws text with a font obtained from the current painter.
class GUITextWidget : public GUIWidget
{
public:
    // An empty font name means the painter's default name, size 0 its default size.
    GUITextWidget(GUIListener* listener, int x, int y, int width, int height, int id, uint32_t textColour,
                  const char* fontName = "", int fontSize = 0);
    // Returns the font to the painter.
    ~GUITextWidget() override;

    virtual void SetTextColour(uint32_t colour) { textColour_ = colour; }
    uint32_t textColour() const { return textColour_; }
    GUIFont* font() const { return font_; }
    // The font's pixel size, or the painter's default size when there is no painter.
    int fontSize() const;

protected:
    // Draws `text` vertically centred in a box of this widget's height whose top-left is (x, y).
    void DrawCentredText(int x, int y, const char* text) const;
    // Raises the height to fontSize() + 8 (buttons and combo boxes).
    void EnsureTextHeight();

    uint32_t textColour_;
    GUIFont* font_ = nullptr;
};

// Colours shared by the widgets' frames.
constexpr uint32_t kFrameLight = 0xFFC0C0C0;
constexpr uint32_t kFrameDark = 0xFF202020;
