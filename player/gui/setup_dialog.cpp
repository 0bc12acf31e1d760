#include "setup_dialog.h"

#include "gui_button.h"
#include "gui_check_box.h"
#include "gui_combo_box.h"
#include "gui_container.h"
#include "gui_label.h"
#include "gui_panel.h"
#include "gui_sdl_handler.h"
#include "gui_slider.h"

#include <GL/glew.h>
#include <SDL/SDL.h>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kControlColour = 0xFF505050;

// One aspect-ratio entry: its ratio, the resolutions offered and the one chosen by default.
struct AspectChoice {
    float ratio;
    std::vector<SetupResolution> resolutions;
    int defaultIndex;
};

const std::vector<AspectChoice>& aspect_choices()
{
    static const std::vector<AspectChoice> choices = {
        {1.25f, {{1280, 1024}}, 0},
        {4.0f / 3.0f,
         {{640, 480},
          {800, 600},
          {1024, 768},
          {1152, 864},
          {1280, 960},
          {1280, 1024},
          {1600, 1200},
          {1920, 1440}},
         5},
        {16.0f / 9.0f, {{1280, 720}, {1600, 900}}, 0},
        {1.6f, {{1280, 800}, {1440, 900}, {1680, 1050}, {1920, 1200}}, 2},
    };
    return choices;
}

std::vector<std::string> resolution_items(int aspectIndex)
{
    std::vector<std::string> items;
    for (const SetupResolution& r : aspect_choices()[size_t(aspectIndex)].resolutions)
        items.push_back(std::to_string(r.width) + " by " + std::to_string(r.height));
    return items;
}

bool valid_aspect(int aspectIndex)
{
    return aspectIndex >= 0 && size_t(aspectIndex) < aspect_choices().size();
}

} // namespace

SetupResolution setup_resolution(int aspectIndex, int resolutionIndex)
{
    if (!valid_aspect(aspectIndex))
        aspectIndex = 1;
    const AspectChoice& choice = aspect_choices()[size_t(aspectIndex)];
    if (resolutionIndex < 0 || size_t(resolutionIndex) >= choice.resolutions.size())
        resolutionIndex = choice.defaultIndex;
    return choice.resolutions[size_t(resolutionIndex)];
}

namespace
{

constexpr double kGammas[] = {0.9, 1.0, 1.1, 1.2, 1.3, 1.4};
constexpr int kGammaCount = int(sizeof(kGammas) / sizeof(kGammas[0]));

// The list entry showing `gamma`: the entry of that value, or -1 when none has it.
int gamma_entry(double gamma)
{
    for (int i = 0; i < kGammaCount; ++i)
        if (std::fabs(kGammas[i] - gamma) < 0.0005)
            return i;
    return -1;
}

} // namespace

double setup_gamma(int index)
{
    return (index >= 0 && index < kGammaCount) ? kGammas[index] : 1.0;
}

SetupGammaList setup_gamma_list(double handedIn)
{
    SetupGammaList list{{"0.9", "1.0 for TFTs", "1.1 for CRTs", "1.2", "1.3 for beamers", "1.4"}, 0};
    list.selected = gamma_entry(handedIn);
    if (list.selected < 0) {
        // A value from the command line that no entry has: shown as one more entry, so the list never
        // claims a gamma that is not the one in use.
        char text[32];
        std::snprintf(text, sizeof text, "%g", handedIn);
        list.items.push_back(text);
        list.selected = kGammaCount;
    }
    return list;
}

SetupDialog::SetupDialog(double gamma, int volume) : gamma(gamma), volume(volume), handedInGamma_(gamma) {}

void SetupDialog::Build(GUIContainer* container)
{
    window = container;
    window->AddChild(new GUIPanel(this, 0, 0, kWindowWidth, kWindowHeight, kSetupPanelId, 0xFF303030));
    window->AddChild(new GUILabel(this, 10, 15, kSetupLabelId, "Select your screens aspect ratio:", kWhite));
    window->AddChild(new GUIComboBox(this, 265, 10, 50, 18, kSetupAspectId, {"5/4", "4/3", "16/9", "16/10"},
                                     1, kControlColour, kWhite));
    window->AddChild(new GUILabel(this, 10, 50, kSetupLabelId, "Select your screens resolution:", kWhite));
    AddResolutionBox(1, 5);
    window->AddChild(new GUILabel(this, 10, 85, kSetupLabelId, "Select your screens gamma:", kWhite));
    const SetupGammaList gammas = setup_gamma_list(handedInGamma_);
    window->AddChild(new GUIComboBox(this, 205, 80, 110, 15, kSetupGammaId, gammas.items, gammas.selected,
                                     kControlColour, kWhite));
    window->AddChild(new GUILabel(this, 10, 120, kSetupLabelId, "Show the demo fullscreen:", kWhite));
    window->AddChild(new GUICheckBox(this, 297, 115, 17, kSetupFullscreenId, true, kControlColour));
    window->AddChild(new GUILabel(this, 10, 150, kSetupLabelId, "Music volume:", kWhite));
    window->AddChild(new GUISlider(this, 120, 150, 192, kSetupVolumeId, 0, 255, volume, true));
    window->AddChild(new GUIButton(this, 50, 200, 70, 20, kSetupCancelId, "Cancel", 0xFF705050, kWhite, 16));
    window->AddChild(
        new GUIButton(this, 150, 200, 100, 20, kSetupStartId, "Start Demo", 0xFF507050, kWhite, 16));
}

void SetupDialog::AddResolutionBox(int aspectIndex, int selected)
{
    window->AddChild(new GUIComboBox(this, 215, 45, 100, 15, kSetupResolutionId,
                                     resolution_items(aspectIndex), selected, kControlColour, kWhite));
}

void SetupDialog::AspectChanged(int aspectIndex)
{
    if (!valid_aspect(aspectIndex))
        return;
    aspectIndex_ = aspectIndex;
    // The old box may be the one whose event is being handled: it is deleted at the end of the pass.
    GUISDLHandler::Get().ScheduleDelete(window->RemoveChild(kSetupResolutionId));
    const AspectChoice& choice = aspect_choices()[size_t(aspectIndex)];
    AddResolutionBox(aspectIndex, choice.defaultIndex);
    const SetupResolution r = choice.resolutions[size_t(choice.defaultIndex)];
    width = r.width;
    height = r.height;
    aspect = choice.ratio;
}

void SetupDialog::Event(GUIWidget* widget, int id, int)
{
    switch (id) {
    case kSetupAspectId:
        AspectChanged(static_cast<GUIComboBox*>(widget)->selected());
        break;
    case kSetupResolutionId: {
        const SetupResolution r =
            setup_resolution(aspectIndex_, static_cast<GUIComboBox*>(widget)->selected());
        width = r.width;
        height = r.height;
        break;
    }
    case kSetupFullscreenId:
        fullscreen = !fullscreen;
        break;
    case kSetupGammaId: {
        const int entry = static_cast<GUIComboBox*>(widget)->selected();
        gamma = entry < kGammaCount ? setup_gamma(entry) : handedInGamma_;
        break;
    }
    case kSetupVolumeId:
        volume = static_cast<GUISlider*>(widget)->value();
        break;
    case kSetupCancelId:
        cancelled = true;
        break;
    case kSetupStartId:
        started = true;
        break;
    default:
        break;
    }
}

void SetupDialog::DrawStack()
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int i = 0; i < handler.Count(); ++i) {
        GUIContainer* container = handler.GetUI(i);
        if (container->visible())
            container->Draw(0, 0);
    }
}

bool SetupDialog::RunLoop()
{
    GUISDLHandler& handler = GUISDLHandler::Get();
    bool quit = false;
    while (!cancelled && !started && !quit) {
        bool happened = false;
        quit = handler.PumpEvents(&happened);
        if ((SDL_GetAppState() & SDL_APPACTIVE) && happened) {
            DrawStack();
            SDL_GL_SwapBuffers();
        } else {
            SDL_Delay(3);
        }
    }
    return quit;
}
