// The player program: start-up in steps, the frame loop, and the shutdown that undoes exactly what the
// start-up reached.
//
// Steps reached, in order: 0 (log, command line, setup window), 1 (demo document), 2 (SDL, window,
// GLEW, gamma), 3 (libraries loaded), 4 (events bound), 5 (surfaces, GL state, services, viewport,
// Vortel_Init), 7 (music, data file, preloading), 9 (frame loop). There is no step 6 or 8.
#pragma once

#include <cstdint>

struct GLViewportEntry;

// The whole program. Returns the exit status: 0 when the frame loop was reached and ran to its end (or
// was ended by the viewer); 1 when start-up failed or was cancelled, when the command line was
// malformed, or when a fatal error stopped the demo part-way. --help and --version return 0.
int run_player(int argc, char** argv);

// The display gamma ramp: entry i = trunc(pow(i / 256, 1 / gamma) * 65535), at most 65535. Gamma 1.0
// gives i * 65535 / 256, which is also what the player writes back at shutdown.
void compute_gamma_ramp(double gamma, uint16_t ramp[256]);

// The viewport that shows a demo made for demoAspect (width / height) undistorted on a screen of
// screenAspect, letterboxed or pillarboxed and centred in width x height. Returns false (nothing to push)
// when the two ratios are within 0.01 of each other.
bool aspect_viewport(int width, int height, float screenAspect, float demoAspect, GLViewportEntry* out);
