// Evaluating a multi parameter as its number of keys grows: the segment search must not walk them.
//
//   MultiLinear/N   a linear multi of N keys, evaluated at times spread over its whole length
//   MultiBezier/N   the same with cubic interpolation
// MultiLinear/1000 / MultiLinear/2 is the cost of a long chain.
#include <vector>

#include <benchmark/benchmark.h>

#include "param_eval.h"

namespace
{

std::vector<Param> chain(int keys, int32_t interpolation)
{
    Param p;
    p.kind = kParamMulti;
    p.interpolation = interpolation;
    for (int i = 0; i < keys; ++i) {
        p.keys.push_back((i * 7919) % 1000);
        if (i > 0)
            p.lengths.push_back(i % 10 == 0 ? 0 : 100);
    }
    finalize_multi(p);
    std::vector<Param> list;
    list.push_back(std::move(p));
    return list;
}

void evaluate_over_chain(benchmark::State& state, int32_t interpolation)
{
    const std::vector<Param> list = chain(int(state.range(0)), interpolation);
    const uint32_t length = uint32_t(list[0].segmentEnds.back());
    std::vector<uint32_t> times;
    for (uint32_t k = 0; k < 4096; ++k)
        times.push_back(1000 + uint32_t(uint64_t(k) * 2654435761u % (length + 1)));
    size_t next = 0;
    int32_t out[4];
    bool constant;
    for (auto _ : state) {
        evaluate_param(list, 0, times[next], 1000, out, &constant);
        benchmark::DoNotOptimize(out[0]);
        next = (next + 1) & 4095;
    }
}

void MultiLinear(benchmark::State& state)
{
    evaluate_over_chain(state, kInterpolLin);
}
void MultiBezier(benchmark::State& state)
{
    evaluate_over_chain(state, kInterpolBez);
}
BENCHMARK(MultiLinear)->Arg(2)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(MultiBezier)->Arg(2)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
