// Points 1 to 3: the NE queries of the library against their baselines, at
// 10^3 to 10^6 ascending distinct ids, with allocations per call.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "counting_allocator.h"
#include "ne_queries.h"

namespace qx_bench {
namespace {

// The first calls of a side meet a cold allocator and cold caches.
constexpr std::size_t kWarmUpIds = 200000;

template <typename Query>
bool Answered(long result, const typename Query::Output& output, std::size_t ids) {
    return result == 0 && output.size() == (ids + 1) / 2;
}

template <typename Query>
void NeQuery(benchmark::State& state, Side side) {
    const auto ids = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned long> all = AscendingIds(ids);
    ScriptStandin(all);
    const typename Query::Input input = Query::MakeInput(all);
    CUserSecurityMgr manager(kUserId);
    typename Query::Output output;

    const std::size_t warmUpCalls = std::max<std::size_t>(2, kWarmUpIds / ids);
    for (std::size_t i = 0; i < warmUpCalls; ++i) {
        if (!Answered<Query>(Query::Run(side, manager, input, output), output, ids)) {
            state.SkipWithError("wrong answer");
            return;
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(Query::Run(side, manager, input, output));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ids));

    // Into a fresh output, as a caller with a new container would call.
    state.counters["allocs_per_call"] = static_cast<double>(CountAllocations([&] {
        typename Query::Output fresh;
        Query::Run(side, manager, input, fresh);
    }));
    state.counters["platform_extra_allocs"] =
        static_cast<double>(Query::PlatformExtraAllocations(ids, output.size()));
    if constexpr (std::is_same_v<typename Query::Output, std::vector<unsigned long>>) {
        // What the output itself costs: a fresh vector against one that
        // already has room. One allocation means it was never reallocated.
        typename Query::Output roomy;
        roomy.reserve(ids);
        const std::size_t withRoom =
            CountAllocations([&] { Query::Run(side, manager, input, roomy); });
        typename Query::Output fresh;
        const std::size_t withoutRoom =
            CountAllocations([&] { Query::Run(side, manager, input, fresh); });
        state.counters["output_allocs"] = static_cast<double>(withoutRoom - withRoom);
    }
}

template <typename Query>
void RegisterQuery(Side side) {
    const std::string name = std::string(Query::kName) + "/" + SideName(side);
    benchmark::RegisterBenchmark(name.c_str(), NeQuery<Query>, side)
        ->RangeMultiplier(10)
        ->Range(1000, 1000000)
        ->Unit(benchmark::kMicrosecond);
}

template <typename Query>
void RegisterQuery() {
    RegisterQuery<Query>(Side::kLibrary);
    RegisterQuery<Query>(Side::kBaseline);
}

const bool kRegistered = [] {
    RegisterQuery<VectorToVector>();
    RegisterQuery<SetToSet>();
    RegisterQuery<AllToVector>();
    return true;
}();

}  // namespace
}  // namespace qx_bench
