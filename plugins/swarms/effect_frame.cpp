#include "effect_frame.h"

#include "common/resource_cache.h"
#include <cstdio>

namespace swarms
{

OutputBlock* enter_output_effect(StateStruct* state, void** privateData, const int32_t* names, int outputs,
                                 const char* effect, OutputBlock* (*make)(), bool* result,
                                 bool rebuiltEveryCall)
{
    state->status = 1;
    OutputBlock* block = static_cast<OutputBlock*>(*privateData);
    // The last call releases what this activation made, by the names remembered at creation: a name
    // parameter that changed or stopped resolving must not leave the records in the cache.
    if (vortel::is_last_call(state) && block) {
        for (int k = 0; k < outputs; ++k)
            if (block->out[k].record && gCache)
                gCache->release(block->out[k].name);
        delete block;
        *privateData = nullptr;
        *result = kDone;
        return nullptr;
    }
    const char* text[2] = {};
    for (int k = 0; k < outputs; ++k) {
        text[k] = vortel::text(names[k]);
        if (!text[k]) {
            vortel::log("%s: Couldn't get the name for the swarm nr %d", effect, names[k]);
            state->status = -1;
            *result = kStop;
            return nullptr;
        }
    }
    if (vortel::is_last_call(state)) {
        *result = kDone;
        return nullptr;
    }
    if (!block) {
        block = make();
        *privateData = block;
        for (int k = 0; k < outputs; ++k) {
            std::snprintf(block->out[k].name, sizeof(block->out[k].name), "%s", text[k]);
            block->out[k].record = new_swarm(text[k], state->paramsConstant && !rebuiltEveryCall);
        }
    }
    // An output the cache refused (its name is live elsewhere) leaves the event without output for its
    // whole activation; the refusal was logged once.
    for (int k = 0; k < outputs; ++k) {
        if (!block->out[k].record) {
            state->status = -1;
            *result = kDone;
            return nullptr;
        }
    }
    return block;
}

bool source_is_output(const OutputBlock* block, const SwarmRecord* source, const char* effect, bool* warned)
{
    for (const OwnedSwarm& out : block->out) {
        if (out.record && out.record == source) {
            if (!*warned)
                vortel::log("%s: the swarm \"%s\" cannot be its own source\n", effect, out.name);
            *warned = true;
            return true;
        }
    }
    return false;
}

} // namespace swarms
