// The five GetManagedNE overloads: their records, the failures that must not
// read as success, the ids the database cannot hold, and the cloud path with
// one container as input and output; then all five against the model over
// random scenarios.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cases.h"
#include "ne_model.h"
#include "qx_standin/standin.h"

namespace qx_test {
namespace {

using qx_standin::QueueMngDeviceAnswer;
using List = std::list<unsigned long>;
using Set = std::set<unsigned long>;

const std::string kAsk = "> Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
const std::string kOffCloud = "IsCloudNode() = false";
const std::string kQuery = "ZorvGetMngDevice(42, {7, 1001, 1002}, [], 0, false) = ";
const Ids kIds{1002, 7, 1001, 1002};
const List kIdList(kIds.begin(), kIds.end());
const Set kIdSet{1001, 1002, 7};

// Asking about {7, 1001, 1002}; `shown` is `code` as a record renders it.
Lines Filtered(const char* in, const char* out, const std::string& code = "1",
               const std::string& shown = "1", const std::string& answer = "[1001, 1002]",
               int n = 2) {
    Lines seen{kOffCloud, kAsk + "userid = 42," + in + ".size() = 3 \n",
               kQuery + code + " " + answer,
               kAsk + "retCode = " + shown + ", userid = 42," + out +
                   ".size() = " + std::to_string(n) + " \n"};
    seen.insert(seen.end(), code == "1" ? 0 : 1, "> ZorvService error!");
    return seen;
}
void Alice() {
    w.mgr.emplace(42);
    w.list = {5}, w.vec = {5}, w.set = {5};
}
void OnCloud() { Alice(), qx_standin::SetCloudNode(true); }

}  // namespace

std::vector<Case> NeFilterCases() {
    const Lines untouched{"registry", "list 5", "vec 5", "set 5"};
    // clang-format off
    return {
        {"ListToList", Alice, [] { return w.mgr->GetManagedNE(kIdList, w.list); },
         0, {"registry", "list 1001", "list 1002", "vec 5", "set 5"},
         Filtered("listNE", "listManagedNE")},
        {"VectorToVector", Alice, [] { return w.mgr->GetManagedNE(kIds, w.vec); }, 0,
         {"registry", "list 5", "vec 1001 1002", "set 5"}, Filtered("vecNE", "vecManagedNE")},
        {"SetToVector", Alice, [] { return w.mgr->GetManagedNE(kIdSet, w.vec); }, 0,
         {"registry", "list 5", "vec 1001 1002", "set 5"}, Filtered("setNE", "vecManagedNE")},
        {"SetToSet", Alice, [] { return w.mgr->GetManagedNE(kIdSet, w.set); }, 0,
         {"registry", "list 5", "vec 5", "set 1001", "set 1002"},
         Filtered("setNE", "setManagedNE")},
        {"VectorToSet", Alice, [] { return w.mgr->GetManagedNE(kIds, w.set); }, 0,
         {"registry", "list 5", "vec 5", "set 1001", "set 1002"},
         Filtered("vecNE", "setManagedNE")},
        {"FailureReportedAsZeroIsNeverSuccess", [] { Alice(), QueueMngDeviceAnswer(0, {1001}); },
         [] { return w.mgr->GetManagedNE(kIds, w.vec); }, 0x42008126,
         untouched, Filtered("vecNE", "vecManagedNE", "0", "0", "[1001]", 1)},
        {"FailurePassesItsCode", [] { Alice(), QueueMngDeviceAnswer(-7, {}); },
         [] { return w.mgr->GetManagedNE(kIdList, w.list); }, -7,
         untouched,
         Filtered("listNE", "listManagedNE", "-7", "18446744073709551609", "[]", 0)},
        {"WideIdsLeftOutOfTheQuery", Alice,
         [] { return w.mgr->GetManagedNE(Set{1001, 4294967295, 1UL << 32}, w.set); }, 0,
         {"registry", "list 5", "vec 5", "set 1001"},
         {kOffCloud, kAsk + "userid = 42,setNE.size() = 2 \n",
          "ZorvGetMngDevice(42, {1001, 4294967295}, [], 0, false) = 1 [1001]",
          kAsk + "retCode = 1, userid = 42,setManagedNE.size() = 1 \n"}},
        {"NothingLeftToAskEmptiesTheOutput", Alice,
         [] { return w.mgr->GetManagedNE(Ids{1UL << 32}, w.vec); }, 0,
         {"registry", "list 5", "set 5"}, {kOffCloud}},
        {"CloudListInPlaceDoubles", OnCloud, [] { return w.mgr->GetManagedNE(w.list, w.list); },
         0, {"registry", "list 5", "list 5", "vec 5", "set 5"}, {"IsCloudNode() = true"}},
        {"CloudVectorInPlaceDoubles", OnCloud, [] { return w.mgr->GetManagedNE(w.vec, w.vec); },
         0, {"registry", "list 5", "vec 5 5", "set 5"}, {"IsCloudNode() = true"}},
        {"CloudSetInPlaceUnchanged", OnCloud, [] { return w.mgr->GetManagedNE(w.set, w.set); },
         0, untouched, {"IsCloudNode() = true"}},
    };
    // clang-format on
}

TEST(ManagedNeModel, AllOverloadsFollowTheModelOverRandomScenarios) {
    std::mt19937_64 rng(20240611);  // NOLINT(cert-msc32-c,cert-msc51-cpp): replayable
    for (int round = 0; round < 400; ++round) {
        const NeScenario s = MakeScenario([&rng] { return rng(); });
        EXPECT_EQ(CheckAllOverloads(s), "") << "round " << round;
    }
}

}  // namespace qx_test
