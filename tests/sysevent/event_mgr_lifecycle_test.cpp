// The event subsystem through its exported facade with a working lock:
// results, trace records, platform calls and their order over the lifecycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using namespace std::string_literals;
using qx_standin::Call;
using qx_test::EventMgrTest;
using qx_test::FirstHandler;
using qx_test::kBaseCreated;
using qx_test::kBaseDestroyed;
using qx_test::Key;
using qx_test::kKeyAlreadyRegistered;
using Texts = std::vector<std::string>;

TEST_F(EventMgrTest, InstanceCreatesOnlyTheFacade) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(QXSysEventMgrIF::Instance(), facade);
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

TEST_F(EventMgrTest, FirstMemberOperationCreatesTheConsumerOnce) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(qx_standin::JournalTexts(),
              (Texts{kBaseCreated, "QXTrace2Str(5120, \"SYSEvent::SYSEvent\")",
                     "QXTrace2LogFile(\"qx_sysevent\", 1, \"SYSEvent::SYSEvent\")"}));

    qx_standin::ClearJournal();
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "y"), FirstHandler), 0);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

TEST_F(EventMgrTest, SubscriptionNeverContactsThePlatform) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
    EXPECT_EQ(qx_standin::CountCalls(Call::ConsumerUnsubscribe), 0u);
}

TEST_F(EventMgrTest, DuplicateKeyIsRefusedWithTheMisleadingRecord) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), qx_test::SecondHandler),
              kKeyAlreadyRegistered);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), kKeyAlreadyRegistered);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent", "RegEventHandler can not find key!",
                                "RegEventHandler can not find key!"}));
    EXPECT_EQ(Calls(), (Texts{kBaseCreated}));
}

TEST_F(EventMgrTest, KeysThatDifferAnywhereRegisterSeparately) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    const std::vector<SvrEvent> keys = {Key("", ""),     Key("A", "x"),   Key("A", "y"),
                                        Key("ab", ""),   Key("a", "b"),   Key("a", ""),
                                        Key("a\0"s, ""), Key("a", "\0"s), Key("\x80", "")};
    for (const SvrEvent& key : keys) {
        EXPECT_EQ(facade->RegEventHandler(key, FirstHandler), 0);
    }
    for (const SvrEvent& key : keys) {
        EXPECT_EQ(facade->RegEventHandler(key, FirstHandler), kKeyAlreadyRegistered);
    }
}

TEST_F(EventMgrTest, NullHandlerIsAcceptedAndOccupiesItsKey) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), nullptr), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), kKeyAlreadyRegistered);
}

TEST_F(EventMgrTest, DestroyTearsDownConsumerThenFacade) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent", "SYSEvent::~SYSEven"}));
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, counts.unlocks);
}

TEST_F(EventMgrTest, DestroyRightAfterInstanceCreatesAConsumerToDestroyIt) {
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent", "SYSEvent::~SYSEven"}));
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
}

TEST_F(EventMgrTest, SecondDestroyDoesNothing) {
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    qx_standin::ClearJournal();
    qx_test::ResetStaticLockCounts();

    QXSysEventMgrIF::Destroy();
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
    EXPECT_EQ(qx_test::GetStaticLockCounts().locks, 0);
}

TEST_F(EventMgrTest, KeyRegistersAgainAfterRecreation) {
    ASSERT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    QXSysEventMgrIF::Destroy();
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(Records(), (Texts{"SYSEvent::SYSEvent", "SYSEvent::~SYSEven", "SYSEvent::SYSEvent"}));
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed, kBaseCreated}));
}

}  // namespace
