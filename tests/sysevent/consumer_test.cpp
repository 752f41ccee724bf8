// The library-private consumer, compiled into this binary: its table, the
// subscription flag that no library operation sets, and its own lifecycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "consumer_test_peer.h"
#include "event_mgr_fixture.h"

namespace {

using qx_standin::Call;
using qx_standin::InjectedFault;
using qx_test::FirstHandler;
using qx_test::kBaseCreated;
using qx_test::kBaseDestroyed;
using qx_test::Key;
using qx_test::SecondHandler;
using Peer = QXSysEventConsumerTestPeer;
using Texts = std::vector<std::string>;

const std::string kUnsubscribed = "EventConsumerProxy::unsubscribe() = 0";

class ConsumerTest : public qx_test::EventMgrTest {
protected:
    QXSysEventConsumer& Consumer() {
        QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
        EXPECT_NE(consumer, nullptr);
        return *consumer;
    }
    // A consumer flagged as subscribed, with the journal cleared after it.
    QXSysEventConsumer& SubscribedConsumer() {
        QXSysEventConsumer& consumer = Consumer();
        Peer::SetSubscribed(consumer, true);
        qx_standin::ClearJournal();
        return consumer;
    }
};

TEST_F(ConsumerTest, DuplicateKeepsTheFirstHandler) {
    QXSysEventConsumer& consumer = Consumer();
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "x"), SecondHandler),
              qx_test::kKeyAlreadyRegistered);
    bool found = false;
    EXPECT_EQ(Peer::StoredHandler(consumer, Key("A", "x"), found), &FirstHandler);
    EXPECT_TRUE(found);
    EXPECT_EQ(Peer::HandlerCount(consumer), 1u);
}

TEST_F(ConsumerTest, NullHandlerIsStoredAsGiven) {
    QXSysEventConsumer& consumer = Consumer();
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "x"), nullptr), 0);
    bool found = false;
    EXPECT_EQ(Peer::StoredHandler(consumer, Key("A", "x"), found), nullptr);
    EXPECT_TRUE(found);
}

TEST_F(ConsumerTest, EntryOwnsItsCopyOfTheKey) {
    QXSysEventConsumer& consumer = Consumer();
    SvrEvent key = Key("A", "x");
    ASSERT_EQ(consumer.RegEventHandler(key, FirstHandler), 0);
    key.m_strPrimaryKey = "B";
    bool found = false;
    Peer::StoredHandler(consumer, Key("A", "x"), found);
    EXPECT_TRUE(found);
    Peer::StoredHandler(consumer, key, found);
    EXPECT_FALSE(found);
}

TEST_F(ConsumerTest, FreshConsumerIsNotSubscribed) {
    QXSysEventConsumer& consumer = Consumer();
    EXPECT_FALSE(Peer::IsSubscribed(consumer));
    EXPECT_TRUE(consumer.SubscribeEvent());
    EXPECT_FALSE(Peer::IsSubscribed(consumer));
    consumer.UnSubscribeEvent();
    EXPECT_EQ(Calls(), (Texts{kBaseCreated}));
}

TEST_F(ConsumerTest, UnSubscribeReleasesAFlaggedSubscriptionOnce) {
    QXSysEventConsumer& consumer = SubscribedConsumer();
    consumer.UnSubscribeEvent();
    consumer.UnSubscribeEvent();
    EXPECT_FALSE(Peer::IsSubscribed(consumer));
    EXPECT_EQ(Calls(), (Texts{kUnsubscribed}));
}

TEST_F(ConsumerTest, FailingUnsubscribeReachesTheCallerAndKeepsTheFlag) {
    QXSysEventConsumer& consumer = SubscribedConsumer();
    qx_standin::InjectFault(Call::ConsumerUnsubscribe);
    EXPECT_THROW(consumer.UnSubscribeEvent(), InjectedFault);
    EXPECT_TRUE(Peer::IsSubscribed(consumer));
    consumer.UnSubscribeEvent();
    EXPECT_FALSE(Peer::IsSubscribed(consumer));
}

TEST_F(ConsumerTest, DestructorRecordsThenUnsubscribes) {
    SubscribedConsumer();
    QXSysEventConsumer::Destroy();
    EXPECT_EQ(Peer::Current(), nullptr);
    EXPECT_EQ(qx_standin::JournalTexts(),
              (Texts{"QXTrace2Str(5120, \"SYSEvent::~SYSEven\")",
                     "QXTrace2LogFile(\"qx_sysevent\", 1, \"SYSEvent::~SYSEven\")", kUnsubscribed,
                     kBaseDestroyed}));
}

TEST_F(ConsumerTest, FailingDestructionRecordSkipsTheUnsubscribe) {
    SubscribedConsumer();
    qx_standin::InjectTraceFault("SYSEvent::~SYSEven");
    EXPECT_NO_THROW(QXSysEventConsumer::Destroy());
    EXPECT_EQ(Peer::Current(), nullptr);
    EXPECT_EQ(qx_standin::CountCalls(Call::ConsumerUnsubscribe), 0u);
    EXPECT_EQ(Calls(), (Texts{kBaseDestroyed}));
}

TEST_F(ConsumerTest, FailingUnsubscribeInTheDestructorIsSwallowed) {
    SubscribedConsumer();
    qx_standin::InjectFault(Call::ConsumerUnsubscribe);
    EXPECT_NO_THROW(QXSysEventConsumer::Destroy());
    EXPECT_EQ(Peer::Current(), nullptr);
    EXPECT_EQ(Calls(), (Texts{"EventConsumerProxy::unsubscribe() threw", kBaseDestroyed}));
}

TEST_F(ConsumerTest, FacadeDestroyReleasesAFlaggedSubscription) {
    QXSysEventMgrIF::Instance();
    SubscribedConsumer();
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(Peer::Current(), nullptr);
    EXPECT_EQ(Calls(), (Texts{kUnsubscribed, kBaseDestroyed}));
}

TEST_F(ConsumerTest, FacadeDestroySwallowsAFailingRecordOfASubscribedConsumer) {
    QXSysEventMgrIF::Instance();
    SubscribedConsumer();
    qx_standin::InjectTraceFault("SYSEvent::~SYSEven");
    EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_EQ(Peer::Current(), nullptr);
    EXPECT_EQ(Calls(), (Texts{kBaseDestroyed}));
}

TEST_F(ConsumerTest, InstanceWithoutTheLock) {
    {
        qx_test::ScopedStaticLockFailure failure;
        EXPECT_EQ(QXSysEventConsumer::Instance(), nullptr);
    }
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
    QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
    qx_test::ResetStaticLockCounts();
    qx_test::ScopedStaticLockFailure failure;
    EXPECT_EQ(QXSysEventConsumer::Instance(), consumer);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);
}

TEST_F(ConsumerTest, DestroyWithoutTheLockKeepsTheConsumer) {
    QXSysEventConsumer* consumer = &Consumer();
    qx_standin::ClearJournal();
    {
        qx_test::ScopedStaticLockFailure failure;
        QXSysEventConsumer::Destroy();
    }
    EXPECT_EQ(Peer::Current(), consumer);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

TEST_F(ConsumerTest, FailingConstructionRecordLeavesThePointerNull) {
    qx_standin::InjectTraceFault("SYSEvent::SYSEvent");
    EXPECT_THROW(QXSysEventConsumer::Instance(), InjectedFault);
    EXPECT_EQ(Peer::Current(), nullptr);
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, 1);
    EXPECT_EQ(counts.unlocks, 1);
    EXPECT_EQ(Calls(), (Texts{kBaseCreated, kBaseDestroyed}));
}

}  // namespace
