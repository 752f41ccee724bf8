// The five GetManagedNE overloads: the records of each, the failures that must
// not read as success, the ids the database cannot hold, and the cloud path
// with one container as input and output; then all five against the model
// over random scenarios.
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
const std::string kOnCloud = "IsCloudNode() = true";
// Alice manages 1001 and 3000000000, not 7; 1002 is asked about twice.
const Ids kIds{1002, 7, 3000000000, 1001, 1002};
const List kIdList(kIds.begin(), kIds.end());
const Set kIdSet(kIds.begin(), kIds.end());
const std::string kQuery = "ZorvGetMngDevice(42, {7, 1001, 1002, 3000000000}, [], 0, false) = ";
const std::string kManaged = kQuery + "1 [1001, 1002, 3000000000]";
const Ids kAroundTheWidest{1001, 4294967295, 1UL << 32};

void FiveInListAndVectorOnCloud() {
    w.list = {5};
    w.vec = {5};
    qx_standin::SetCloudNode(true);
}

}  // namespace

std::vector<Case> NeFilterCases() {
    return {
        {.name = "ListToList",
         .call = [] { return w.mgr->GetManagedNE(kIdList, w.list); },
         .caller = {.list = {1001, 1002, 3000000000}},
         .platform = {kOffCloud, kAsk + "userid = 42,listNE.size() = 4 \n", kManaged,
                      kAsk + "retCode = 1, userid = 42,listManagedNE.size() = 3 \n"}},
        {.name = "VectorToVector",
         .call = [] { return w.mgr->GetManagedNE(kIds, w.vec); },
         .caller = {.vec = {1001, 1002, 3000000000}},
         .platform = {kOffCloud, kAsk + "userid = 42,vecNE.size() = 4 \n", kManaged,
                      kAsk + "retCode = 1, userid = 42,vecManagedNE.size() = 3 \n"}},
        {.name = "SetToSet",
         .call = [] { return w.mgr->GetManagedNE(kIdSet, w.set); },
         .caller = {.set = {1001, 1002, 3000000000}},
         .platform = {kOffCloud, kAsk + "userid = 42,setNE.size() = 4 \n", kManaged,
                      kAsk + "retCode = 1, userid = 42,setManagedNE.size() = 3 \n"}},
        {.name = "FailureReportedAsZeroIsNeverSuccess",
         .setup =
             [] {
                 w.vec = {5};
                 QueueMngDeviceAnswer(0, {1001});
             },
         .call = [] { return w.mgr->GetManagedNE(kIdSet, w.vec); },
         .result = 0x42008126,
         .caller = {.vec = {5}},
         .platform = {kOffCloud, kAsk + "userid = 42,setNE.size() = 4 \n", kQuery + "0 [1001]",
                      kAsk + "retCode = 0, userid = 42,vecManagedNE.size() = 1 \n",
                      "> ZorvService error!"}},
        // The code is recorded as the unsigned 64 bits it was widened to.
        {.name = "FailurePassesItsCodeForNegativeUser",
         .user = -2,
         .setup =
             [] {
                 w.list = {5};
                 QueueMngDeviceAnswer(-7, {});
             },
         .call = [] { return w.mgr->GetManagedNE(List{1001}, w.list); },
         .result = -7,
         .caller = {.list = {5}},
         .platform = {kOffCloud, kAsk + "userid = -2,listNE.size() = 1 \n",
                      "ZorvGetMngDevice(4294967294, {1001}, [], 0, false) = -7 []",
                      kAsk +
                          "retCode = 18446744073709551609, userid = -2,listManagedNE.size() = 0 \n",
                      "> ZorvService error!"}},
        {.name = "WideIdsLeftOutOfTheQuery",
         .call = [] { return w.mgr->GetManagedNE(kAroundTheWidest, w.set); },
         .caller = {.set = {1001}},
         .platform = {kOffCloud, kAsk + "userid = 42,vecNE.size() = 2 \n",
                      "ZorvGetMngDevice(42, {1001, 4294967295}, [], 0, false) = 1 [1001]",
                      kAsk + "retCode = 1, userid = 42,setManagedNE.size() = 1 \n"}},
        {.name = "CloudListInPlaceDoubles",
         .setup = FiveInListAndVectorOnCloud,
         .call = [] { return w.mgr->GetManagedNE(w.list, w.list); },
         .caller = {.list = {5, 5}, .vec = {5}},
         .platform = {kOnCloud}},
        {.name = "CloudVectorInPlaceDoubles",
         .setup = FiveInListAndVectorOnCloud,
         .call = [] { return w.mgr->GetManagedNE(w.vec, w.vec); },
         .caller = {.list = {5}, .vec = {5, 5}},
         .platform = {kOnCloud}},
    };
}

TEST(ManagedNeModel, AllOverloadsFollowTheModelOverRandomScenarios) {
    constexpr std::uint64_t kSeed = 20240611;
    std::mt19937_64 rng(kSeed);  // NOLINT(cert-msc32-c,cert-msc51-cpp): replayable
    for (int round = 0; round < 400; ++round) {
        const NeScenario s = MakeScenario([&rng] { return rng(); });
        const std::string differences = CheckAllOverloads(s);
        EXPECT_TRUE(differences.empty())
            << "seed " << kSeed << ", round " << round << ", " << differences;
    }
}

}  // namespace qx_test
