#include "gui_sdl_handler.h"

#include "gui_container.h"
#include "gui_messages.h"
#include "vortel/plugin.h"

#include <SDL/SDL.h>
#include <algorithm>

namespace
{
GUISDLHandler* g_handler = nullptr;
constexpr size_t kDeletionGrowth = 10;
} // namespace

GUISDLHandler& GUISDLHandler::Get()
{
    if (!g_handler)
        g_handler = new GUISDLHandler();
    return *g_handler;
}

GUISDLHandler* GUISDLHandler::Existing()
{
    return g_handler;
}

GUISDLHandler::GUISDLHandler()
{
    if (SDL_Surface* screen = SDL_GetVideoSurface()) {
        videoWidth_ = screen->w;
        videoHeight_ = screen->h;
    }
}

void GUISDLHandler::Push(GUIContainer* container)
{
    if (count_ >= kMaxStack)
        throw BasicException(gui_msg::kStackOverflow);
    stack_[count_++] = container;
    redrawRequested_ = true;
}

GUIContainer* GUISDLHandler::Pop()
{
    if (count_ <= 0)
        throw BasicException(gui_msg::kStackUnderflow);
    redrawRequested_ = true;
    return stack_[--count_];
}

GUIContainer* GUISDLHandler::GetUI(int index) const
{
    if (index < 0 || index >= count_)
        throw BasicException(gui_msg::kStackBadIndex);
    return stack_[index];
}

void GUISDLHandler::ScheduleDelete(GUIWidget* widget)
{
    if (!widget)
        return;
    auto queued = std::find(deletions_.begin(), deletions_.end(), widget);
    if (flushing_) {
        // A widget deleted now must not be deleted a second time from the queue.
        if (queued != deletions_.end())
            deletions_.erase(queued);
        delete widget;
        return;
    }
    if (queued != deletions_.end())
        return;
    if (deletions_.size() == deletions_.capacity())
        deletions_.reserve(deletions_.capacity() + kDeletionGrowth);
    deletions_.push_back(widget);
}

void GUISDLHandler::FlushDeletions()
{
    if (flushing_)
        return;
    flushing_ = true;
    if (!deletions_.empty())
        redrawRequested_ = true;
    while (!deletions_.empty()) {
        GUIWidget* widget = deletions_.front();
        deletions_.erase(deletions_.begin());
        delete widget;
    }
    flushing_ = false;
}

void GUISDLHandler::Forget(GUIWidget* widget)
{
    auto queued = std::find(deletions_.begin(), deletions_.end(), widget);
    if (queued != deletions_.end())
        deletions_.erase(queued);
    for (int i = 0; i < count_; ++i) {
        if (stack_[i] == widget) {
            std::copy(stack_ + i + 1, stack_ + count_, stack_ + i);
            --count_;
            redrawRequested_ = true;
            break;
        }
    }
}

void GUISDLHandler::OfferMouse(GUIContainer* const* receivers, int count)
{
    for (int i = 0; i < count; ++i)
        if (receivers[i]->enabled() && receivers[i]->Mouse(0, 0, mouse_))
            return;
}

bool GUISDLHandler::PumpEvents(bool* happened)
{
    // 1. Receivers: from the top of the stack down to and including the first modal container. The list
    // is fixed for the whole pass; containers popped meanwhile stay alive until the deletions below.
    GUIContainer* receivers[kMaxStack];
    int receiverCount = 0;
    for (int i = count_ - 1; i >= 0; --i) {
        receivers[receiverCount++] = stack_[i];
        if (stack_[i]->modal())
            break;
    }

    // 2. Events
    bool quit = false, any = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        any = true;
        switch (event.type) {
        case SDL_KEYDOWN:
            for (int i = 0; i < receiverCount; ++i)
                if (receivers[i]->enabled() &&
                    receivers[i]->Key(event.key.keysym.sym, event.key.keysym.unicode, event.key.keysym.mod))
                    break;
            break;
        case SDL_MOUSEMOTION:
            if (heldButton_ && (event.motion.state & SDL_BUTTON(heldButton_))) {
                mouse_.phase = kMouseDragged;
                mouse_.x = event.motion.x;
                mouse_.y = event.motion.y;
                OfferMouse(receivers, receiverCount);
            }
            break;
        case SDL_MOUSEBUTTONDOWN: {
            const int x = event.button.x, y = event.button.y, button = event.button.button;
            if (heldButton_) {
                mouse_.phase = kMouseReleased;
                mouse_.x = x;
                mouse_.y = y;
                OfferMouse(receivers, receiverCount);
            }
            drag_.container = nullptr;
            if (!is_wheel_button(button))
                for (int i = 0; i < receiverCount; ++i)
                    if (receivers[i]->enabled() && receivers[i]->Hover(x, y))
                        break;
            ++pressSerial_;
            mouse_.phase = kMousePressed;
            mouse_.pressX = mouse_.x = x;
            mouse_.pressY = mouse_.y = y;
            mouse_.button = heldButton_ = button;
            OfferMouse(receivers, receiverCount);
            break;
        }
        case SDL_MOUSEBUTTONUP:
            mouse_.phase = kMouseReleased;
            mouse_.x = event.button.x;
            mouse_.y = event.button.y;
            mouse_.button = event.button.button;
            if (heldButton_ == event.button.button)
                heldButton_ = 0;
            OfferMouse(receivers, receiverCount);
            break;
        case SDL_QUIT:
            quit = true;
            break;
        case SDL_VIDEORESIZE:
            videoWidth_ = event.resize.w;
            videoHeight_ = event.resize.h;
            break;
        default:
            break;
        }
    }

    // 3. Deferred deletions
    FlushDeletions();
    if (happened)
        *happened = any || redrawRequested_;
    redrawRequested_ = false;
    return quit;
}
