#include "dispatch.h"

#include <array>
#include <utility>

namespace
{

template <size_t... I>
bool call_with_words(EffectFn effect, StateStruct* state, void** privateData, const int32_t* words)
{
    return effect(state, privateData, words[I]...);
}

// One thunk per word count, generated at compile time: thunk N makes a call with N words loaded from the
// buffer, so the callee sees an ordinary call site with that many arguments.
template <size_t N, size_t... I> constexpr EffectThunk make_thunk(std::index_sequence<I...>)
{
    return &call_with_words<I...>;
}

template <size_t... N> constexpr std::array<EffectThunk, sizeof...(N)> make_table(std::index_sequence<N...>)
{
    return {{make_thunk<N>(std::make_index_sequence<N>())...}};
}

constexpr auto kThunks = make_table(std::make_index_sequence<kMaxEffectWords + 1>());

} // namespace

EffectThunk effect_thunk(int count)
{
    return count < 0 || count > kMaxEffectWords ? nullptr : kThunks[size_t(count)];
}

bool dispatch_effect(EffectFn effect, StateStruct* state, void** privateData, const int32_t* words, int count)
{
    EffectThunk thunk = effect_thunk(count);
    return thunk && effect ? thunk(effect, state, privateData, words) : false;
}
