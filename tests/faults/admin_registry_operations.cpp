// TEUserIDMgr. States asserted after every run:
// - Instance/Destroy: m_pInstance is null or the one instance that Instance()
//   returns from then on; a failed creation leaves it null; no platform call.
// - GetAdminUserID/IsAdminUserID: the answer, when the call completed.
#include <gtest/gtest.h>

#include <memory>

#include "operation.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"

namespace qx_faults {
namespace {

// With `present`, the registry exists before the run; otherwise it does not.
void StartRegistry(bool present) {
    qx_standin::Reset();
    TEUserIDMgr::Destroy();
    if (present) {
        ASSERT_NE(TEUserIDMgr::Instance(), nullptr);
    }
    qx_standin::ClearJournal();
}

void ExpectNoPlatformCall() { EXPECT_TRUE(qx_standin::Journal().empty()); }

Operation CreatingInstance() {
    return {"TEUserIDMgr::Instance, creating", [] {
                StartRegistry(false);
                auto got = std::make_shared<TEUserIDMgr*>(nullptr);
                return Attempt{[got] { *got = TEUserIDMgr::Instance(); },
                               [got](bool completed) {
                                   ExpectNoPlatformCall();
                                   EXPECT_EQ(TEUserIDMgr::m_pInstance, *got);
                                   EXPECT_EQ(*got != nullptr, completed);
                               }};
            }};
}

Operation ExistingInstance() {
    return {"TEUserIDMgr::Instance, existing", [] {
                StartRegistry(true);
                auto before = std::make_shared<TEUserIDMgr*>(TEUserIDMgr::m_pInstance);
                auto got = std::make_shared<TEUserIDMgr*>(nullptr);
                return Attempt{[got] { *got = TEUserIDMgr::Instance(); },
                               [before, got](bool completed) {
                                   ExpectNoPlatformCall();
                                   EXPECT_TRUE(completed);
                                   EXPECT_EQ(*got, *before);
                                   EXPECT_EQ(TEUserIDMgr::m_pInstance, *before);
                               }};
            }};
}

Operation Destroying(bool present) {
    return {present ? "TEUserIDMgr::Destroy" : "TEUserIDMgr::Destroy, none", [present] {
                StartRegistry(present);
                return Attempt{[] { TEUserIDMgr::Destroy(); },
                               [](bool completed) {
                                   ExpectNoPlatformCall();
                                   EXPECT_TRUE(completed);
                                   EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
                               }};
            }};
}

Operation AdminUserId() {
    return {"TEUserIDMgr::GetAdminUserID", [] {
                StartRegistry(true);
                qx_standin::SetAdminId(-7);
                qx_standin::ClearJournal();
                auto id = std::make_shared<long>(0);
                return Attempt{[id] { *id = TEUserIDMgr::m_pInstance->GetAdminUserID(); },
                               [id](bool completed) { EXPECT_EQ(*id, completed ? -7L : 0L); }};
            }};
}

Operation AdminCheck(const char* name, unsigned long userId, bool admin) {
    return {name, [userId, admin] {
                StartRegistry(true);
                auto answer = std::make_shared<int>(-1);
                return Attempt{[answer, userId] {
                                   *answer =
                                       TEUserIDMgr::m_pInstance->IsAdminUserID(userId) ? 1 : 0;
                               },
                               [answer, admin](bool completed) {
                                   EXPECT_EQ(*answer, completed ? int{admin} : -1);
                                   EXPECT_NE(TEUserIDMgr::m_pInstance, nullptr);
                               }};
            }};
}

}  // namespace

std::vector<Operation> AdminRegistryOperations() {
    return {CreatingInstance(),
            ExistingInstance(),
            Destroying(true),
            Destroying(false),
            AdminUserId(),
            AdminCheck("TEUserIDMgr::IsAdminUserID, administrator", 1, true),
            AdminCheck("TEUserIDMgr::IsAdminUserID, other user", 43, false),
            AdminCheck("TEUserIDMgr::IsAdminUserID, wide id", (1UL << 32) + 1, true)};
}

}  // namespace qx_faults
