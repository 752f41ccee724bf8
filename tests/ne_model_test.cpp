// All five GetManagedNE overloads against the model over random scenarios,
// and the layout that callers compiled long ago rely on.
#include <gtest/gtest.h>

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
    for (int round = 0; round < 400; ++round) {
        const qx_test::NeScenario s = qx_test::MakeScenario([&rng] { return rng(); });
        EXPECT_EQ(qx_test::CheckAllOverloads(s), "") << "round " << round;
    }
}

}  // namespace
