// Calling an effect function with a run-time number of argument words.
#pragma once

#include <cstdint>

#include <vortel/plugin.h>

// Calls `effect(state, privateData, words[0], ..., words[count - 1])`: exactly `count` 32-bit words after
// the two pointers, so a callee declaring a fixed parameter list receives what it declares.
// `count` 0..kMaxEffectWords. Returns the effect's result; returns false without calling anything when
// `count` is outside that range or `effect` is null. `words` needs at least `count` readable entries.
bool dispatch_effect(EffectFn effect, StateStruct* state, void** privateData, const int32_t* words,
                     int count);

// The caller dispatch_effect uses for `count` words, for callers that call one event many times:
// thunk(effect, state, privateData, words) is dispatch_effect(effect, state, privateData, words, count)
// for a non-null effect. Null when `count` is outside 0..kMaxEffectWords.
typedef bool (*EffectThunk)(EffectFn effect, StateStruct* state, void** privateData, const int32_t* words);
EffectThunk effect_thunk(int count);
