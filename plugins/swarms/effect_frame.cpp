#include "effect_frame.h"

#include <cstdio>
#include "common/resource_cache.h"

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
    if (state->phase < 0 && block) {
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
        text[k] = gServices.GetText ? gServices.GetText(names[k]) : nullptr;
        if (!text[k]) {
            log_message("%s: Couldn't get the name for the swarm nr %d", effect, names[k]);
            state->status = -1;
            *result = kStop;
            return nullptr;
        }
    }
    if (state->phase < 0) {
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

Acquisition::Acquisition(uint32_t type, int32_t index, const char* requester, const char* what)
    : type_(type), index_(index)
{
    if (gServices.AcquireByIndex)
        resource_ = gServices.AcquireByIndex(type, index, nullptr, false, requester, what, &flag_);
}

Acquisition::Acquisition(int32_t index, const char* requester)
    : Acquisition(kTypeSwarm, index, requester, "swarm ")
{
}

Acquisition::~Acquisition()
{
    release();
}

void Acquisition::release()
{
    if (resource_ && gServices.ReleaseByIndex)
        gServices.ReleaseByIndex(type_, index_, resource_);
    resource_ = nullptr;
}

bool source_is_output(const OutputBlock* block, const SwarmRecord* source, const char* effect, bool* warned)
{
    for (const OwnedSwarm& out : block->out) {
        if (out.record && out.record == source) {
            if (!*warned)
                log_message("%s: the swarm \"%s\" cannot be its own source\n", effect, out.name);
            *warned = true;
            return true;
        }
    }
    return false;
}

} // namespace swarms
