// GUIComboBox: shows the selected item; a press opens a modal popup container ("ComboBoxTopContainer")
// with a GUIListBox of all items at the combo box's window position. Picking a row sets the selection and
// calls the listener only when the selection changed; leaving the rows with the button held closes the
// popup without a change.
#pragma once

#include "gui_widget.h"

#include <string>
#include <vector>

class GUIContainer;
class GUIListBox;

class GUIComboBox : public GUITextWidget
{
public:
    // At least font size + 8 pixels high. A selection outside the items shows nothing.
    GUIComboBox(GUIListener* listener, int x, int y, int width, int height, int id,
                const std::vector<std::string>& items, int selected, uint32_t background,
                uint32_t textColour);
    // Closes an open popup (it leaves the handler stack and is scheduled for deletion).
    ~GUIComboBox() override;

    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;

    int selected() const { return selected_; }
    // Sets the selection without calling the listener.
    void SetSelection(int index);
    const std::vector<std::string>& items() const { return items_; }
    // The open popup, or null.
    GUIContainer* popup() const { return popup_; }

private:
    // Listener of the popup and of its list box.
    class PopupListener : public GUIListener
    {
    public:
        explicit PopupListener(GUIComboBox& owner) : owner_(owner) {}
        void Build(GUIContainer* container) override;
        void Event(GUIWidget* widget, int id, int userData) override;

    private:
        GUIComboBox& owner_;
    };

    void OpenPopup(int ax, int ay, const MouseEventRecord& event);
    void ClosePopup(int chosenRow);

    std::vector<std::string> items_;
    int selected_ = -1;
    uint32_t background_;
    PopupListener popupListener_{*this};
    GUIContainer* popup_ = nullptr;
};
