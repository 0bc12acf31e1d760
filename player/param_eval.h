// Evaluation of animated parameters at a demo time.
#pragma once

#include <cstdint>
#include <vector>

#include "demo_model.h"

// Evaluates params[index] at demo time t for an event that starts at eventStart. Writes its value words
// at out[0..] and returns how many it wrote (4 for rotate and sqd, which consume the three parameters
// after them, 1 otherwise). *constant is set to whether the value is independent of time.
// A sqd not followed by three multi parameters with the same segment count throws BasicException.
int evaluate_param(const std::vector<Param>& params, size_t index, uint32_t t, uint32_t eventStart,
                   int32_t* out, bool* constant);

// Fills Param::segmentEnds of a multi parameter (called by the loader once per multi).
void finalize_multi(Param& param);
