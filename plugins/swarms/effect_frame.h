// The frame protocol shared by every swarm effect.
//
// Effects that own output swarms keep a private block derived from OutputBlock in the track's
// privateData slot: created (with the output records) on the first call, or on any call that finds
// the slot empty, and destroyed (releasing the outputs) on the last call. The output names are
// remembered at creation, so the last call releases exactly the records this event made even if its
// name parameters changed meanwhile.
//
// Sources are held with vortel::Held (held_swarm) and released in the same call by its destructor.
#pragma once

#include <cstdint>

#include "swarm_store.h"

namespace swarms
{

struct OwnedSwarm {
    SwarmRecord* record = nullptr; // null when the cache refused the name
    char name[256] = {};
};

struct OutputBlock {
    OwnedSwarm out[2];
    bool built = false; // false until the first rebuild, so the first call always builds
    virtual ~OutputBlock() = default;
};

// Effect results as the player reads them.
enum : bool { kStop = false, kDone = true };

// Opens a call of an effect owning `outputs` (1 or 2) swarms named by text indices `names`: status 1;
// on a last call the outputs are released and the block freed; a name that does not resolve is logged
// as "<effect>: Couldn't get the name for the swarm nr %d" with status -1 and result false; an empty
// slot gets a new block and new output records. Returns the block to work on, or null when the call
// ends here with *result. The outputs are static when the event's parameters are constant, unless the
// effect rebuilds them on every call (`rebuiltEveryCall`): a static flag would tell in-place operations
// that their work lasts, and the next rebuild would wipe it.
OutputBlock* enter_output_effect(StateStruct* state, void** privateData, const int32_t* names, int outputs,
                                 const char* effect, OutputBlock* (*make)(), bool* result,
                                 bool rebuiltEveryCall);

template <class Block>
Block* enter_output_effect(StateStruct* state, void** privateData, const int32_t* names, int outputs,
                           const char* effect, bool* result, bool rebuiltEveryCall = false)
{
    OutputBlock* (*make)() = []() -> OutputBlock* { return new Block; };
    return static_cast<Block*>(
        enter_output_effect(state, privateData, names, outputs, effect, make, result, rebuiltEveryCall));
}

// Opens a call of an effect that changes a swarm in place: status 1; the first call only creates the
// private block and the last only destroys it, so the swarm is first changed by the first running call
// (made in the same frame). A running call that finds the slot empty creates the block and goes on.
// Returns the block, or null when the call ends here (result true).
template <class Block> Block* enter_inplace_effect(StateStruct* state, void** privateData)
{
    state->status = 1;
    Block* block = static_cast<Block*>(*privateData);
    if (vortel::is_last_call(state)) {
        delete block;
        *privateData = nullptr;
        return nullptr;
    }
    if (!block) {
        block = new Block;
        *privateData = block;
    }
    return vortel::is_first_call(state) ? nullptr : block;
}

// A source swarm ('SWRM', type name "swarm ") acquired by text index in caller's name for this call; the
// holder's destructor releases it.
inline vortel::Held held_swarm(int32_t index, const char* caller)
{
    return vortel::Held(kTypeSwarm, index, caller, "swarm ");
}

// True (and logged once per block) when a source is one of the effect's own outputs: reading and
// rewriting the same arrays in one pass would read freed memory.
bool source_is_output(const OutputBlock* block, const SwarmRecord* source, const char* effect, bool* warned);

} // namespace swarms
