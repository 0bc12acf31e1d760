// The setup dialog's controls and reactions, driven through the handler on a 320 x 240 window.
#include "gui_fixture.h"

#include "gui_check_box.h"
#include "gui_combo_box.h"
#include "gui_container.h"
#include "gui_label.h"
#include "gui_sdl_handler.h"
#include "gui_slider.h"
#include "setup_dialog.h"

#include <string>
#include <vector>

class SetupDialogTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        window_ = new GUIContainer(&dialog_, "Setup Window", 0, 0, kWidth, kHeight, false);
        dialog_.Build(window_);
        GUISDLHandler::Get().Push(window_);
    }
    void TearDown() override
    {
        GUISDLHandler::Get().ScheduleDelete(window_);
        GuiFixture::TearDown();
    }
    GUIComboBox* Combo(int id) const { return dynamic_cast<GUIComboBox*>(window_->FindChild(id)); }
    // Opens a combo box with a click and clicks row `row` of its list.
    void Choose(int id, int row)
    {
        GUIComboBox* combo = Combo(id);
        ASSERT_NE(combo, nullptr);
        const int x = combo->x() + combo->width() / 2;
        Click(x, combo->y() + combo->height() / 2);
        ASSERT_NE(combo->popup(), nullptr);
        Click(x, combo->y() + row * combo->height() + combo->height() / 2);
    }
    static std::vector<std::string> Items(GUIComboBox* combo) { return combo->items(); }

    SetupDialog dialog_{1.2, 77};
    GUIContainer* window_ = nullptr;
};

TEST_F(SetupDialogTest, BuildsTheControlsWithTheirIdsAndPlaces)
{
    ASSERT_EQ(window_->childCount(), 13);
    const int ids[] = {2, 1, 3, 1, 4, 1, 6, 1, 5, 1, 7, 8, 9};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(window_->child(i)->id(), ids[i]) << "child " << i;
    EXPECT_EQ(window_->virtualWidth(), 320) << "nothing reaches past the window: no scroll bars";
    EXPECT_EQ(window_->virtualHeight(), 240);

    GUIComboBox* aspect = Combo(3);
    EXPECT_EQ(aspect->x(), 265);
    EXPECT_EQ(aspect->height(), 24);
    EXPECT_EQ(Items(aspect), (std::vector<std::string>{"5/4", "4/3", "16/9", "16/10"}));
    EXPECT_EQ(aspect->selected(), 1);
    EXPECT_EQ(Combo(4)->selected(), 5);
    EXPECT_EQ(Items(Combo(4))[5], "1280 by 1024");
    EXPECT_EQ(Combo(6)->selected(), 3) << "the list shows the gamma handed in (1.2), not the default";
    EXPECT_EQ(Items(Combo(6))[4], "1.3 for beamers");
    EXPECT_TRUE(dynamic_cast<GUICheckBox*>(window_->FindChild(5))->checked());
    auto* slider = dynamic_cast<GUISlider*>(window_->FindChild(7));
    EXPECT_EQ(slider->value(), 77);
    EXPECT_EQ(slider->width(), 194);
    auto* label = dynamic_cast<GUILabel*>(window_->child(1));
    EXPECT_EQ(label->text(), "Select your screens aspect ratio:");
    EXPECT_EQ(label->height(), 17);
    EXPECT_LT(label->x() + label->width(), 265) << "the label must not run under its combo box";

    EXPECT_EQ(dialog_.width, 1280);
    EXPECT_EQ(dialog_.height, 1024);
    EXPECT_FLOAT_EQ(dialog_.aspect, 1.3333334f);
    EXPECT_DOUBLE_EQ(dialog_.gamma, 1.2) << "the gamma handed in stays until an entry is picked";
}

TEST_F(SetupDialogTest, AspectChangeReplacesTheResolutionBoxAtTheEndOfThePass)
{
    GUIComboBox* oldBox = Combo(4);
    Choose(3, 2); // "16/9"
    GUIComboBox* newBox = Combo(4);
    ASSERT_NE(newBox, nullptr);
    EXPECT_NE(newBox, oldBox);
    EXPECT_EQ(Items(newBox), (std::vector<std::string>{"1280 by 720", "1600 by 900"}));
    EXPECT_EQ(newBox->selected(), 0);
    EXPECT_EQ(newBox->x(), 215);
    EXPECT_EQ(dialog_.width, 1280);
    EXPECT_EQ(dialog_.height, 720);
    EXPECT_FLOAT_EQ(dialog_.aspect, 1.7777778f);

    Choose(4, 1); // "1600 by 900"
    EXPECT_EQ(dialog_.width, 1600);
    EXPECT_EQ(dialog_.height, 900);
    EXPECT_FLOAT_EQ(dialog_.aspect, 1.7777778f) << "a resolution never changes the aspect";

    Choose(3, 3); // "16/10" picks its third entry
    EXPECT_EQ(Combo(4)->selected(), 2);
    EXPECT_EQ(dialog_.width, 1680);
    EXPECT_EQ(dialog_.height, 1050);
    EXPECT_FLOAT_EQ(dialog_.aspect, 1.6f);
    Choose(3, 0); // "5/4"
    EXPECT_EQ(Items(Combo(4)), std::vector<std::string>{"1280 by 1024"});
    EXPECT_FLOAT_EQ(dialog_.aspect, 1.25f);
    EXPECT_EQ(window_->childCount(), 13);
}

TEST_F(SetupDialogTest, GammaFullScreenVolumeAndTheButtons)
{
    Choose(6, 4);
    EXPECT_DOUBLE_EQ(dialog_.gamma, 1.3);
    Choose(6, 0);
    EXPECT_DOUBLE_EQ(dialog_.gamma, 0.9);
    Click(305, 123);
    EXPECT_FALSE(dialog_.fullscreen);
    Click(305, 123);
    EXPECT_TRUE(dialog_.fullscreen);
    Click(121 + 192 / 2, 155);
    EXPECT_EQ(dialog_.volume, 96 * 255 / 192);
    EXPECT_FALSE(dialog_.started);
    Click(85, 210);
    EXPECT_TRUE(dialog_.cancelled);
    Click(200, 210);
    EXPECT_TRUE(dialog_.started);
}

TEST(SetupTables, TheGammaListShowsTheGammaHandedInEvenWhenNoEntryHasIt)
{
    EXPECT_EQ(setup_gamma_list(1.0).selected, 1);
    EXPECT_EQ(setup_gamma_list(1.4).items.size(), 6u);
    const SetupGammaList odd = setup_gamma_list(1.25);
    ASSERT_EQ(odd.items.size(), 7u);
    EXPECT_EQ(odd.items[6], "1.25");
    EXPECT_EQ(odd.selected, 6);
}

TEST(SetupTables, ResolutionsForEveryAspectAndOutOfRangeEntries)
{
    EXPECT_EQ(setup_resolution(1, 0).width, 640);
    EXPECT_EQ(setup_resolution(1, 7).height, 1440);
    EXPECT_EQ(setup_resolution(1, 8).height, 1024);
    EXPECT_EQ(setup_resolution(0, 3).width, 1280);
    EXPECT_EQ(setup_resolution(2, 1).height, 900);
    EXPECT_EQ(setup_resolution(2, 5).height, 720);
    EXPECT_EQ(setup_resolution(3, 3).width, 1920);
    EXPECT_EQ(setup_resolution(3, -1).width, 1680);
    EXPECT_DOUBLE_EQ(setup_gamma(5), 1.4);
    EXPECT_DOUBLE_EQ(setup_gamma(6), 1.0);
    EXPECT_DOUBLE_EQ(setup_gamma(-1), 1.0);
}

TEST_F(SetupDialogTest, ScreenshotShowsReadableLabelsAndTheControlsInPlace)
{
    SetupDialog::DrawStack();
    const Picture p = Screen();
    Save(p, "setup_window");
    EXPECT_EQ(p.at(150, 100), 0xFF303030u) << "background panel";
    EXPECT_EQ(p.at(270, 30) & 0xFFFFFF, 0x505050u) << "aspect combo box";
    EXPECT_EQ(p.at(55, 218) & 0xFFFFFF, 0x705050u) << "Cancel button";
    EXPECT_EQ(p.at(155, 218) & 0xFFFFFF, 0x507050u) << "Start Demo button";
    EXPECT_EQ(p.at(130, 150) & 0xFFFFFF, 0xFFFFFFu) << "slider outline";
    EXPECT_EQ(p.at(130, 155) & 0xFFFFFF, 0u) << "slider track";
    int white = 0;
    for (int y = 15; y < 32; ++y)
        for (int x = 10; x < 200; ++x)
            white += p.green(x, y) > 160;
    EXPECT_GT(white, 150) << "the first label's text";

    Click(290, 22); // open the aspect list over the window
    SetupDialog::DrawStack();
    Save(Screen(), "setup_window_aspect_open");
    Click(290, 22 + 24);
}
