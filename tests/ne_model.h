// What GetManagedNE does, written as plainly as possible, and a check of all
// five overloads against it on the stand-in. The randomized test and the fuzz
// target share both.
#pragma once

#include <cstdint>
#include <list>
#include <set>
#include <string>
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

struct NeOutcome {
    long result = 0;
    NeIds output;
    std::vector<unsigned int> filter;  // the query's, ascending; none asked: empty
    std::uint64_t askedFor = 0;        // the user id the query carried
    std::size_t records = 0;
    bool operator==(const NeOutcome& o) const {
        return result == o.result && output == o.output && filter == o.filter &&
               askedFor == o.askedFor && records == o.records;
    }
};

// `walk` is the input in its container's order.
inline NeOutcome ModelGetManagedNE(const NeScenario& s, const NeIds& walk, bool listOutput) {
    NeOutcome e;
    if (s.cloud) {  // a list takes the ids in front, other outputs after what they hold
        e.output = listOutput ? walk : s.prior;
        const NeIds& tail = listOutput ? s.prior : walk;
        e.output.insert(e.output.end(), tail.begin(), tail.end());
        return e;
    }
    std::set<unsigned int> filter;
    for (unsigned long id : walk) {
        if (id < (1UL << 32)) filter.insert(static_cast<unsigned int>(id));
    }
    if (filter.empty()) return e;  // nothing asked, the output emptied
    e.filter.assign(filter.begin(), filter.end());
    e.askedFor = static_cast<unsigned int>(s.userId);
    e.records = s.result == 1 ? 2 : 3;
    if (s.result != 1) {
        e.result = s.result == 0 ? 0x42008126 : s.result;
        e.output = s.prior;
        return e;
    }
    for (unsigned int id : s.listed) {
        if (filter.count(id) != 0) e.output.push_back(id);
    }
    return e;
}

template <typename In, typename Out>
std::string CheckOverload(const NeScenario& s, const char* name) {
    const In input(s.input.begin(), s.input.end());
    Out output(s.prior.begin(), s.prior.end());
    NeOutcome e = ModelGetManagedNE(s, NeIds(input.begin(), input.end()),
                                    std::is_same_v<Out, std::list<unsigned long>>);
    const Out poured(e.output.begin(), e.output.end());
    e.output.assign(poured.begin(), poured.end());

    CUserSecurityMgr manager(s.userId);
    qx_standin::ClearJournal();
    NeOutcome seen;
    seen.result = manager.GetManagedNE(input, output);
    seen.output.assign(output.begin(), output.end());
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        if (call.call == qx_standin::Call::GetMngDevice) {
            seen.filter = call.filter, seen.askedFor = call.userId;
        }
    }
    seen.records = qx_standin::TraceRecords().size();
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
