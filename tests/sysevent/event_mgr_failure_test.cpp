// The event subsystem when the static object lock fails, or the platform
// throws while the consumer is created or destroyed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using qx_standin::Call;
using qx_standin::InjectedFault;
using qx_test::EventMgrTest;
using qx_test::FirstHandler;
using qx_test::kBaseCreated;
using qx_test::kBaseDestroyed;
using qx_test::kConsumerUnavailable;
using qx_test::Key;
using qx_test::ScopedStaticLockFailure;
using Texts = std::vector<std::string>;

void ExpectLockBalanced() {
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, counts.unlocks);
}

TEST_F(EventMgrTest, InstanceIsNullWhenTheLockFailsAndNoFacadeExists) {
    ScopedStaticLockFailure failure;
    EXPECT_EQ(QXSysEventMgrIF::Instance(), nullptr);
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

TEST_F(EventMgrTest, ExistingFacadeIsReturnedWithoutTheLock) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    qx_test::ResetStaticLockCounts();
    ScopedStaticLockFailure failure;
    EXPECT_EQ(QXSysEventMgrIF::Instance(), facade);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);
}

TEST_F(EventMgrTest, EveryMemberOperationReportsTheMissingConsumer) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    {
        ScopedStaticLockFailure failure;
        EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), kConsumerUnavailable);
        EXPECT_EQ(facade->SubscribeEvent(), kConsumerUnavailable);
        EXPECT_EQ(facade->UnSubscribeEvent(), kConsumerUnavailable);
    }
    EXPECT_EQ(Records(), (Texts{"pEventConsumer is NULL by RegEventHandler!",
                                "pEventConsumer is NULL by SubscribeEvent!",
                                "pEventConsumer is NULL by UnSubscribeEvent!"}));
    EXPECT_TRUE(Calls().empty());

    // Nothing was registered: the next try, with the lock back, succeeds.
    qx_standin::ClearJournal();
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent"}));
}

TEST_F(EventMgrTest, ExistingConsumerServesWithoutTheLock) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    qx_standin::ClearJournal();
    ScopedStaticLockFailure failure;
    EXPECT_EQ(facade->RegEventHandler(Key("A", "y"), FirstHandler), 0);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

TEST_F(EventMgrTest, DestroyLeavesEverythingWhenTheLockFails) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    qx_standin::ClearJournal();
    {
        ScopedStaticLockFailure failure;
        QXSysEventMgrIF::Destroy();
    }
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
    // The consumer and its table are still there.
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), qx_test::kKeyAlreadyRegistered);
}

TEST_F(EventMgrTest, FailingConstructionRecordLeavesNoConsumer) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    qx_standin::InjectTraceFault("SYSEvent::SYSEvent");
    EXPECT_THROW(facade->RegEventHandler(Key("A", "x"), FirstHandler), InjectedFault);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
    ExpectLockBalanced();

    // The pointer stayed null: the next operation creates the consumer.
    qx_standin::ClearJournal();
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent"}));
}

TEST_F(EventMgrTest, FailingBaseConstructionReachesTheCaller) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    qx_standin::InjectFault(Call::ConsumerCreate);
    EXPECT_THROW(facade->SubscribeEvent(), InjectedFault);
    EXPECT_TRUE(Records().empty());
    ExpectLockBalanced();
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent"}));
}

TEST_F(EventMgrTest, FailingDestructionRecordIsSwallowed) {
    ASSERT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    qx_standin::ClearJournal();
    qx_standin::InjectTraceFault("SYSEvent::~SYSEven");
    EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Calls(), (Texts{kBaseDestroyed}));
    ExpectLockBalanced();

    // The consumer went with its table.
    EXPECT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(Key("A", "x"), FirstHandler), 0);
}

TEST_F(EventMgrTest, FacadeDestructorSwallowsAFailingConsumerCreation) {
    QXSysEventMgrIF::Instance();
    qx_standin::InjectTraceFault("SYSEvent::SYSEvent");
    EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
    ExpectLockBalanced();
}

}  // namespace
