// What GetManagedNE does, written as plainly as possible, and a check of all
// five overloads against it on the stand-in. The randomized test and the fuzz
// target share both.
#pragma once

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
    int result = 1;                      // what every query returns
    std::vector<unsigned int> listed{};  // the user's NEs, in database order
    NeIds input{};
    NeIds prior{};  // the output before the call
};

// What one GetManagedNE call did, or should have done.
struct NeOutcome {
    long result = 0;
    NeIds output{};
    std::vector<std::string> records{};  // the texts of the trace records written
};

inline std::string Item(unsigned long id) { return std::to_string(id); }
inline std::string Item(const std::string& text) { return '"' + text + '"'; }

template <typename Items>
std::string Listed(const Items& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : ", ") + Item(item);
    }
    return "{" + text + "}";
}

inline std::string Describe(const NeScenario& s) {
    return "user " + std::to_string(s.userId) + (s.cloud ? ", cloud node" : ", not a cloud node") +
           ", every query answers " + std::to_string(s.result) + " and the user's NEs " +
           Listed(s.listed) + ", input " + Listed(s.input) + ", output before " + Listed(s.prior);
}

// Each field in which `seen` differs from `model`, with both values.
inline std::string Differences(const NeOutcome& seen, const NeOutcome& model) {
    std::string text;
    const auto field = [&text](const char* name, const std::string& got, const std::string& want) {
        if (got != want) {
            text += std::string(" ") + name + " " + got + " (model: " + want + ");";
        }
    };
    field("result", std::to_string(seen.result), std::to_string(model.result));
    field("output", Listed(seen.output), Listed(model.output));
    field("records", Listed(seen.records), Listed(model.records));
    return text;
}

// `walk` is the input in its container's order; `in` and `out` name the
// containers' kinds as the records do: "list", "vec" or "set".
inline NeOutcome ModelGetManagedNE(const NeScenario& s, const NeIds& walk, const std::string& in,
                                   const std::string& out) {
    if (s.cloud) {  // a list takes the ids in front, other outputs after what they hold
        NeIds output = out == "list" ? walk : s.prior;
        const NeIds& tail = out == "list" ? s.prior : walk;
        output.insert(output.end(), tail.begin(), tail.end());
        return {.output = output};
    }
    std::set<unsigned int> filter;
    for (unsigned long id : walk) {
        if (id < (1UL << 32)) {
            filter.insert(static_cast<unsigned int>(id));
        }
    }
    if (filter.empty()) {
        return {};  // nothing asked, the output emptied
    }
    NeIds answered;  // whatever the result, the stand-in answers from its data set
    for (unsigned int id : s.listed) {
        if (filter.count(id) != 0) {
            answered.push_back(id);
        }
    }
    const std::string query = "Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
    const std::string user = "userid = " + std::to_string(s.userId) + ",";
    std::vector<std::string> records{
        query + user + in + "NE.size() = " + std::to_string(filter.size()) + " \n",
        query + "retCode = " + std::to_string(static_cast<unsigned long>(long{s.result})) + ", " +
            user + out + "ManagedNE.size() = " + std::to_string(answered.size()) + " \n"};
    if (s.result != 1) {
        records.emplace_back("ZorvService error!");
        return {
            .result = s.result == 0 ? 0x42008126 : s.result, .output = s.prior, .records = records};
    }
    return {.output = answered, .records = records};
}

// A scenario from a seeded generator (the randomized test) or the fuzzer's bytes: ids
// mostly small, some at or past 32 bits; a third of the queries fail.
template <typename Next>
NeScenario MakeScenario(Next next) {
    const unsigned long special[] = {3000000000UL, 4294967295UL, 1UL << 32, ~0UL};
    const int results[] = {1, 1, 1, 1, 0, -1};
    NeScenario s{.userId = static_cast<int>(next() % 6) - 2,
                 .cloud = next() % 4 == 0,
                 .result = results[next() % 6]};
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

// Empty when the overload did what the model says, else its name and the
// fields that differ.
template <typename In, typename Out>
std::string CheckOverload(const NeScenario& s, const std::string& in, const std::string& out) {
    const In input(s.input.begin(), s.input.end());
    Out output(s.prior.begin(), s.prior.end());
    NeOutcome model = ModelGetManagedNE(s, NeIds(input.begin(), input.end()), in, out);
    const Out poured(model.output.begin(), model.output.end());  // a set sorts and merges
    model.output.assign(poured.begin(), poured.end());

    CUserSecurityMgr manager(s.userId);
    qx_standin::ClearJournal();
    NeOutcome seen{.result = manager.GetManagedNE(input, output)};
    seen.output.assign(output.begin(), output.end());
    seen.records = qx_standin::TraceTexts();
    const std::string differences = Differences(seen, model);
    return differences.empty() ? "" : "\n" + in + "->" + out + ":" + differences;
}

// Empty when every overload did what the model says, else the scenario and
// what differed.
inline std::string CheckAllOverloads(const NeScenario& s) {
    using List = std::list<unsigned long>;
    using Set = std::set<unsigned long>;
    qx_standin::Reset();
    qx_standin::SetCloudNode(s.cloud);
    qx_standin::SetManagedNEs(static_cast<unsigned int>(s.userId), s.listed);
    qx_standin::SetMngDeviceResult(s.result);
    const std::string differences =
        CheckOverload<List, List>(s, "list", "list") +
        CheckOverload<NeIds, NeIds>(s, "vec", "vec") + CheckOverload<Set, NeIds>(s, "set", "vec") +
        CheckOverload<Set, Set>(s, "set", "set") + CheckOverload<NeIds, Set>(s, "vec", "set");
    return differences.empty() ? "" : "scenario: " + Describe(s) + differences;
}

}  // namespace qx_test
