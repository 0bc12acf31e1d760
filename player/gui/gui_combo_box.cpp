#include "gui_combo_box.h"

#include "gui_container.h"
#include "gui_list_box.h"
#include "gui_painter.h"
#include "gui_sdl_handler.h"

GUIComboBox::GUIComboBox(GUIListener* listener, int x, int y, int width, int height, int id,
                         const std::vector<std::string>& items, int selected, uint32_t background,
                         uint32_t textColour)
    : GUITextWidget(listener, x, y, width, height, id, textColour), items_(items), background_(background)
{
    EnsureTextHeight();
    SetSelection(selected);
}

GUIComboBox::~GUIComboBox()
{
    if (popup_) {
        GUISDLHandler& handler = GUISDLHandler::Get();
        handler.Forget(popup_);
        handler.ScheduleDelete(popup_);
    }
}

void GUIComboBox::SetSelection(int index)
{
    selected_ = (index >= 0 && size_t(index) < items_.size()) ? index : -1;
}

void GUIComboBox::Draw(int ox, int oy)
{
    GUIPainter* painter = gui_painter();
    const int ax = ox + x_, ay = oy + y_;
    painter->FillRect(ax, ay, width_, height_, background_);
    painter->Frame(ax, ay, width_ - 1, height_ - 1, kFrameLight, kFrameDark);
    if (selected_ >= 0)
        DrawCentredText(ax + 5, ay, items_[size_t(selected_)].c_str());
}

bool GUIComboBox::Mouse(int ox, int oy, const MouseEventRecord& event)
{
    if (event.phase != kMousePressed || is_wheel_button(event.button) ||
        !Contains(ox, oy, event.pressX, event.pressY))
        return false;
    OpenPopup(ox + x_, oy + y_, event);
    return true;
}

void GUIComboBox::OpenPopup(int ax, int ay, const MouseEventRecord& event)
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    if (popup_) {
        handler.Forget(popup_);
        handler.ScheduleDelete(popup_);
        popup_ = nullptr;
    }
    if (items_.empty())
        return;
    popup_ = new GUIContainer(&popupListener_, "ComboBoxTopContainer", ax, ay, width_,
                              int(items_.size()) * height_, false);
    popupListener_.Build(popup_);
    if (auto* list = dynamic_cast<GUIListBox*>(popup_->child(0)))
        list->OpenedByPress(handler.pressSerial(), (event.pressY - ay) / height_);
    handler.Push(popup_);
}

void GUIComboBox::ClosePopup(int chosenRow)
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    if (popup_) {
        if (handler.Count() > 0 && handler.GetUI(handler.Count() - 1) == popup_)
            handler.Pop();
        else
            handler.Forget(popup_);
        // The popup is still inside the running event pass: its deletion waits for the end of it.
        handler.ScheduleDelete(popup_);
        popup_ = nullptr;
    }
    if (chosenRow >= 0 && chosenRow != selected_ && size_t(chosenRow) < items_.size()) {
        selected_ = chosenRow;
        Notify();
    }
}

void GUIComboBox::PopupListener::Build(GUIContainer* container)
{
    container->SetModal(true);
    container->AddChild(new GUIListBox(this, 0, 0, owner_.width_, owner_.height_, owner_.id_, owner_.items_,
                                       owner_.selected_, owner_.background_, owner_.textColour_));
}

void GUIComboBox::PopupListener::Event(GUIWidget* widget, int, int)
{
    const auto* list = dynamic_cast<GUIListBox*>(widget);
    owner_.ClosePopup(list ? list->hoverRow() : -1);
}
