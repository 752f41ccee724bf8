// What GetManagedNE does, written as plainly as possible: the reference that
// the randomized test and the fuzz target hold all five overloads to.
#pragma once

#include <set>
#include <vector>

namespace qx_test {

using NeIds = std::vector<unsigned long>;

enum class NeContainer { List, Vector, Set };

struct NeFilterScenario {
    int userId = 0;
    bool cloud = false;
    int result = 1;                    // what the query returns
    bool scripted = false;             // the query answers `listed` whatever the filter
    std::vector<unsigned int> listed;  // the user's NEs in database order, or the answer
    NeIds input;                       // before the input container shapes it
    NeIds prior;                       // the output before the call
};

struct NeFilterOutcome {
    long result = 0;
    NeIds output;  // poured into the output's container, the output after the call
    bool queried = false;
    std::vector<unsigned int> filter;  // the query's filter set, ascending
    std::vector<unsigned int> answer;  // the query's result list
};

// `walk` is the input in its container's order.
inline NeFilterOutcome ModelGetManagedNE(const NeFilterScenario& s, const NeIds& walk,
                                         NeContainer out) {
    NeFilterOutcome e;
    if (s.cloud) {
        // A list output takes the ids in front, the others after what they hold.
        e.output = out == NeContainer::List ? walk : s.prior;
        const NeIds& tail = out == NeContainer::List ? s.prior : walk;
        e.output.insert(e.output.end(), tail.begin(), tail.end());
        return e;
    }
    std::set<unsigned int> filter;
    for (unsigned long id : walk) {
        if (id < (1UL << 32)) {
            filter.insert(static_cast<unsigned int>(id));
        }
    }
    if (filter.empty()) {
        return e;  // no query, the output emptied
    }
    e.queried = true;
    e.filter.assign(filter.begin(), filter.end());
    for (unsigned int id : s.listed) {
        if (s.scripted || filter.count(id) != 0) {
            e.answer.push_back(id);
        }
    }
    if (s.result != 1) {
        e.result = s.result == 0 ? 0x42008126 : s.result;
        e.output = s.prior;
        return e;
    }
    e.output.assign(e.answer.begin(), e.answer.end());
    return e;
}

}  // namespace qx_test
