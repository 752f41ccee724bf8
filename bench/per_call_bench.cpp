// Point 5: the per-call operations against baselines that make the same
// platform calls and render the same records by hand.
#include <benchmark/benchmark.h>

#include <string>

#include "baselines.h"
#include "bench_setup.h"
#include "counting_allocator.h"
#include "ne_queries.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"

namespace qx_bench {
namespace {

constexpr unsigned long kManagedNe = 1;
constexpr int kWarmUpCalls = 1000;

template <typename Call>
void PerCall(benchmark::State& state, Call call) {
    ScriptStandin(AscendingIds(16));
    for (int i = 0; i < kWarmUpCalls; ++i) {
        call();
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(call());
    }
    state.counters["allocs_per_call"] = static_cast<double>(CountAllocations(call));
}

void IsAdminUserID(benchmark::State& state, Side side) {
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    if (side == Side::kLibrary) {
        PerCall(state, [registry] { return registry->IsAdminUserID(kUserId); });
    } else {
        PerCall(state, [] { return BaselineIsAdminUserID(kUserId); });
    }
}

void IsNeManaged(benchmark::State& state, Side side) {
    ScriptStandin(AscendingIds(16));
    const CUserSecurityMgr manager(kUserId);
    if (side == Side::kLibrary) {
        PerCall(state, [&manager] { return manager.isNeManaged(kManagedNe); });
    } else {
        PerCall(state, [] { return BaselineIsNeManaged(kUserId, kManagedNe); });
    }
}

const bool kRegistered = [] {
    for (Side side : {Side::kLibrary, Side::kBaseline}) {
        benchmark::RegisterBenchmark((std::string("IsAdminUserID/") + SideName(side)).c_str(),
                                     IsAdminUserID, side)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("isNeManaged/") + SideName(side)).c_str(),
                                     IsNeManaged, side)
            ->Unit(benchmark::kNanosecond);
    }
    return true;
}();

}  // namespace
}  // namespace qx_bench
