// QXSysEventMgrIF with its consumer, the order of event keys, and
// RegMDPMsgOfProReLoad.
#include <gtest/gtest.h>

#include <string>

#include "cases.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"

namespace qx_test {
namespace {

const std::string kCreated = "EventConsumerProxy::EventConsumerProxy(0, true, 1)";
const std::string kDestroyed = "EventConsumerProxy::~EventConsumerProxy()";
const SvrEvent kKey{"alarm", "raised"};

QXSysEventMgrIF& F() { return *QXSysEventMgrIF::m_pInstance; }
void Facade() { QXSysEventMgrIF::Instance(); }
void Registered() { QXSysEventMgrIF::Instance()->RegEventHandler(kKey, CountingHandler); }

QXSysEventMgrIF* g_madeMeanwhile = nullptr;
// As if another thread made the facade while this one waited for the lock.
void FacadeMadeWhileLocking() {
    g_madeMeanwhile = QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::m_pInstance = nullptr;
    BeforeNextLock([] { QXSysEventMgrIF::m_pInstance = g_madeMeanwhile; });
}

// Each argument tells its field's width apart from a narrower cut: the
// request carries 0x2345, 0xfffe, 0x2c and 0x12345678.
int Reload() { return RegMDPMsgOfProReLoad(0x1'2345, -2, 300, 0x1'1234'5678); }
// What the platform sees of Reload() when the send answers `answer`.
Lines Sent(const std::string& answer) {
    return {"ZorvAppMgr::Instance() = non-null",
            "ZorvSendRegReqMsgToMDP(20, [09 00 45 23 00 00 00 00 fe ff 00 00 00 00 2c 00 00 00 00 "
            "00 78 56 34 12], null, 60) = " +
                answer};
}

}  // namespace

std::vector<Case> EventAndReloadCases() {
    using namespace qx_standin;
    return {
        {.name = "FacadeCreated",
         .call = [] { return QXSysEventMgrIF::Instance() != nullptr; },
         .result = true,
         .caller = {.facade = true}},
        {.name = "FacadeMadeWhileWaitingForTheLockIsUsed",
         .setup = FacadeMadeWhileLocking,
         .call = [] { return QXSysEventMgrIF::Instance() == g_madeMeanwhile; },
         .result = true,
         .caller = {.facade = true}},
        {.name = "FacadeNullWhenLockFails",
         .call = [] { return QXSysEventMgrIF::Instance() != nullptr; },
         .result = false,
         .lock = StaticLock::Failing},
        {.name = "HandlerRegisteredCreatesConsumer",
         .setup = Facade,
         .call = [] { return F().RegEventHandler(kKey, CountingHandler); },
         .caller = {.facade = true},
         .platform = {kCreated, "> SYSEvent::SYSEvent"}},
        {.name = "SecondHandlerForKeyRefused",
         .setup = Registered,
         .call = [] { return QXSysEventMgrIF::Instance()->RegEventHandler(kKey, nullptr); },
         .result = 0x4103F210,
         .caller = {.facade = true},
         .platform = {"> RegEventHandler can not find key!"},
         .lock = StaticLock::NotTaken},
        {.name = "RegisterWithoutConsumer",
         .setup = Facade,
         .call = [] { return F().RegEventHandler(kKey, nullptr); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by RegEventHandler!"},
         .lock = StaticLock::Failing},
        {.name = "SubscribeReportsOne",
         .setup = Registered,
         .call = [] { return F().SubscribeEvent(); },
         .result = 1,
         .caller = {.facade = true}},
        {.name = "SubscribeWithoutConsumer",
         .setup = Facade,
         .call = [] { return F().SubscribeEvent(); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by SubscribeEvent!"},
         .lock = StaticLock::Failing},
        {.name = "UnsubscribeWithNoSubscription",
         .setup = Facade,
         .call = [] { return F().UnSubscribeEvent(); },
         .caller = {.facade = true},
         .platform = {kCreated, "> SYSEvent::SYSEvent"}},
        {.name = "UnsubscribeWithoutConsumer",
         .setup = Facade,
         .call = [] { return F().UnSubscribeEvent(); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by UnSubscribeEvent!"},
         .lock = StaticLock::Failing},
        {.name = "DestroyTearsDownConsumer",
         .setup = Registered,
         .call = QXSysEventMgrIF::Destroy,
         .platform = {"> SYSEvent::~SYSEven", kDestroyed},
         .swallowsFailures = true},
        {.name = "DestroyMakesConsumerToDestroyIt",
         .setup = Facade,
         .call = QXSysEventMgrIF::Destroy,
         .platform = {kCreated, "> SYSEvent::SYSEvent", "> SYSEvent::~SYSEven", kDestroyed},
         .swallowsFailures = true},
        {.name = "DestroyWithoutFacade",
         .call = QXSysEventMgrIF::Destroy,
         .swallowsFailures = true},
        {.name = "ReloadAccepted", .call = Reload, .platform = Sent("1, response (9, 0)")},
        {.name = "ReloadRefused",
         .setup = [] { QueueSendResponse(9, 255); },
         .call = Reload,
         .result = 255,
         .caller = {.printed = "RegMDPMsgOfProReLoad failed! result = 255"},
         .platform = Sent("1, response (9, 255)")},
        {.name = "ReloadAnsweredForAnotherRequest",
         .setup = [] { QueueSendResponse(8, 0); },
         .call = Reload,
         .result = -1,
         .caller = {.printed = "RegMDPMsgOfProReLoad failed! result = 0"},
         .platform = Sent("1, response (8, 0)")},
        {.name = "ReloadNotDelivered",
         .setup = [] { QueueSendWithoutResponse(0); },
         .call = Reload,
         .result = -1,
         .caller = {.printed = "RegMDPMsgOfProReLoad return false!"},
         .platform = Sent("0")},
        {.name = "ReloadDeliveredWithoutResponse",
         .setup = [] { QueueSendWithoutResponse(1); },
         .call = Reload,
         .result = -1,
         .caller = {.printed = "RegMDPMsgOfProReLoad return false!"},
         .platform = Sent("1")},
        {.name = "ReloadAnyNonZeroSendDelivers",
         .setup = [] { QueueSendResponse(9, 0, -5); },
         .call = Reload,
         .platform = Sent("-5, response (9, 0)")},
    };
}

// Keys order by the primary string, then the secondary; bytes as unsigned
// values, NUL included; the two strings are never joined.
TEST(SvrEventOrder, EachKeyBeforeTheNext) {
    const std::vector<SvrEvent> ascending{
        {"alarm", "raised"},                    // the first key
        {"alarm", std::string("raised\0", 7)},  // one byte more, a NUL
        {"alarm", "raisee"},                    // a greater last byte
        {"alarmr", "aised"},                    // joined, the same bytes as the first key
        {"alarm\x7f", ""},                      // the primary string decides first
        {"alarm\x80", ""},                      // bytes are unsigned
        {"b", "a"},                             // the last
    };
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t k = 0; k < ascending.size(); ++k) {
            EXPECT_EQ(ascending[i] < ascending[k], i < k) << "key " << i << " < key " << k;
        }
    }
}

}  // namespace qx_test
