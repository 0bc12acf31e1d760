// Toolkit behaviour driven by synthetic SDL events through GUISDLHandler.
#include "gui_fixture.h"

#include "gui_button.h"
#include "gui_check_box.h"
#include "gui_combo_box.h"
#include "gui_container.h"
#include "gui_label.h"
#include "gui_list_box.h"
#include "gui_panel.h"
#include "gui_sdl_handler.h"
#include "gui_slider.h"
#include "vortel/plugin.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

struct Recorded {
    GUIWidget* widget;
    int id;
    int userData;
};

class RecordingListener : public GUIListener
{
public:
    void Build(GUIContainer* container) override { built.push_back(container); }
    void Event(GUIWidget* widget, int id, int userData) override
    {
        events.push_back({widget, id, userData});
        if (onEvent)
            onEvent(widget);
    }
    std::vector<GUIContainer*> built;
    std::vector<Recorded> events;
    std::function<void(GUIWidget*)> onEvent;
};

// A widget that counts its own destruction and takes hovers and keys.
class ProbeWidget : public GUIWidget
{
public:
    ProbeWidget(GUIListener* l, int x, int y, int* destroyed)
        : GUIWidget(l, x, y, 20, 20, 77), destroyed_(destroyed)
    {
    }
    ~ProbeWidget() override { ++*destroyed_; }
    void Draw(int, int) override {}
    bool Hover(int x, int y) override { return x >= x_ && x < x_ + width_ && y >= y_ && y < y_ + height_; }
    bool Key(int symbol, int, int) override
    {
        keys.push_back(symbol);
        return true;
    }
    std::vector<int> keys;

private:
    int* destroyed_;
};

void push_key(SDLKey key)
{
    SDL_Event e{};
    e.key.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

} // namespace

class Toolkit : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        root_ = new GUIContainer(&listener_, "Root", 0, 0, kWidth, kHeight, false);
        GUISDLHandler::Get().Push(root_);
    }
    void TearDown() override
    {
        GUISDLHandler& handler = GUISDLHandler::Get();
        while (handler.Count() > 0)
            handler.Pop();
        handler.ScheduleDelete(root_);
        GuiFixture::TearDown();
    }
    void Draw()
    {
        glClear(GL_COLOR_BUFFER_BIT);
        GUISDLHandler& handler = GUISDLHandler::Get();
        for (int i = 0; i < handler.Count(); ++i)
            handler.GetUI(i)->Draw(0, 0);
    }
    std::vector<int> ids() const
    {
        std::vector<int> out;
        for (const Recorded& r : listener_.events)
            out.push_back(r.id);
        return out;
    }

    RecordingListener listener_;
    GUIContainer* root_ = nullptr;
    // Outlives every widget: the root deletes its children in TearDown.
    int destroyed_ = 0;
};

using ButtonClicks = Toolkit;

TEST_F(ButtonClicks, FireOnlyWhenPressAndReleaseAreBothInside)
{
    auto* button = new GUIButton(&listener_, 50, 50, 80, 10, 9, "Go", 0xFF507050, 0xFFFFFFFF, 16);
    button->SetUserData(42);
    root_->AddChild(button);
    EXPECT_EQ(button->height(), 24) << "raised to font size + 8";

    Press(60, 60);
    Pump();
    EXPECT_TRUE(button->armed());
    Release(300, 200); // ends outside
    Pump();
    EXPECT_FALSE(button->armed());
    EXPECT_TRUE(listener_.events.empty());

    Press(10, 10); // starts outside
    Pump();
    Release(60, 60);
    Pump();
    EXPECT_TRUE(listener_.events.empty());

    Press(60, 60);
    Release(120, 70);
    Pump();
    ASSERT_EQ(listener_.events.size(), 1u);
    EXPECT_EQ(listener_.events[0].widget, button);
    EXPECT_EQ(listener_.events[0].id, 9);
    EXPECT_EQ(listener_.events[0].userData, 42);

    Press(60, 60, 4); // the wheel does not click
    Release(60, 60, 4);
    Pump();
    EXPECT_EQ(listener_.events.size(), 1u);
}

TEST_F(ButtonClicks, CheckBoxTogglesBeforeTellingTheListener)
{
    auto* box = new GUICheckBox(&listener_, 100, 100, 17, 5, true, 0xFF505050);
    root_->AddChild(box);
    bool seen = true;
    listener_.onEvent = [&](GUIWidget* w) { seen = static_cast<GUICheckBox*>(w)->checked(); };
    Click(108, 108);
    EXPECT_FALSE(box->checked());
    EXPECT_FALSE(seen);
    Click(108, 108);
    EXPECT_TRUE(box->checked());
    Press(108, 108);
    Pump();
    Release(200, 200);
    Pump();
    EXPECT_TRUE(box->checked());
    EXPECT_EQ(ids(), (std::vector<int>{5, 5}));
}

TEST_F(ButtonClicks, PanelsAndDisabledWidgetsAreDeaf)
{
    auto* button = new GUIButton(&listener_, 50, 50, 80, 24, 9, "Go", 0xFF507050, 0xFFFFFFFF, 16);
    root_->AddChild(button);
    root_->AddChild(new GUIPanel(&listener_, 0, 0, 320, 240, 2, 0xFF303030)); // on top, but disabled
    Click(60, 60);
    EXPECT_EQ(ids(), std::vector<int>{9});
    button->SetEnabled(false);
    Click(60, 60);
    EXPECT_EQ(ids(), std::vector<int>{9});
}

using Sliders = Toolkit;

TEST_F(Sliders, ValueFollowsThePressAndDragAlongTheTrack)
{
    // Track starts at x = 121 (one pixel into the widget), 192 pixels long, range 0..255.
    auto* slider = new GUISlider(&listener_, 120, 150, 192, 7, 0, 255, 100, true);
    root_->AddChild(slider);
    EXPECT_EQ(slider->width(), 194);
    EXPECT_EQ(slider->height(), 11);

    Press(121 + 96, 155);
    Pump();
    EXPECT_EQ(slider->value(), 96 * 255 / 192);
    Drag(121 + 10, 190); // dragging may leave the track: only the press has to be on it
    Pump();
    EXPECT_EQ(slider->value(), 10 * 255 / 192);
    Drag(10, 155);
    Pump();
    EXPECT_EQ(slider->value(), 0);
    Drag(319, 155);
    Pump();
    EXPECT_EQ(slider->value(), 255);
    Drag(318, 155); // still clamped: no change, no call
    Pump();
    Release(318, 155);
    Pump();
    EXPECT_EQ(ids(), (std::vector<int>{7, 7, 7, 7}));

    Press(200, 100); // off the track
    Drag(150, 155);
    Pump();
    EXPECT_EQ(slider->value(), 255);
    Release(150, 155);
    Pump();
}

TEST(SliderRange, SwapsAReversedRangeAndClampsTheValue)
{
    GUISlider reversed(nullptr, 0, 0, 100, 1, 50, 10, 70, true);
    EXPECT_EQ(reversed.minimum(), 10);
    EXPECT_EQ(reversed.maximum(), 50);
    EXPECT_EQ(reversed.value(), 50);
    GUISlider low(nullptr, 0, 0, 100, 1, 10, 50, -5, false);
    EXPECT_EQ(low.value(), 10);
    EXPECT_EQ(low.width(), 11);
    EXPECT_EQ(low.height(), 102);
    GUISlider extreme(nullptr, 0, 0, 100, 1, INT32_MIN, INT32_MAX, 0, true);
    EXPECT_EQ(extreme.value(), 0);
    EXPECT_THROW(GUISlider(nullptr, 0, 0, 0, 1, 0, 10, 0, true), BasicException);
}

class ComboBoxes : public Toolkit
{
protected:
    void SetUp() override
    {
        Toolkit::SetUp();
        below_ = new GUIButton(&listener_, 10, 200, 60, 24, 8, "Below", 0xFF705050, 0xFFFFFFFF, 16);
        root_->AddChild(below_);
        combo_ = new GUIComboBox(&listener_, 200, 40, 100, 15, 3, {"one", "two", "three", "four"}, 1,
                                 0xFF505050, 0xFFFFFFFF);
        root_->AddChild(combo_);
    }
    // Row r of the open popup, in window pixels.
    static int RowY(int row) { return 40 + row * 24 + 12; }

    GUIButton* below_ = nullptr;
    GUIComboBox* combo_ = nullptr;
};

TEST_F(ComboBoxes, PressOpensAModalPopupThatMakesEverythingBelowDeaf)
{
    EXPECT_EQ(combo_->height(), 24);
    Press(250, 50);
    Pump();
    GUISDLHandler& handler = GUISDLHandler::Get();
    ASSERT_EQ(handler.Count(), 2);
    GUIContainer* popup = handler.GetUI(1);
    EXPECT_EQ(popup, combo_->popup());
    EXPECT_EQ(popup->title(), "ComboBoxTopContainer");
    EXPECT_TRUE(popup->modal());
    EXPECT_EQ(popup->x(), 200);
    EXPECT_EQ(popup->y(), 40);
    EXPECT_EQ(popup->width(), 100);
    EXPECT_EQ(popup->height(), 4 * 24);
    Release(250, 50); // the end of the opening click picks nothing
    Pump();
    EXPECT_EQ(handler.Count(), 2);

    Click(30, 210); // the button below the popup hears nothing, and the popup stays
    EXPECT_TRUE(listener_.events.empty());
    EXPECT_EQ(handler.Count(), 2);
    EXPECT_FALSE(below_->armed());

    Draw();
    Save(Screen(), "combo_open");

    Click(250, RowY(3));
    EXPECT_EQ(handler.Count(), 1);
    EXPECT_EQ(combo_->popup(), nullptr);
    EXPECT_EQ(combo_->selected(), 3);
    ASSERT_EQ(ids(), std::vector<int>{3});
    EXPECT_EQ(listener_.events[0].widget, combo_);

    Click(30, 210); // everything hears again
    EXPECT_EQ(ids(), (std::vector<int>{3, 8}));
}

TEST_F(ComboBoxes, PickingTheSelectedRowClosesWithoutTellingTheListener)
{
    Click(250, 50);
    ASSERT_NE(combo_->popup(), nullptr);
    Click(250, RowY(1));
    EXPECT_EQ(combo_->popup(), nullptr);
    EXPECT_EQ(combo_->selected(), 1);
    EXPECT_TRUE(listener_.events.empty());
}

TEST_F(ComboBoxes, PressDragReleaseOnARowPicksIt)
{
    Press(250, 50);
    Pump();
    Drag(250, RowY(2));
    Pump();
    auto* list = dynamic_cast<GUIListBox*>(combo_->popup()->child(0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->hoverRow(), 2);
    Release(250, RowY(2));
    Pump();
    EXPECT_EQ(combo_->selected(), 2);
    EXPECT_EQ(ids(), std::vector<int>{3});
}

TEST_F(ComboBoxes, DraggingOutOfTheListClosesItWithoutAChange)
{
    Press(250, 50);
    Pump();
    Drag(250, RowY(2));
    Drag(10, 10);
    Pump();
    EXPECT_EQ(combo_->popup(), nullptr);
    EXPECT_EQ(GUISDLHandler::Get().Count(), 1);
    Release(10, 10);
    Pump();
    EXPECT_EQ(combo_->selected(), 1);
    EXPECT_TRUE(listener_.events.empty());
}

TEST_F(ComboBoxes, DeletingAnOpenComboBoxTakesItsPopupAlong)
{
    Click(250, 50);
    ASSERT_EQ(GUISDLHandler::Get().Count(), 2);
    GUISDLHandler::Get().ScheduleDelete(root_->RemoveChild(3));
    Pump();
    EXPECT_EQ(GUISDLHandler::Get().Count(), 1);
    Click(30, 210);
    EXPECT_EQ(ids(), std::vector<int>{8});
}

using Deletion = Toolkit;

TEST_F(Deletion, AWidgetDeletedInsideAListenerLivesUntilTheEndOfThePass)
{
    auto* victim = new ProbeWidget(&listener_, 200, 200, &destroyed_);
    root_->AddChild(victim);
    auto* button = new GUIButton(&listener_, 10, 10, 60, 24, 9, "Del", 0xFF705050, 0xFFFFFFFF, 16);
    root_->AddChild(button);
    listener_.onEvent = [&](GUIWidget* w) {
        GUISDLHandler::Get().ScheduleDelete(root_->RemoveChild(77));
        GUISDLHandler::Get().ScheduleDelete(w); // the button deletes itself
        GUISDLHandler::Get().ScheduleDelete(w); // twice: still one deletion
        EXPECT_EQ(destroyed_, 0);
        EXPECT_EQ(static_cast<GUIButton*>(w)->text(), "Del");
    };
    Press(20, 20);
    Release(20, 20);
    Press(20, 20); // later events of the same pass still reach the (dying) button safely
    Release(20, 20);
    Pump();
    EXPECT_EQ(destroyed_, 1);
    EXPECT_EQ(root_->childCount(), 0);
    EXPECT_EQ(listener_.events.size(), 2u);
}

TEST_F(Deletion, AContainerDeletesItsChildrenAndLeavesTheStack)
{
    auto* inner = new GUIContainer(&listener_, "Inner", 10, 10, 100, 100, false);
    inner->AddChild(new ProbeWidget(&listener_, 0, 0, &destroyed_));
    inner->AddChild(new ProbeWidget(&listener_, 30, 0, &destroyed_));
    auto* top = new GUIContainer(&listener_, "Top", 0, 0, 200, 200, false);
    top->AddChild(inner);
    GUISDLHandler::Get().Push(top);
    GUISDLHandler::Get().ScheduleDelete(top);
    EXPECT_EQ(destroyed_, 0);
    Pump();
    EXPECT_EQ(destroyed_, 2);
    EXPECT_EQ(GUISDLHandler::Get().Count(), 1);
    EXPECT_EQ(GUISDLHandler::Get().GetUI(0), root_);
}

using Containers = Toolkit;

TEST_F(Containers, RefuseBadChildrenAndFindOrRemoveByFirstId)
{
    auto* a = new ProbeWidget(&listener_, 0, 0, &destroyed_);
    auto* b = new ProbeWidget(&listener_, 25, 0, &destroyed_);
    EXPECT_EQ(root_->AddChild(a), 1);
    EXPECT_EQ(root_->AddChild(b), 2);
    EXPECT_THROW(root_->AddChild(a), BasicException) << "already has a parent";
    EXPECT_THROW(root_->AddChild(root_), BasicException);
    EXPECT_THROW(root_->AddChild(nullptr), BasicException);
    ProbeWidget negative(&listener_, -1, 0, &destroyed_);
    EXPECT_THROW(root_->AddChild(&negative), BasicException);
    EXPECT_THROW(GUIPanel(&listener_, 0, 0, 0, 10, 2, 0), BasicException);
    GUIPanel flipped(&listener_, 0, 0, -30, -10, 2, 0);
    EXPECT_EQ(flipped.width(), 30);
    EXPECT_EQ(flipped.height(), 10);

    EXPECT_EQ(root_->FindChild(77), a);
    EXPECT_EQ(root_->RemoveChild(77), a);
    EXPECT_EQ(root_->child(0), b) << "later children move down";
    EXPECT_EQ(a->parent(), nullptr);
    EXPECT_EQ(destroyed_, 0) << "removing does not delete";
    EXPECT_EQ(root_->RemoveChild(12345), nullptr);
    delete a;
    EXPECT_EQ(destroyed_, 1);
}

TEST_F(Containers, AFullContainerDeletesAFurtherChildInsteadOfAddingIt)
{
    for (int i = 0; i < GUIContainer::kMaxChildren; ++i)
        root_->AddChild(new GUIPanel(&listener_, 0, 0, 5, 5, 2, 0));
    EXPECT_EQ(root_->AddChild(new ProbeWidget(&listener_, 0, 0, &destroyed_)), 500);
    EXPECT_EQ(destroyed_, 0);
    Pump();
    EXPECT_EQ(destroyed_, 1);
    EXPECT_EQ(root_->childCount(), 500);
}

TEST_F(Containers, AutoGrowEnclosesChildrenUpThroughAutoGrowingAncestors)
{
    auto* outer = new GUIContainer(&listener_, "Outer", 0, 0, 50, 50, true);
    auto* inner = new GUIContainer(&listener_, "Inner", 10, 10, 20, 20, true);
    outer->AddChild(inner);
    root_->AddChild(outer);
    inner->AddChild(new GUIPanel(&listener_, 5, 5, 100, 30, 2, 0));
    EXPECT_EQ(inner->width(), 105);
    EXPECT_EQ(inner->height(), 35);
    EXPECT_EQ(outer->width(), 115);
    EXPECT_EQ(outer->height(), 50);
    EXPECT_EQ(outer->virtualWidth(), outer->width()) << "auto-grow never scrolls";

    auto* fixed = new GUIContainer(&listener_, "Fixed", 0, 0, 100, 100, false);
    root_->AddChild(fixed);
    fixed->AddChild(new GUIPanel(&listener_, 0, 0, 100, 100, 2, 0));
    EXPECT_EQ(fixed->virtualWidth(), 100);
    fixed->AddChild(new GUIPanel(&listener_, 0, 120, 50, 30, 2, 0));
    EXPECT_EQ(fixed->virtualHeight(), 157) << "bottom edge + 7 for the bar";
    EXPECT_EQ(fixed->virtualWidth(), 100);
}

TEST_F(Containers, KeysGoToTheChildUnderTheLastPress)
{
    auto* left = new ProbeWidget(&listener_, 10, 10, &destroyed_);
    auto* right = new ProbeWidget(&listener_, 100, 10, &destroyed_);
    root_->AddChild(left);
    root_->AddChild(right);
    Click(105, 15);
    EXPECT_EQ(root_->hoverIndex(), 1);
    push_key(SDLK_a);
    Pump();
    Click(15, 15);
    push_key(SDLK_b);
    Pump();
    EXPECT_EQ(right->keys, std::vector<int>{SDLK_a});
    EXPECT_EQ(left->keys, std::vector<int>{SDLK_b});
    Click(300, 200); // nothing there: no hover child, keys go nowhere
    EXPECT_EQ(root_->hoverIndex(), -1);
    push_key(SDLK_c);
    Pump();
    EXPECT_EQ(left->keys.size() + right->keys.size(), 2u);
}

class Scrolling : public Toolkit
{
protected:
    void SetUp() override
    {
        Toolkit::SetUp();
        // 100 x 100 at (20, 20) with content 100 pixels high beyond the view: virtual height 207.
        box_ = new GUIContainer(&listener_, "Scroll", 20, 20, 100, 100, false);
        root_->AddChild(box_);
        box_->AddChild(new GUIPanel(&listener_, 0, 0, 80, 200, 2, 0xFF303030));
        button_ = new GUIButton(&listener_, 5, 170, 60, 24, 9, "Deep", 0xFF507050, 0xFFFFFFFF, 16);
        box_->AddChild(button_);
    }
    GUIContainer* box_ = nullptr;
    GUIButton* button_ = nullptr;
};

TEST_F(Scrolling, WheelScrollsTenPixelsAndIsTakenOnlyWhenItMoves)
{
    EXPECT_EQ(box_->virtualHeight(), 207);
    Press(50, 50, 5);
    Release(50, 50, 5);
    Pump();
    EXPECT_EQ(box_->scrollY(), 10);
    for (int i = 0; i < 20; ++i) {
        Press(50, 50, 5);
        Release(50, 50, 5);
    }
    Pump();
    EXPECT_EQ(box_->scrollY(), 107) << "clamped to virtual height - height";
    Press(50, 50, 4);
    Release(50, 50, 4);
    Pump();
    EXPECT_EQ(box_->scrollY(), 97);
    Press(200, 200, 5); // outside the container
    Pump();
    EXPECT_EQ(box_->scrollY(), 97);
    Release(200, 200, 5);
    Pump();
}

TEST_F(Scrolling, ChildrenAreHitAtTheirScrolledPosition)
{
    box_->SetScroll(0, 100);
    // The button's content y 170..194 is now at window y 20 + 70 = 90 .. 114.
    Click(40, 100);
    EXPECT_EQ(ids(), std::vector<int>{9});
    Draw();
    const Picture p = Screen();
    Save(p, "scrolled_container");
    EXPECT_EQ(p.at(80, 110) & 0xFFFFFF, 0x507050u);
}

TEST_F(Scrolling, DraggingTheThumbAndPagingMoveTheView)
{
    // Vertical bar: x 113..119; thumb 100*100/207 = 48 pixels long at the top.
    Press(116, 30);
    Pump();
    Drag(116, 50);
    Pump();
    EXPECT_EQ(box_->scrollY(), 20 * 207 / 100);
    Drag(116, 500);
    Pump();
    EXPECT_EQ(box_->scrollY(), 107);
    Release(116, 500);
    Pump();
    EXPECT_EQ(box_->scrollY(), 107);
    Drag(116, 30); // no button held: nothing moves
    Pump();
    EXPECT_EQ(box_->scrollY(), 107);

    Click(116, 25); // above the thumb: one page up
    EXPECT_EQ(box_->scrollY(), 7);
    Click(116, 115); // below it: one page down
    EXPECT_EQ(box_->scrollY(), 107);
    EXPECT_TRUE(listener_.events.empty()) << "the bar takes the events";
    Draw();
    Save(Screen(), "scroll_bar");
}

using HandlerStack = Toolkit;

TEST_F(HandlerStack, RaisesItsMessagesAtTheLimits)
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    for (int i = 1; i < GUISDLHandler::kMaxStack; ++i)
        handler.Push(root_);
    try {
        handler.Push(root_);
        FAIL();
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Too much GUIContainers stacked in GUISDLHandler!");
    }
    try {
        handler.GetUI(128);
        FAIL();
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "GetUI on empty stack in GUISDLHandler!");
    }
    while (handler.Count() > 0)
        handler.Pop();
    try {
        handler.Pop();
        FAIL();
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Pop on empty stack in GUISDLHandler!");
    }
    EXPECT_THROW(handler.GetUI(-1), BasicException);
}

TEST_F(HandlerStack, ReportsQuitAndWhetherAnythingHappened)
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    bool happened = false;
    handler.PumpEvents(&happened); // the push in SetUp asks for a redraw
    EXPECT_TRUE(happened);
    EXPECT_FALSE(handler.PumpEvents(&happened));
    EXPECT_FALSE(happened);
    PushQuit();
    EXPECT_TRUE(handler.PumpEvents(&happened));
    EXPECT_TRUE(happened);
}
