// How much PostGlare reduces the thresholded picture before blurring it (see post_glare.cpp).
#pragma once

#include <cstdint>

// 1, 2 or 4: the factor by which width and height are divided for a glare of this radius (pixels), given
// the number of blur passes that add (half of them horizontal, the rest vertical).
int32_t glare_reduction(int32_t radius, int32_t passes);
