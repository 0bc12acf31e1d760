// Finding a member of the packed data file as the file grows.
//
//   OpenMember/N      OpenFile + CloseFile of members of a data file with N members, names cycling
//                     through the whole file (mixed case, as plug-ins write them)
//   OpenFewMembers/N  the same, cycling through 8 members spread over the file
// OpenMember/10000 against OpenMember/10 shows whether the lookup depends on the member count; what
// grows there is cache misses, not work: OpenFewMembers stays flat (a scan would grow a thousandfold).
#include <fstream>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "data_file.h"

namespace
{

std::string member_name(int i)
{
    return "media/Picture_" + std::to_string(i) + ".png";
}

void open_members(benchmark::State& state, int distinct)
{
    const int members = int(state.range(0));
    const std::string path = "bench_data_file_" + std::to_string(members) + ".dat";
    {
        std::ofstream out(path, std::ios::binary);
        out << "7F " << members << " " << members * 4 << "\n";
        for (int i = 0; i < members; ++i)
            out << member_name(i) << " 4\n";
        for (int i = 0; i < members; ++i)
            out << "DATA";
    }
    if (!open_data_file(path.c_str())) {
        state.SkipWithError("data file refused");
        return;
    }
    std::vector<std::string> names;
    for (int k = 0; k < 1024; ++k)
        names.push_back(member_name(int(uint64_t(k % distinct) * 2654435761u % uint64_t(members))));
    size_t next = 0;
    for (auto _ : state) {
        SDL_RWops* file = OpenFile(names[next].c_str());
        benchmark::DoNotOptimize(file);
        CloseFile(file);
        next = (next + 1) & 1023;
    }
    open_data_file(nullptr);
}
void OpenMember(benchmark::State& state)
{
    open_members(state, 1024);
}
void OpenFewMembers(benchmark::State& state)
{
    open_members(state, 8);
}
BENCHMARK(OpenMember)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(OpenFewMembers)->Arg(10)->Arg(10000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
