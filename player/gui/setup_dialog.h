// SetupDialog: the controller of the setup window and the listener of every control in it. It builds
// the controls into its "Setup Window" container and keeps the viewer's choices.
//
// Control ids: 1 every text label, 2 background panel, 3 aspect-ratio combo box, 4 resolution combo box,
// 5 full-screen check box, 6 gamma combo box, 7 music-volume slider, 8 "Cancel", 9 "Start Demo".
#pragma once

#include "gui_widget.h"

#include <string>
#include <vector>

class GUIContainer;

enum SetupControlId : int {
    kSetupLabelId = 1,
    kSetupPanelId = 2,
    kSetupAspectId = 3,
    kSetupResolutionId = 4,
    kSetupFullscreenId = 5,
    kSetupGammaId = 6,
    kSetupVolumeId = 7,
    kSetupCancelId = 8,
    kSetupStartId = 9,
};

struct SetupResolution {
    int width, height;
};

// The resolution that entry `resolutionIndex` of the list for aspect entry `aspectIndex` stands for
// (5/4, 4/3, 16/9, 16/10); indices outside a list give that aspect's default resolution.
SetupResolution setup_resolution(int aspectIndex, int resolutionIndex);
// Gamma of entry `index` of the gamma list (0.9 .. 1.4); other indices give 1.0.
double setup_gamma(int index);

// The gamma list's entries and the one shown selected for the gamma handed in: the entry of that value,
// or, for a value no entry has, one more entry showing it (picking it keeps the value handed in).
struct SetupGammaList {
    std::vector<std::string> items;
    int selected;
};
SetupGammaList setup_gamma_list(double handedIn);

class SetupDialog : public GUIListener
{
public:
    static constexpr int kWindowWidth = 320;
    static constexpr int kWindowHeight = 240;

    SetupDialog(double gamma, int volume);

    // Adds the controls to `container` and remembers it as the dialog's window.
    void Build(GUIContainer* container) override;
    void Event(GUIWidget* widget, int id, int userData) override;

    // Pumps events and redraws until "Start Demo" or "Cancel" was pressed or a quit was requested;
    // returns whether a quit was requested. Needs the window's GL context, painter and projection.
    bool RunLoop();
    // Clears the screen and draws every visible container on the handler stack, bottom first.
    static void DrawStack();

    GUIContainer* window = nullptr;
    bool cancelled = false;
    bool started = false;
    int width = 1280;
    int height = 1024;
    bool fullscreen = true;
    double gamma;
    int volume;
    float aspect = 4.0f / 3.0f;

private:
    void AspectChanged(int aspectIndex);
    void AddResolutionBox(int aspectIndex, int selected);

    int aspectIndex_ = 1;
    double handedInGamma_;
};
