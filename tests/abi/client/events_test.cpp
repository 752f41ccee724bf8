// The event subsystem over its whole lifecycle: results, and the trace
// records in order with the consumer-base calls.
#include "client_test.h"
#include "library.h"

namespace {

constexpr int kConsumerUnavailable = 1090647053;
constexpr int kKeyAlreadyRegistered = 1090777616;
const std::string kBase = "base(0, true, 1)";

// What the process had seen once the library was loaded.
const int g_poaInitsAtLoad = own::PoaInits();
const Strings g_journalAtLoad = own::P().journal;
QXSysEventMgrIF* const g_facadeAtLoad = QXSysEventMgrIF::m_pInstance;

void Handler() {}

class EventsTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        TearDown();
        own::ClearJournal();
    }
    void TearDown() override {
        ClientTest::TearDown();
        for (const std::string& format : own::P().formats) {
            EXPECT_EQ(format.find(" | "), std::string::npos) << "no record takes values";
        }
        QXSysEventMgrIF::Instance();
        QXSysEventMgrIF::Destroy();
    }
};

TEST(EventsLoadTest, LoadingRegisteredThePoaOnlyAndCreatedNothing) {
    EXPECT_EQ(g_poaInitsAtLoad, 1);
    EXPECT_EQ(g_journalAtLoad, Strings{});
    EXPECT_EQ(g_facadeAtLoad, nullptr);
}

TEST_F(EventsTest, WholeLifecycle) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_NE(facade, nullptr);
    EXPECT_EQ(QXSysEventMgrIF::Instance(), facade);
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_EQ(own::P().journal, Strings{});

    EXPECT_EQ(facade->RegEventHandler({"A", "x"}, Handler), 0);
    EXPECT_EQ(facade->RegEventHandler({"A", "y"}, nullptr), 0);
    EXPECT_EQ(facade->RegEventHandler({"ab", ""}, Handler), 0);
    EXPECT_EQ(facade->RegEventHandler({"a", "b"}, Handler), 0);
    EXPECT_EQ(facade->RegEventHandler({"A", "x"}, nullptr), kKeyAlreadyRegistered);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    EXPECT_EQ(facade->UnSubscribeEvent(), 0);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(own::P().journal,
              (Strings{kBase, "SYSEvent::SYSEvent", "RegEventHandler can not find key!",
                       "SYSEvent::~SYSEven", "~base"}));
    EXPECT_EQ(own::P().staticLocks, own::P().staticUnlocks);
}

TEST_F(EventsTest, DestroyRightAfterInstanceThenRegisterAgain) {
    ASSERT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler({"A", "x"}, Handler), 0);
    QXSysEventMgrIF::Destroy();
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler({"A", "x"}, Handler), 0);
    const std::string created = "SYSEvent::SYSEvent";
    const std::string destroyed = "SYSEvent::~SYSEven";
    EXPECT_EQ(own::P().journal, (Strings{kBase, created, destroyed, "~base", kBase, created,
                                         destroyed, "~base", kBase, created}));
}

TEST_F(EventsTest, NoConsumerWhenTheLockFails) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    own::P().failStaticLock = true;
    EXPECT_EQ(facade->RegEventHandler({"A", "x"}, Handler), kConsumerUnavailable);
    EXPECT_EQ(facade->SubscribeEvent(), kConsumerUnavailable);
    EXPECT_EQ(facade->UnSubscribeEvent(), kConsumerUnavailable);
    QXSysEventMgrIF::Destroy();  // cannot lock: nothing happens
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, facade);
    EXPECT_EQ(own::P().journal, (Strings{"pEventConsumer is NULL by RegEventHandler!",
                                         "pEventConsumer is NULL by SubscribeEvent!",
                                         "pEventConsumer is NULL by UnSubscribeEvent!"}));
    own::P().failStaticLock = false;
    QXSysEventMgrIF::Destroy();
    own::P().failStaticLock = true;
    EXPECT_EQ(QXSysEventMgrIF::Instance(), nullptr);
}

TEST_F(EventsTest, FailingRecordsInConstructionAndDestruction) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    own::P().throwOnRecord = "SYSEvent::SYSEvent";
    EXPECT_ANY_THROW(facade->SubscribeEvent());
    EXPECT_EQ(own::P().staticLocks, own::P().staticUnlocks);
    EXPECT_EQ(facade->SubscribeEvent(), 1);
    own::P().throwOnRecord = "SYSEvent::~SYSEven";
    EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    EXPECT_EQ(own::P().journal, (Strings{kBase, "~base", kBase, "SYSEvent::SYSEvent", "~base"}));
}

}  // namespace
