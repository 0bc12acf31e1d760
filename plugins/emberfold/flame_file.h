// Reading a flame description from its text file and the animation companion beside it (the same name
// with "ANI" appended).
//
// Description file, whitespace-separated numbers:
//   n                          n != 0: the transform count, no extension block
//   (if n == 0) e count        extension flag and transform count
//   per transform              scale[3] skew[3] rotation[9] translation[3] colour weight variations[50]
//   k, then k x (position colour)   palette stops; colour 0xAARRGGBB written as a signed decimal;
//                                   position 0 changes the first colour, 1 the last, others add a stop
//   (if e > 0) symmetry
// Companion: per transform 12 x (wave period low high) then baseRotation[9]. Without one the channels
// are static (the transforms do not move).
//
// Damaged files never write past the fixed arrays: counts above 50 transforms keep the first 50 (the
// others are skipped), stops beyond the palette's room are dropped, and a file that ends early or holds
// a malformed number keeps what was read so far. Each of these writes one line to the log. So does a file
// longer than kMaxFlameFileBytes (real ones hold a few dozen kilobytes): its first kMaxFlameFileBytes are
// read, so a device or an endless stream named as a flame file is never read to its end.
#pragma once

#include "flame_description.h"

#include <cstddef>

namespace emberfold
{

constexpr size_t kMaxFlameFileBytes = size_t(16) << 20;

// Fills `description` (which should hold the defaults) from `fileName` and its companion and computes
// the probabilities. Both files are opened through the player, so the demo's data file serves them before
// the disk. False only when the description file cannot be opened (description unchanged).
bool read_flame_description(FlameDescription& description, const char* fileName);

} // namespace emberfold
