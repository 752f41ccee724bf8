// What GetManagedNE does, written as plainly as possible, and a check of all
// five overloads against it on the stand-in. The randomized test and the fuzz
// target share both.
#pragma once

#include <cstdint>
#include <list>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"

namespace qx_test {

using NeIds = std::vector<unsigned long>;

struct NeScenario {
    int userId = 0;
    bool cloud = false;
    int result = 1;                    // what every query returns
    std::vector<unsigned int> listed;  // the user's NEs, in database order
    NeIds input;
    NeIds prior;  // the output before the call
};

// Result, output, the query's filter (empty: no query) and user, records.
using NeOutcome = std::tuple<long, NeIds, std::vector<unsigned int>, std::uint64_t, std::size_t>;

// `walk` is the input in its container's order.
inline NeOutcome ModelGetManagedNE(const NeScenario& s, const NeIds& walk, bool listOutput) {
    if (s.cloud) {  // a list takes the ids in front, other outputs after what they hold
        NeIds output = listOutput ? walk : s.prior;
        const NeIds& tail = listOutput ? s.prior : walk;
        output.insert(output.end(), tail.begin(), tail.end());
        return {0, output, {}, 0, 0};
    }
    std::set<unsigned int> filter;
    for (unsigned long id : walk) {
        if (id < (1UL << 32)) {
            filter.insert(static_cast<unsigned int>(id));
        }
    }
    if (filter.empty()) {
        return {0, {}, {}, 0, 0};  // nothing asked, the output emptied
    }
    const std::vector<unsigned int> asked(filter.begin(), filter.end());
    const auto user = static_cast<unsigned int>(s.userId);
    if (s.result != 1) {
        return {s.result == 0 ? 0x42008126 : s.result, s.prior, asked, user, 3};
    }
    NeIds output;
    for (unsigned int id : s.listed) {
        output.insert(output.end(), filter.count(id), id);
    }
    return {0, output, asked, user, 2};
}

// A scenario from a seeded generator (the randomized test) or the fuzzer's bytes: ids
// mostly small, some at or past 32 bits; a third of the queries fail.
template <typename Next>
NeScenario MakeScenario(Next next) {
    const unsigned long special[] = {3000000000UL, 4294967295UL, 1UL << 32, ~0UL};
    const int results[] = {1, 1, 1, 1, 0, -1};
    NeScenario s{
        static_cast<int>(next() % 6) - 2, next() % 4 == 0, results[next() % 6], {}, {}, {}};
    for (unsigned n = next() % 16; n > 0; --n) {
        s.listed.push_back(n % 5 == 0 ? 3000000000U : next() % 20);
    }
    for (unsigned n = next() % 12; n > 0; --n) {
        s.input.push_back(next() % 6 == 0 ? special[next() % 4]
                                          : ((next() % 3) << 32) + next() % 20);
    }
    for (unsigned n = next() % 4; n > 0; --n) {
        s.prior.push_back(100 + next() % 5);
    }
    return s;
}

template <typename In, typename Out>
std::string CheckOverload(const NeScenario& s, const char* name) {
    const In input(s.input.begin(), s.input.end());
    Out output(s.prior.begin(), s.prior.end());
    NeOutcome e = ModelGetManagedNE(s, NeIds(input.begin(), input.end()),
                                    std::is_same_v<Out, std::list<unsigned long>>);
    const Out poured(std::get<1>(e).begin(), std::get<1>(e).end());  // a set sorts and merges
    std::get<1>(e).assign(poured.begin(), poured.end());

    CUserSecurityMgr manager(s.userId);
    qx_standin::ClearJournal();
    NeOutcome seen{
        manager.GetManagedNE(input, output), NeIds(output.begin(), output.end()), {}, 0, 0};
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        if (call.call == qx_standin::Call::GetMngDevice) {
            std::get<2>(seen) = call.filter, std::get<3>(seen) = call.userId;
        }
    }
    std::get<4>(seen) = qx_standin::TraceRecords().size();
    return seen == e ? "" : std::string(name) + " differs from the model; ";
}

// Empty when every overload did what the model says.
inline std::string CheckAllOverloads(const NeScenario& s) {
    using List = std::list<unsigned long>;
    using Set = std::set<unsigned long>;
    qx_standin::Reset();
    qx_standin::SetCloudNode(s.cloud);
    qx_standin::SetManagedNEs(static_cast<unsigned int>(s.userId), s.listed);
    qx_standin::SetMngDeviceResult(s.result);
    return CheckOverload<List, List>(s, "list->list") + CheckOverload<NeIds, NeIds>(s, "vec->vec") +
           CheckOverload<Set, NeIds>(s, "set->vec") + CheckOverload<Set, Set>(s, "set->set") +
           CheckOverload<NeIds, Set>(s, "vec->set");
}

}  // namespace qx_test
