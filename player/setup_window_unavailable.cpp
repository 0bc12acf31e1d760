// Stands in for the setup window until the GUI lands: the window never opens, so the player goes on with
// the settings of "SDL.ini". The GUI's implementation replaces this file.
#include "setup_window.h"

bool run_setup_window(double*, int32_t*, bool* run, float*, SDL_Config*)
{
    *run = true;
    return false;
}
