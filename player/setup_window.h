// The setup window the player shows before the demo: the viewer picks aspect ratio, resolution, gamma,
// full screen and music volume, then starts or cancels.
#pragma once

#include <cstdint>

struct SDL_Config;

// Shows the window and runs it until the viewer starts or cancels (the window is closed again before it
// returns, with SDL shut down through SDL_Config_Quit).
//
// Returns false when the window cannot be opened at all: *run is then true, nothing else changes, and the
// player takes its settings from "SDL.ini". Returns true otherwise: *run tells whether the viewer pressed
// "Start Demo" (false for cancel or closing the window), and on start *config holds the video and audio
// mode to open, *gamma, *volume (0..255) and *screenAspect (width / height of the screen) the choices.
bool run_setup_window(double* gamma, int32_t* volume, bool* run, float* screenAspect, SDL_Config* config);
