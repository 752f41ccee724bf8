// CUserSecurityMgr's NE queries into the caller's containers. The caller's
// output starts as {100, 101}; alice manages 9, 5, 7, 11 (database order).
// States a run cut short may leave (a completed run: its exact final state):
// - GetManagedNE, cloud path: the output extended by a prefix of the input
//   (lists in front, vectors at the end, sets by union), nothing else.
// - GetManagedNE, database path, success: the output untouched (failure
//   before the query answered) or holding a prefix of the answer (a vector
//   only its empty state: it is reserved before the first append, and
//   nothing that can fail follows the filling).
// - GetManagedNE, failed query: the output untouched.
// - GetManagedNE, no id below 2^32: the output untouched, or emptied.
// - GetAllManagedNE(vector): untouched, or empty; untouched after a failed
//   query. GetAllManagedNE(set): untouched, or a prefix of the answer, also
//   after a failed query.
#include <gtest/gtest.h>

#include <cstddef>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "operation.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"

namespace qx_faults {
namespace {

using Ids = std::vector<unsigned long>;
using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

constexpr long kQueryFailedWithoutCode = 0x42008126;
constexpr unsigned long kWide = 1UL << 32;
const Ids kPrior{100, 101};
const std::vector<unsigned int> kAliceManages{9, 5, 7, 11};
// Ids a filtering run asks about: duplicates and a wide id included.
const Ids kAsked{5, 7, 8, 9, kWide + 5, 5};

enum class Path { Cloud, Answered, QueryFails, NothingAskable };

std::shared_ptr<CUserSecurityMgr> StartAlice(bool cloud, int queryResult) {
    qx_standin::Reset();
    qx_standin::SetCloudNode(cloud);
    qx_standin::SetManagedNEs(42, kAliceManages);
    qx_standin::SetMngDeviceResult(queryResult);
    auto manager = std::make_shared<CUserSecurityMgr>(42);
    qx_standin::ClearJournal();
    return manager;
}

template <typename Output>
Output Make(const Ids& ids) {
    return Output(ids.begin(), ids.end());
}

Ids Prefix(const Ids& ids, std::size_t n) {
    return {ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(n)};
}

// The output after the cloud path added `added` to `prior`.
template <typename Output>
Output Extended(const Ids& added) {
    Ids all = std::is_same_v<Output, NeList> ? added : kPrior;
    const Ids& tail = std::is_same_v<Output, NeList> ? kPrior : added;
    all.insert(all.end(), tail.begin(), tail.end());
    return Make<Output>(all);
}

template <typename Output>
struct States {
    std::vector<Output> allowed;  // after a failure
    Output completed;
};

// Every state a database answer may have been copied into the output so far.
template <typename Output>
States<Output> Answered(const Ids& answer) {
    States<Output> states{{Make<Output>(kPrior)}, Make<Output>(answer)};
    for (std::size_t n = 0; n <= answer.size(); ++n) {
        if (std::is_same_v<Output, NeVector> && n != 0) {
            continue;
        }
        states.allowed.push_back(Make<Output>(Prefix(answer, n)));
    }
    return states;
}

template <typename Output>
void ExpectOneOf(const Output& out, const std::vector<Output>& allowed) {
    bool found = false;
    for (const Output& state : allowed) {
        found = found || out == state;
    }
    EXPECT_TRUE(found) << "output of " << out.size() << " ids";
}

template <typename Output>
struct Run {
    Output out = Make<Output>(kPrior);
    long result = -1;
};

template <typename Output>
Attempt Judged(std::shared_ptr<Run<Output>> run, std::function<void()> call, States<Output> states,
               long expected) {
    return Attempt{std::move(call), [run, states, expected](bool completed) {
                       if (completed) {
                           EXPECT_EQ(run->out, states.completed);
                           EXPECT_EQ(run->result, expected);
                       } else {
                           ExpectOneOf(run->out, states.allowed);
                       }
                   }};
}

template <typename Input, typename Output>
Operation Filtering(const std::string& overload, Path path) {
    static const char* const kPathNames[] = {", cloud", ", answered", ", failed query",
                                             ", no id below 2^32"};
    return {
        "CUserSecurityMgr::GetManagedNE " + overload + kPathNames[static_cast<int>(path)], [path] {
            const bool cloud = path == Path::Cloud;
            auto manager = StartAlice(cloud, path == Path::QueryFails ? 0 : 1);
            auto input = std::make_shared<Input>(
                Make<Input>(path == Path::NothingAskable ? Ids{kWide + 5, kWide * 3} : kAsked));
            const Ids walk(input->begin(), input->end());
            States<Output> states{{Make<Output>(kPrior)}, Make<Output>(kPrior)};
            long expected = 0;
            if (path == Path::Cloud) {
                for (std::size_t n = 0; n <= walk.size(); ++n) {
                    states.allowed.push_back(Extended<Output>(Prefix(walk, n)));
                }
                states.completed = Extended<Output>(walk);
            } else if (path == Path::Answered) {
                states = Answered<Output>(Ids{9, 5, 7});
            } else if (path == Path::QueryFails) {
                expected = kQueryFailedWithoutCode;
            } else {
                states.allowed.push_back(Output{});
                states.completed = Output{};
            }
            auto run = std::make_shared<Run<Output>>();
            return Judged<Output>(
                run,
                [manager, input, run] { run->result = manager->GetManagedNE(*input, run->out); },
                states, expected);
        }};
}

template <typename Input, typename Output>
void AddFiltering(std::vector<Operation>& table, const std::string& overload) {
    for (Path path : {Path::Cloud, Path::Answered, Path::QueryFails, Path::NothingAskable}) {
        table.push_back(Filtering<Input, Output>(overload, path));
    }
}

template <typename Output>
Operation Listing(const std::string& overload, bool fails) {
    return {"CUserSecurityMgr::GetAllManagedNE " + overload + (fails ? ", failed query" : ""),
            [fails] {
                auto manager = StartAlice(false, fails ? 0 : 1);
                const Ids answer(kAliceManages.begin(), kAliceManages.end());
                const bool isSet = std::is_same_v<Output, NeSet>;
                States<Output> states = Answered<Output>(answer);
                long expected = isSet ? (fails ? 0 : 1) : 0;
                if (fails && !isSet) {
                    states = States<Output>{{Make<Output>(kPrior)}, Make<Output>(kPrior)};
                    expected = kQueryFailedWithoutCode;
                }
                auto run = std::make_shared<Run<Output>>();
                return Judged<Output>(
                    run, [manager, run] { run->result = manager->GetAllManagedNE(run->out); },
                    states, expected);
            }};
}

}  // namespace

std::vector<Operation> NeQueryOperations() {
    std::vector<Operation> table{Listing<NeVector>("(vector)", false),
                                 Listing<NeVector>("(vector)", true),
                                 Listing<NeSet>("(set)", false), Listing<NeSet>("(set)", true)};
    AddFiltering<NeList, NeList>(table, "list->list");
    AddFiltering<NeVector, NeVector>(table, "vector->vector");
    AddFiltering<NeSet, NeVector>(table, "set->vector");
    AddFiltering<NeSet, NeSet>(table, "set->set");
    AddFiltering<NeVector, NeSet>(table, "vector->set");
    return table;
}

}  // namespace qx_faults
