// The effect functions Media exports. Every argument word is an int32.
#pragma once

#include <vortel/plugin.h>

// Makes the 'GRID' resource named by the text at `name` and owns it from the first call to the last,
// recomputing its points on every call (see wave_grid.h for the wave):
//   columns, rows       points per row and rows, 2 .. 256 (others are clamped, with a log line)
//   width, height       sheet size, x 0.001 scene units
//   amplitude           wave height, x 0.001 scene units
//   wavelength          x 0.001 scene units; 0 or less gives a flat sheet
//   speed               how fast the wave runs along x, x 0.001 scene units per second
//   colors              non-zero: per-point colours (see wave_grid.h); 0: none
// The grid's static flag is set only when no parameter varies and the wave stands still, so readers look
// the grid up again each frame while it moves. A call without memory for the points logs that, sets
// status -1 and leaves the grid empty (no acquisition serves it) until a later call makes it again.
VORTEL_EXPORT bool MakeWaveGrid(StateStruct* state, void** privateData, int32_t name, int32_t columns,
                                int32_t rows, int32_t width, int32_t height, int32_t amplitude,
                                int32_t wavelength, int32_t speed, int32_t colors);
