// GUIListBox: the rows shown under an open combo box. The row under the pointer is highlighted; a
// release over a row, or any mouse event that leaves the rows, calls the listener, which reads hoverRow()
// (-1 when the pointer left the rows).
#pragma once

#include "gui_widget.h"

#include <string>
#include <vector>

class GUIListBox : public GUITextWidget
{
public:
    // As many rows as items, each rowHeight pixels high. Throws BasicException (no message) for no items.
    GUIListBox(GUIListener* listener, int x, int y, int width, int rowHeight, int id,
               const std::vector<std::string>& items, int selected, uint32_t background, uint32_t textColour);
    void Draw(int ox, int oy) override;
    bool Mouse(int ox, int oy, const MouseEventRecord& event) override;

    int hoverRow() const { return hoverRow_; }
    int selected() const { return selected_; }
    int rowCount() const { return int(items_.size()); }
    // The list opened under press number `serial`, which went down over row `row`: the release of that
    // press picks nothing while the pointer has not left that row, so a plain click opens the list.
    void OpenedByPress(unsigned serial, int row);

private:
    std::vector<std::string> items_;
    int rowHeight_;
    int selected_;
    int hoverRow_ = -1;
    uint32_t background_;
    unsigned openingPress_ = 0;
    int openingRow_ = -1;
    bool leftOpeningRow_ = true;
};
