// The library-private consumer, compiled into this binary: its table, the
// subscription flag that no library operation sets (set here through the
// peer), and its own lifecycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "consumer_test_peer.h"
#include "event_mgr_fixture.h"

namespace {

using qx_standin::Call;
using qx_standin::InjectedFault;
using qx_test::FirstHandler;
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

TEST_F(ConsumerTest, DuplicateKeepsTheFirstHandlerAndANullHandlerIsStored) {
    QXSysEventConsumer& consumer = Consumer();
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "x"), FirstHandler), 0);
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "x"), SecondHandler),
              qx_test::kKeyAlreadyRegistered);
    EXPECT_EQ(consumer.RegEventHandler(Key("A", "y"), nullptr), 0);
    bool found = false;
    EXPECT_EQ(Peer::StoredHandler(consumer, Key("A", "x"), found), &FirstHandler);
    EXPECT_TRUE(found);
    EXPECT_EQ(Peer::StoredHandler(consumer, Key("A", "y"), found), nullptr);
    EXPECT_TRUE(found);
    EXPECT_EQ(Peer::HandlerCount(consumer), 2u);
}

TEST_F(ConsumerTest, FlaggedSubscriptionIsReleasedOnce) {
    QXSysEventConsumer& consumer = SubscribedConsumer();
    qx_standin::InjectFault(Call::ConsumerUnsubscribe);
    EXPECT_THROW(consumer.UnSubscribeEvent(), InjectedFault);
    EXPECT_TRUE(Peer::IsSubscribed(consumer));
    consumer.UnSubscribeEvent();
    consumer.UnSubscribeEvent();
    EXPECT_FALSE(Peer::IsSubscribed(consumer));
    EXPECT_EQ(Calls(), (Texts{"EventConsumerProxy::unsubscribe() threw", kUnsubscribed}));
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

// Through either Destroy: a failing record skips the unsubscribe, a failing
// unsubscribe is swallowed, and the consumer is gone either way.
TEST_F(ConsumerTest, DestructionOfASubscribedConsumerSwallowsFailures) {
    for (bool throughFacade : {false, true}) {
        for (bool recordFails : {false, true}) {
            SCOPED_TRACE(std::string(throughFacade ? "facade" : "consumer") +
                         (recordFails ? ", record fails" : ", unsubscribe fails"));
            if (throughFacade) {
                QXSysEventMgrIF::Instance();
            }
            SubscribedConsumer();
            if (recordFails) {
                qx_standin::InjectTraceFault("SYSEvent::~SYSEven");
            } else {
                qx_standin::InjectFault(Call::ConsumerUnsubscribe);
            }
            EXPECT_NO_THROW(throughFacade ? QXSysEventMgrIF::Destroy()
                                          : QXSysEventConsumer::Destroy());
            EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
            EXPECT_EQ(Peer::Current(), nullptr);
            EXPECT_EQ(Calls(), recordFails ? Texts{kBaseDestroyed}
                                           : (Texts{"EventConsumerProxy::unsubscribe() threw",
                                                    kBaseDestroyed}));
        }
    }
}

TEST_F(ConsumerTest, InstanceAndDestroyWithoutTheLock) {
    {
        qx_test::ScopedStaticLockFailure failure;
        EXPECT_EQ(QXSysEventConsumer::Instance(), nullptr);
    }
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
    QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
    qx_standin::ClearJournal();
    qx_test::ResetStaticLockCounts();
    qx_test::ScopedStaticLockFailure failure;
    EXPECT_EQ(QXSysEventConsumer::Instance(), consumer);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);
    QXSysEventConsumer::Destroy();
    EXPECT_EQ(Peer::Current(), consumer);
    EXPECT_TRUE(qx_standin::JournalTexts().empty());
}

}  // namespace
