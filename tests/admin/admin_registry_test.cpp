// The administrator registry: its lifecycle under the static object lock and
// the two questions it asks of the management database.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"
#include "standin_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class AdminRegistryTest : public qx_test::StandinTest {
protected:
    void SetUp() override {
        TEUserIDMgr::Destroy();
        StandinTest::SetUp();
    }
    void TearDown() override {
        StandinTest::TearDown();
        TEUserIDMgr::Destroy();
    }
};

TEST_F(AdminRegistryTest, InstanceIsCreatedOnceAndAfreshAfterDestroy) {
    ASSERT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    TEUserIDMgr* first = TEUserIDMgr::Instance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TEUserIDMgr::m_pInstance, first);
    EXPECT_EQ(TEUserIDMgr::Instance(), first);
    // Only the creation took the lock; the second call read the pointer.
    EXPECT_EQ(qx_test::GetStaticLockCounts().locks, 1);
    EXPECT_EQ(qx_test::GetStaticLockCounts().unlocks, 1);

    TEUserIDMgr::Destroy();
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    EXPECT_NE(TEUserIDMgr::Instance(), nullptr);
    // The registry keeps no state and asks nothing of the platform on its own.
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Records().empty());
}

TEST_F(AdminRegistryTest, DestroyWithoutInstanceTouchesNothing) {
    TEUserIDMgr::Destroy();
    TEUserIDMgr::Destroy();
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    EXPECT_EQ(qx_test::GetStaticLockCounts().locks, 0);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);
}

TEST_F(AdminRegistryTest, LockFailureCreatesAndDestroysNothing) {
    {
        qx_test::ScopedStaticLockFailure failing;
        EXPECT_EQ(TEUserIDMgr::Instance(), nullptr);
        EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    }
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    ASSERT_NE(registry, nullptr);
    {
        qx_test::ScopedStaticLockFailure failing;
        // An existing instance is returned without the lock...
        EXPECT_EQ(TEUserIDMgr::Instance(), registry);
        // ...and survives a Destroy that cannot lock.
        TEUserIDMgr::Destroy();
        EXPECT_EQ(TEUserIDMgr::m_pInstance, registry);
    }
    auto counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.failedLocks, 2);
    EXPECT_EQ(counts.locks, counts.unlocks);
    EXPECT_TRUE(Records().empty());
}

TEST_F(AdminRegistryTest, AdminUserIdComesFromTheDatabase) {
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    qx_standin::SetAdminId(7);
    EXPECT_EQ(registry->GetAdminUserID(), 7);
    qx_standin::SetAdminId(-1);
    EXPECT_EQ(static_cast<unsigned long>(registry->GetAdminUserID()), 0xFFFFFFFFFFFFFFFFUL);
    qx_standin::SetDatabaseAvailable(false);
    EXPECT_EQ(registry->GetAdminUserID(), 0);
    EXPECT_EQ(Calls(), (Strings{"ZorvCommonDBUtility::Instance() = non-null", "GetAdminID() = 7",
                                "ZorvCommonDBUtility::Instance() = non-null", "GetAdminID() = -1",
                                "ZorvCommonDBUtility::Instance() = null"}));
    EXPECT_TRUE(Records().empty());
}

TEST_F(AdminRegistryTest, EveryAdministratorCheckWritesOneRecord) {
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    qx_standin::SetAdmins({1, 5});
    EXPECT_TRUE(registry->IsAdminUserID(1));
    EXPECT_FALSE(registry->IsAdminUserID(42));
    EXPECT_EQ(Calls(),
              (Strings{"ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(1) = true",
                       "ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(42) = false"}));
    EXPECT_EQ(Records(), (Strings{"call pZorv->isInAdmins return true, userid is 1 \n",
                                  "call pZorv->isInAdmins return false, userid is 42 \n"}));
    // Module, type and level are those of every record of the library.
    for (const auto& record : qx_standin::TraceRecords()) {
        EXPECT_EQ(record.module, "qx_sysevent");
        EXPECT_EQ(record.type, 1);
    }
    for (const auto& call : qx_standin::Journal()) {
        if (call.call == qx_standin::Call::TraceFormat) {
            EXPECT_EQ(call.args.at(0), 5120);
        }
    }
}

TEST_F(AdminRegistryTest, DatabaseSeesLow32BitsRecordShowsTheFullId) {
    qx_standin::SetAdmins({5});
    EXPECT_TRUE(TEUserIDMgr::Instance()->IsAdminUserID((1UL << 32) + 5));
    // A negative id made wide by sign extension: the database sees its 32 bits.
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(static_cast<unsigned long>(-1L)));
    EXPECT_EQ(
        Calls(),
        (Strings{"ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(5) = true",
                 "ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(4294967295) = false"}));
    EXPECT_EQ(Records(),
              (Strings{"call pZorv->isInAdmins return true, userid is 4294967301 \n",
                       "call pZorv->isInAdmins return false, userid is 18446744073709551615 \n"}));
}

TEST_F(AdminRegistryTest, NoDatabaseAnswersFalseWithoutAsking) {
    qx_standin::SetDatabaseAvailable(false);
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(1));
    EXPECT_EQ(Calls(), (Strings{"ZorvCommonDBUtility::Instance() = null"}));
    EXPECT_EQ(Records(), (Strings{"call pZorv->isInAdmins return false, userid is 1 \n"}));
}

}  // namespace
