// The 'GRID' resources Media makes: grids owned by MakeWaveGrid events, served by name.
//
// An event creates its grid on its first call and gives it up on its last. A reader that still holds the
// grid then keeps it alive until its own release, so a record never disappears under a holder; a given-up
// grid is no longer found by new acquisitions, and an event that starts under the same name takes it over.
#pragma once

#include "wave_grid.h"

namespace media
{

struct GridEntry;

// The grid named name for a new owner, or null when another owner is making one of that name.
GridEntry* own_grid(const char* name);
void give_up_grid(GridEntry* entry);
WaveGrid& grid_of(GridEntry* entry);
void set_grid_static(GridEntry* entry, bool isStatic);

void* acquire_grid(const char* name, void* userData, bool* outFlag); // TextureGridRecord*, or null
bool release_grid(const char* name, void* resource);
void forget_grids(); // at Vortel_Quit

} // namespace media
