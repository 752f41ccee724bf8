// QXSysEventMgrIF with its consumer, and RegMDPMsgOfProReLoad.
#include <string>

#include "cases.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "sysevent/sys_event_consumer.h"

// No operation of the library flags a platform subscription; the consumer
// releases one all the same, and its tests flag one here.
class QXSysEventConsumerTestPeer {
public:
    static void Subscribe() { QXSysEventConsumer::Instance()->m_bSubscribed = true; }
};

namespace qx_test {
namespace {

const std::string kCreated = "EventConsumerProxy::EventConsumerProxy(0, true, 1)";
const std::string kDestroyed = "EventConsumerProxy::~EventConsumerProxy()";
const SvrEvent kKey{"alarm", "raised"};

QXSysEventMgrIF& F() { return *QXSysEventMgrIF::m_pInstance; }
void Facade() { QXSysEventMgrIF::Instance(); }
void Registered() { Facade(), F().RegEventHandler(kKey, CountingHandler); }

long Reload(int a, int b, int c, long d) { return DirtyStack(), RegMDPMsgOfProReLoad(a, b, c, d); }

Lines Sent(const std::string& request, const std::string& answer) {
    return {"ZorvAppMgr::Instance() = non-null",
            "ZorvSendRegReqMsgToMDP(20, [09 00 " + request + "], null, 60) = " + answer};
}
const std::string kArgs = "01 00 00 00 00 00 02 00 00 00 00 00 03 00 00 00 00 00 04 00 00 00";

}  // namespace

std::vector<Case> EventAndReloadCases() {
    using namespace qx_standin;
    const auto reload = [] { return Reload(1, 2, 3, 4); };
    // clang-format off
    return {
        {"FacadeCreated", [] {}, [] { return long{QXSysEventMgrIF::Instance() != nullptr}; }, 1,
         {"facade"}, {}, 1},
        {"FacadeNullWhenLockFails", [] {},
         [] { return long{QXSysEventMgrIF::Instance() != nullptr}; }, 0, {}, {}, 0, true},
        {"HandlerRegisteredCreatesConsumer", Facade,
         [] { return long{F().RegEventHandler(kKey, CountingHandler)}; }, 0, {"facade"},
         {kCreated, "> SYSEvent::SYSEvent"}, 1},
        // Found facade and consumer take no lock.
        {"SecondHandlerForKeyRefused", Registered,
         [] { return long{QXSysEventMgrIF::Instance()->RegEventHandler(kKey, nullptr)}; },
         0x4103F210, {"facade"}, {"> RegEventHandler can not find key!"}},
        // Keys order by the primary string, then the secondary, bytes as they are,
        // never joined: a + 2 * b + 4 * c ... of the comparisons below.
        {"KeysOrderPrimaryFirst", [] {}, [] {
             const SvrEvent& a = kKey;
             const SvrEvent b{"alarmr", "aised"};
             const SvrEvent c{"alarm", std::string("raised\0", 7)};
             return long{a < b} + 2 * long{b < a} + 4 * long{a < c} + 8 * long{c < a} +
                    16 * long{a < SvrEvent{"b", "a"}} + 32 * long{SvrEvent{"b", "a"} < a};
         }, 21, {}, {}},
        {"RegisterWithoutConsumer", Facade, [] { return long{F().RegEventHandler(kKey, nullptr)}; },
         0x4101F40D, {"facade"}, {"> pEventConsumer is NULL by RegEventHandler!"}, 0, true},
        {"SubscribeReportsOne", Registered, [] { return long{F().SubscribeEvent()}; }, 1,
         {"facade"}, {}},
        {"SubscribeWithoutConsumer", Facade, [] { return long{F().SubscribeEvent()}; }, 0x4101F40D,
         {"facade"}, {"> pEventConsumer is NULL by SubscribeEvent!"}, 0, true},
        {"UnsubscribeWithNoSubscription", Facade, [] { return long{F().UnSubscribeEvent()}; }, 0,
         {"facade"}, {kCreated, "> SYSEvent::SYSEvent"}, 1},
        {"UnsubscribeWithoutConsumer", Facade, [] { return long{F().UnSubscribeEvent()}; },
         0x4101F40D, {"facade"}, {"> pEventConsumer is NULL by UnSubscribeEvent!"}, 0, true},
        {"DestroyTearsDownConsumer", Registered, [] { return QXSysEventMgrIF::Destroy(), 0L; }, 0,
         {}, {"> SYSEvent::~SYSEven", kDestroyed}, 2, false, true},
        {"DestroyMakesConsumerToDestroyIt", Facade, [] { return QXSysEventMgrIF::Destroy(), 0L; },
         0, {}, {kCreated, "> SYSEvent::SYSEvent", "> SYSEvent::~SYSEven", kDestroyed}, 3, false,
         true},
        {"DestroyWithoutFacade", [] {}, [] { return QXSysEventMgrIF::Destroy(), 0L; }, 0, {}, {},
         0, false, true},
        {"FlaggedSubscriptionReleasedOnce", [] { QXSysEventConsumerTestPeer::Subscribe(); },
         [] { return QXSysEventConsumer::Instance()->UnSubscribeEvent(),
                     QXSysEventConsumer::Instance()->UnSubscribeEvent(), 0L; },
         0, {}, {"EventConsumerProxy::unsubscribe() = 0"}},
        {"FlaggedSubscriptionReleasedAtTeardown", [] { QXSysEventConsumerTestPeer::Subscribe(); },
         [] { return QXSysEventConsumer::Destroy(), 0L; }, 0, {},
         {"> SYSEvent::~SYSEven", "EventConsumerProxy::unsubscribe() = 0", kDestroyed}, 1, false,
         true},
        {"ReloadArgumentsCutToTheirFields", [] {},
         [] { return Reload(65537, -2, 300, (1L << 32) + 7); }, 0, {},
         Sent("01 00 00 00 00 00 fe ff 00 00 00 00 2c 00 00 00 00 00 07 00 00 00",
              "1, response (9, 0)")},
        {"ReloadRefused", [] { QueueSendResponse(9, 255); }, reload, 255,
         {"printed RegMDPMsgOfProReLoad failed! result = 255"},
         Sent(kArgs, "1, response (9, 255)")},
        {"ReloadAnsweredForAnotherRequest", [] { QueueSendResponse(8, 0); }, reload, -1,
         {"printed RegMDPMsgOfProReLoad failed! result = 0"}, Sent(kArgs, "1, response (8, 0)")},
        {"ReloadNotDelivered", [] { QueueSendWithoutResponse(0); }, reload, -1,
         {"printed RegMDPMsgOfProReLoad return false!"}, Sent(kArgs, "0")},
        {"ReloadDeliveredWithoutResponse", [] { QueueSendWithoutResponse(1); }, reload, -1,
         {"printed RegMDPMsgOfProReLoad return false!"}, Sent(kArgs, "1")},
        {"ReloadAnyNonZeroSendDelivers", [] { QueueSendResponse(9, 0, -5); }, reload, 0, {},
         Sent(kArgs, "-5, response (9, 0)")},
    };
    // clang-format on
}

}  // namespace qx_test
