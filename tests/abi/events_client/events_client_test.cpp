// A caller of the event subsystem built only from the pinned declarations,
// over a platform of its own: results, trace records and their order with
// the consumer-base calls, over the whole lifecycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client_platform.h"
#include "library.h"

namespace {

using Events = std::vector<std::string>;

constexpr int kConsumerUnavailable = 1090647053;
constexpr int kKeyAlreadyRegistered = 1090777616;
const std::string kBase = "base(0, true, 1)";

// What the process saw before main: the library had been loaded.
int g_poaInitsAtStart = -1;
Events g_eventsAtStart;
QXSysEventMgrIF* g_facadeAtStart = nullptr;

void Handler() {}

SvrEvent Key(const std::string& primary, const std::string& secondary) {
    SvrEvent key;
    key.m_strPrimaryKey = primary;
    key.m_strSecondaryKey = secondary;
    return key;
}

class EventsClient : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        events_client::FailStaticObjectLock(false);
        events_client::ThrowOnRecord("");
        QXSysEventMgrIF::Instance();
        QXSysEventMgrIF::Destroy();
        events_client::ClearEvents();
    }
};

TEST(EventsClientLoad, LoadingRegisteredThePoaOnlyAndCreatedNothing) {
    EXPECT_EQ(g_poaInitsAtStart, 1);
    EXPECT_TRUE(g_eventsAtStart.empty());
    EXPECT_EQ(g_facadeAtStart, nullptr);
}

TEST_F(EventsClient, WholeLifecycle) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(QXSysEventMgrIF::Instance(), facade);
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_TRUE(events_client::Events().empty());

    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), Handler), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "y"), nullptr), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("ab", ""), Handler), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("a", "b"), Handler), 0);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), nullptr), kKeyAlreadyRegistered);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    QXSysEventMgrIF::Destroy();

    EXPECT_EQ(events_client::Events(),
              (Events{kBase, "SYSEvent::SYSEvent", "RegEventHandler can not find key!",
                      "SYSEvent::~SYSEven", "~base"}));
    EXPECT_EQ(events_client::StaticLockLocks(), events_client::StaticLockUnlocks());
}

TEST_F(EventsClient, DestroyRightAfterInstanceThenRegisterAgain) {
    ASSERT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(Key("A", "x"), Handler), 0);
    QXSysEventMgrIF::Destroy();
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(Key("A", "x"), Handler), 0);
    EXPECT_EQ(
        events_client::Events(),
        (Events{kBase, "SYSEvent::SYSEvent", "SYSEvent::~SYSEven", "~base", kBase,
                "SYSEvent::SYSEvent", "SYSEvent::~SYSEven", "~base", kBase, "SYSEvent::SYSEvent"}));
}

TEST_F(EventsClient, NoConsumerWhenTheLockFails) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    events_client::FailStaticObjectLock(true);
    EXPECT_EQ(facade->RegEventHandler(Key("A", "x"), Handler), kConsumerUnavailable);
    EXPECT_EQ(facade->SubscribeEvent(), kConsumerUnavailable);
    EXPECT_EQ(facade->UnSubscribeEvent(), kConsumerUnavailable);
    QXSysEventMgrIF::Destroy();  // cannot lock: nothing happens
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    events_client::FailStaticObjectLock(false);
    EXPECT_EQ(events_client::Events(), (Events{"pEventConsumer is NULL by RegEventHandler!",
                                               "pEventConsumer is NULL by SubscribeEvent!",
                                               "pEventConsumer is NULL by UnSubscribeEvent!"}));

    QXSysEventMgrIF::Destroy();
    events_client::FailStaticObjectLock(true);
    EXPECT_EQ(QXSysEventMgrIF::Instance(), nullptr);
}

TEST_F(EventsClient, FailingRecordsInConstructionAndDestruction) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    events_client::ThrowOnRecord("SYSEvent::SYSEvent");
    EXPECT_ANY_THROW(facade->SubscribeEvent());
    EXPECT_EQ(events_client::StaticLockLocks(), events_client::StaticLockUnlocks());
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    events_client::ThrowOnRecord("SYSEvent::~SYSEven");
    EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_EQ(events_client::Events(),
              (Events{kBase, "~base", kBase, "SYSEvent::SYSEvent", "~base"}));
}

}  // namespace

int main(int argc, char** argv) {
    g_poaInitsAtStart = events_client::PoaInitCalls();
    g_eventsAtStart = events_client::Events();
    g_facadeAtStart = QXSysEventMgrIF::m_pInstance;
    events_client::FailStaticObjectLock(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
