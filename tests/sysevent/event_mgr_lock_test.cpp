// What exists already is served without the static object lock: a failing
// lock must not hide a facade or a consumer, nor destroy half of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using qx_test::EventMgrTest;
using qx_test::FirstHandler;
using qx_test::Key;

TEST_F(EventMgrTest, ExistingFacadeAndConsumerServeWhileTheLockFails) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    qx_standin::ClearJournal();
    qx_test::ResetStaticLockCounts();
    qx_test::ScopedStaticLockFailure failure;

    EXPECT_EQ(QXSysEventMgrIF::Instance(), facade);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "y"), FirstHandler), 0);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);

    QXSysEventMgrIF::Destroy();  // cannot lock: leaves both, table included
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), qx_test::kKeyAlreadyRegistered);
    EXPECT_EQ(Records(), std::vector<std::string>{"RegEventHandler can not find key!"});
    EXPECT_TRUE(Calls().empty());
}

}  // namespace
