// The player program: start-up in steps, the frame loop, and the shutdown that undoes exactly what the
// start-up reached.
#pragma once

#include <cstdint>

struct GLViewportEntry;

// The last start-up step reached; it chooses the shutdown path. The numbers are the ones the failure
// messages print ("Stopped at step '5'"), so they never change: there is no step 6 or 8.
enum class StartupStep : int {
    Started = 0,          // log, command line, setup window
    DocumentLoaded = 1,   // the demo document and its texts
    WindowOpen = 2,       // SDL, the window, GLEW, the display gamma
    LibrariesLoaded = 3,  // every effect library loaded
    EventsBound = 4,      // every event bound to its effect function
    SurfacesCreated = 5,  // surfaces; then GL state, services, viewport and Vortel_Init of every library
    ResourcesLoading = 7, // music, packed data file, preloading under the loader animation
    Playing = 9,          // the frame loop
};

// The whole program. Returns the exit status: 0 when the frame loop was reached and ran to its end (or
// was ended by the viewer); 1 when start-up failed or was cancelled, when the command line was
// malformed, or when a fatal error stopped the demo part-way (running out of memory too: "Out of
// memory" and the step go to the log and to stderr). --help and --version return 0.
int run_player(int argc, char** argv);

// The display gamma ramp: entry i = trunc(pow(i / 256, 1 / gamma) * 65535), at most 65535. Gamma 1.0
// gives i * 65535 / 256, which is also what the player writes back at shutdown.
void compute_gamma_ramp(double gamma, uint16_t ramp[256]);

// The viewport that shows a demo made for demoAspect (width / height) undistorted on a screen of
// screenAspect, letterboxed or pillarboxed and centred in width x height. Returns false (nothing to push)
// when the two ratios are within 0.01 of each other.
bool aspect_viewport(int width, int height, float screenAspect, float demoAspect, GLViewportEntry* out);
