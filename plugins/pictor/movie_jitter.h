// The draws of MovieJitter: from one seed, where the three additive copies of a picture go and how bright
// they are. A chain of multiplicative-congruential steps (K = 950706376, modulus 2^31 - 1, every product
// taken in 32 bits) gives five lots: the jitter size, its sign, the spread, the axis and the alpha.
#pragma once

#include <cstdint>

struct JitterDraw {
    int32_t jitterX, jitterY; // whole scene units by which the middle copy P moves
    int32_t spreadX, spreadY; // the outer copies sit at P + spread and P - spread
    int32_t alpha;            // 0..255, the same for all three copies
};

// amount: how far the copies stray (negative amounts count as 0); level: brightness 0..255 of the sum of
// the three copies (each gets about a third).
JitterDraw movie_jitter_draw(int32_t seed, int32_t amount, int32_t level);
