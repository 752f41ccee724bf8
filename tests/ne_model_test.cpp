// All five GetManagedNE overloads against the model over random scenarios,
// and the layout that callers compiled long ago rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <type_traits>

#include "ne_model.h"
#include "qx_sysevent/qx_sysevent.h"

static_assert(sizeof(CUserSecurityMgr) == 8 && alignof(CUserSecurityMgr) == 4);
static_assert(std::is_empty_v<QXSysEventMgrIF>);
static_assert(sizeof(SvrEvent) == 2 * sizeof(std::string));
static_assert(std::is_same_v<decltype(&TEUserIDMgr::GetAdminUserID), long (TEUserIDMgr::*)()>);
static_assert(
    std::is_same_v<decltype(&CUserSecurityMgr::GetLoginName), long (CUserSecurityMgr::*)(char*)>);
static_assert(std::is_same_v<decltype(&RegMDPMsgOfProReLoad), int (*)(int, int, int, long)>);

namespace {

TEST(ManagedNeModel, AllOverloadsFollowTheModelOverRandomScenarios) {
    std::mt19937_64 rng(20240611);  // NOLINT(cert-msc32-c,cert-msc51-cpp): replayable
    const int results[] = {1, 1, 1, 0, 2, -1};
    for (int round = 0; round < 300; ++round) {
        qx_test::NeScenario s;
        s.userId = static_cast<int>(rng() % 6) - 2;
        s.cloud = rng() % 4 == 0;
        s.result = results[rng() % 6];
        for (unsigned int id = 0; id < 20; ++id) {
            s.listed.insert(s.listed.end(), rng() % 2, id);
        }
        s.listed.push_back(3000000000U);
        std::shuffle(s.listed.begin(), s.listed.end(), rng);
        for (unsigned n = rng() % 12; n > 0; --n) {
            const unsigned long wide = (rng() % 3) << 32;  // often 0: ids the database holds
            s.input.push_back(rng() % 7 == 0 ? 3000000000UL + wide : wide + rng() % 20);
        }
        for (unsigned n = rng() % 4; n > 0; --n) {
            s.prior.push_back(100 + rng() % 5);
        }
        EXPECT_EQ(qx_test::CheckAllOverloads(s), "") << "round " << round;
    }
}

}  // namespace
