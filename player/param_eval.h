// Evaluation of animated parameters at a demo time.
//
// Every value is a 32-bit signed word; fractions are in fixed point chosen by the document's author,
// except quaternions (sqd and rotate), whose components are scaled by 100000. Results that do not fit
// in 32 bits saturate at INT32_MIN / INT32_MAX; a result that is not a number gives 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo_model.h"

// Evaluates params[index] at demo time t (ms) for an event that starts at eventStart (ms).
// Writes its value words at out[0..] and returns how many it wrote: 4 for rotate and for a multi with
// sqd interpolation, which consume the three parameters after them, 1 otherwise. Never more than
// params.size() - index words are written. *constant is set to whether the value is independent of t.
//
// Beat and loops parameters acquire and release their 'BEAT' record through the registry (registry.h)
// on every evaluation; a missing record is logged by the registry and gives min (beat) or 0 (loops).
// Times before eventStart evaluate a multi as at eventStart.
//
// The operands of a combi and the angles of a rotate are evaluated on their own, with nothing after them.
// Throws BasicException when a sqd is not followed by three multi parameters with the same number of
// segments, or a rotate by three parameters (so a sqd or rotate as an operand or angle always throws).
int evaluate_param(const std::vector<Param>& params, size_t index, uint32_t t, uint32_t eventStart,
                   int32_t* out, bool* constant);

// Fills Param::segmentEnds of a multi from its lengths. The loader calls it once per multi; a multi
// built by hand must call it after setting lengths and keys and before it is evaluated.
void finalize_multi(Param& param);
