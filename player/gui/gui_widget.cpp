#include "gui_widget.h"

#include "gui_container.h"
#include "gui_font.h"
#include "gui_painter.h"
#include "gui_sdl_handler.h"
#include "vortel/plugin.h"

#include <cstdlib>

GUIWidget::GUIWidget(GUIListener* listener, int x, int y, int width, int height, int id)
    : id_(id), x_(x), y_(y), width_(std::abs(width)), height_(std::abs(height)), listener_(listener)
{
    if (width == 0 || height == 0)
        throw BasicException();
}

GUIWidget::~GUIWidget()
{
    if (parent_)
        parent_->Detach(this);
    if (GUISDLHandler* handler = GUISDLHandler::Existing())
        handler->Forget(this);
}

bool GUIWidget::Mouse(int, int, const MouseEventRecord&)
{
    return false;
}

bool GUIWidget::Key(int, int, int)
{
    return false;
}

bool GUIWidget::Hover(int, int)
{
    return false;
}

void GUIWidget::Leave() {}

bool GUIWidget::Contains(int ox, int oy, int px, int py) const
{
    const int left = ox + x_, top = oy + y_;
    return px >= left && px < left + width_ && py >= top && py < top + height_;
}

void GUIWidget::Notify()
{
    if (listener_)
        listener_->Event(this, id_, userData_);
}

GUITextWidget::GUITextWidget(GUIListener* listener, int x, int y, int width, int height, int id,
                             uint32_t textColour, const char* fontName, int fontSize)
    : GUIWidget(listener, x, y, width, height, id), textColour_(textColour)
{
    if (GUIPainter* painter = gui_painter())
        font_ = painter->AcquireFont(fontName, fontSize);
}

GUITextWidget::~GUITextWidget()
{
    if (GUIPainter* painter = gui_painter())
        painter->ReleaseFont(font_);
}

int GUITextWidget::fontSize() const
{
    if (font_)
        return font_->size();
    GUIPainter* painter = gui_painter();
    return painter ? painter->GetDefaultFontSize() : 0;
}

void GUITextWidget::DrawCentredText(int x, int y, const char* text) const
{
    if (font_)
        font_->DrawText(x, y + height_ / 2 - fontSize() / 2 + 2, text, textColour_, true, 0.0f);
}

void GUITextWidget::EnsureTextHeight()
{
    if (height_ < fontSize() + 8)
        height_ = fontSize() + 8;
}
