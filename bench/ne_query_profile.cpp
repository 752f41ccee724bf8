// Runs one NE query a number of times, for a profiler:
//   qx_ne_query_profile <vecvec|setset|allvec> <library|baseline> <ids> [calls]
// Under callgrind, the inclusive cost of the library's entry point against
// the baseline's, at several sizes, shows any per-id cost that grows.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ne_queries.h"

namespace {

template <typename Query>
int Profile(qx_bench::Side side, std::size_t ids, int calls) {
    const std::vector<unsigned long> all = qx_bench::AscendingIds(ids);
    qx_bench::ScriptStandin(all);
    const typename Query::Input input = Query::MakeInput(all);
    CUserSecurityMgr manager(qx_bench::kUserId);
    typename Query::Output output;
    for (int i = 0; i < calls; ++i) {
        if (Query::Run(side, manager, input, output) != 0) {
            (void)std::fprintf(stderr, "query failed\n");
            return 1;
        }
    }
    std::printf("%s %s %zu ids, %d calls, %zu answered\n", Query::kName, qx_bench::SideName(side),
                ids, calls, output.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        (void)std::fprintf(
            stderr, "usage: %s <vecvec|setset|allvec> <library|baseline> <ids> [calls]\n", argv[0]);
        return 2;
    }
    const std::string query = argv[1];
    const auto side =
        std::string(argv[2]) == "library" ? qx_bench::Side::kLibrary : qx_bench::Side::kBaseline;
    const auto ids = static_cast<std::size_t>(std::strtoul(argv[3], nullptr, 10));
    const int calls = argc > 4 ? static_cast<int>(std::strtol(argv[4], nullptr, 10)) : 1;
    if (query == "vecvec") {
        return Profile<qx_bench::VectorToVector>(side, ids, calls);
    }
    if (query == "setset") {
        return Profile<qx_bench::SetToSet>(side, ids, calls);
    }
    if (query == "allvec") {
        return Profile<qx_bench::AllToVector>(side, ids, calls);
    }
    (void)std::fprintf(stderr, "unknown query %s\n", query.c_str());
    return 2;
}
