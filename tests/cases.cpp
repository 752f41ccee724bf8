// The table's rows (cases.h): the paths that the state machine test cannot
// reach (the static object lock, a registry made meanwhile, a dirtied stack)
// and, for the allocation and platform-fault sweeps, each kind of output a
// call fills; then the order of event keys.
#include <gtest/gtest.h>

#include <string>

#include "cases.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"

namespace qx_test {
namespace {

using namespace qx_standin;

const std::string kDb = "ZorvCommonDBUtility::Instance() = non-null";
const std::string kNoDb = "ZorvCommonDBUtility::Instance() = null";
const std::string kAsk = "> Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
const std::string kAskAll = kAsk + "userid = 42,GetAllManagedNE \n";
const std::string kAll = "ZorvGetMngDevice(42, {}, [], 0, false) = ";
const std::string kNameOf255 = std::string(255, 'n');

TEUserIDMgr* g_madeMeanwhile = nullptr;
// As if another thread made the registry while this one waited for the lock.
void RegistryMadeWhileLocking() {
    g_madeMeanwhile = new TEUserIDMgr;
    BeforeNextLock([] { TEUserIDMgr::m_pInstance = g_madeMeanwhile; });
}

void FiveInListFiveSixInVectorOnCloud() {
    w.list = {5};
    w.vec = {5, 6};
    SetCloudNode(true);
}

const std::string kCreated = "EventConsumerProxy::EventConsumerProxy(0, true, 1)";
const std::string kDestroyed = "EventConsumerProxy::~EventConsumerProxy()";
const SvrEvent kKey{"alarm", "raised"};

QXSysEventMgrIF& F() { return *QXSysEventMgrIF::m_pInstance; }
void Facade() { QXSysEventMgrIF::Instance(); }
void Registered() { QXSysEventMgrIF::Instance()->RegEventHandler(kKey, nullptr); }

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

std::vector<Case> TableRows() {
    return {
        {.name = "RegistryMadeWhileWaitingForTheLockIsUsed",
         .setup = RegistryMadeWhileLocking,
         .call = [] { return TEUserIDMgr::Instance() == g_madeMeanwhile; },
         .result = true,
         .caller = {.registry = true}},
        {.name = "RegistryKeptWhenLockFails",
         .setup = [] { TEUserIDMgr::Instance(); },
         .lockFails = true,
         .call = NoResult(TEUserIDMgr::Destroy),
         .caller = {.registry = true}},
        // The id is sign-extended to 64 bits, asked about in its low 32, recorded whole.
        {.name = "ManagerAsksEvenWhenRegistryLockFails",
         .setup = [] { SetAdmins({4294967295}); },
         .lockFails = true,
         .call = NoResult([] { w.mgr.emplace(-1); }),
         .caller = {.root = true},
         .platform = {kDb, "isInAdmins(4294967295) = true",
                      "> call pZorv->isInAdmins return true, userid is 18446744073709551615 \n"}},
        // The database wrote 4 bytes and no NUL; the library writes nothing.
        {.name = "LoginNameOnlyResultOneCounts",
         .user = -2,
         .setup = [] { QueueUserNameAnswer(2, "junk"); },
         .call = [] { return w.mgr->GetLoginName(w.buf); },
         .result = 0x42008125,
         .caller = {.buf = "junkxxxxxxxx"},
         .platform = {R"(ZorvGetUserName(4294967294) = 2 "junk")", "> ZorvGetUserName is failed!"}},
        // One buffer, zeroed once, serves every lookup; a name ends at 255 bytes, one
        // known stays. Only an answer of 1 counts: the next user is not asked about.
        {.name = "AllUsersShareOneBufferUntilAnAnswerOtherThanOne",
         .setup =
             [] {
                 w.names[43] = "known";
                 QueueUserNameAnswer(1, "longname");
                 QueueUserNameAnswer(1, "ab");
                 QueueUserNameAnswer(1, kNameOf255 + "n");
                 QueueUserNameAnswer(1, std::string("bob\0", 4));
                 QueueUserNameAnswer(2, "junk");
             },
         .call =
             [] {
                 return w.mgr->GetAllUser({7, 8, 9, 43, -2, 1}, w.names);
             },
         .result = 0x42008125,
         .caller = {.names = {{7, "longname"}, {8, "abngname"}, {9, kNameOf255}, {43, "known"}}},
         .platform = {R"(ZorvGetUserName(7) = 1 "longname")", R"(ZorvGetUserName(8) = 1 "ab")",
                      R"(ZorvGetUserName(9) = 1 ")" + kNameOf255 + R"(n")",
                      R"(ZorvGetUserName(43) = 1 "bob\x00")",
                      R"(ZorvGetUserName(4294967294) = 2 "junk")", "> ZorvGetUserName failed!"}},
        // Each query starts from an output that holds ids: success replaces
        // them, a failure keeps them (the set form alone takes the answer).
        {.name = "AllManagedVectorReplacesWhatItHeld",
         .setup =
             [] {
                 w.vec = {7, 5};
                 QueueMngDeviceAnswer(1, {3000000000, 5});
             },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .caller = {.vec = {3000000000, 5}},
         .platform = {kAskAll, kAll + "1 [3000000000, 5]",
                      kAsk + "retCode = 1, userid = 42,vecNE.size() = 2 \n"}},
        {.name = "AllManagedVectorFailureNeverSuccessKeepsIds",
         .setup =
             [] {
                 w.vec = {9, 7};
                 QueueMngDeviceAnswer(0, {9});
             },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .result = 0x42008126,
         .caller = {.vec = {9, 7}},
         .platform = {kAskAll, kAll + "0 [9]",
                      kAsk + "retCode = 0, userid = 42,vecNE.size() = 1 \n",
                      "> ZorvService error! retcode = 0\n"}},
        {.name = "AllManagedSetTakesFailedAnswer",
         .setup =
             [] {
                 w.set = {4, 7};
                 QueueMngDeviceAnswer(-2, {5, 4});
             },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = -2,
         .caller = {.set = {4, 5}},
         .platform = {kAskAll, kAll + "-2 [5, 4]",
                      kAsk + "retCode = 18446744073709551614, userid = 42,setNE.size() = 2 \n"}},
        {.name = "ListAnswerReplacesTheList",
         .setup =
             [] {
                 w.list = {1002, 7};
             },
         .call =
             [] {
                 return w.mgr->GetManagedNE(std::list<unsigned long>{1002, 1001}, w.list);
             },
         .caller = {.list = {1001, 1002}},
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,listNE.size() = 2 \n",
                      "ZorvGetMngDevice(42, {1001, 1002}, [], 0, false) = 1 [1001, 1002]",
                      kAsk + "retCode = 1, userid = 42,listManagedNE.size() = 2 \n"}},
        {.name = "WideIdsLeftOutOfTheQuery",
         .setup =
             [] {
                 w.set = {1001, 7};
             },
         .call =
             [] {
                 return w.mgr->GetManagedNE(Ids{1001, 4294967295, 1UL << 32}, w.set);
             },
         .caller = {.set = {1001}},
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,vecNE.size() = 2 \n",
                      "ZorvGetMngDevice(42, {1001, 4294967295}, [], 0, false) = 1 [1001]",
                      kAsk + "retCode = 1, userid = 42,setManagedNE.size() = 1 \n"}},
        {.name = "CloudListInPlaceDoubles",
         .setup = FiveInListFiveSixInVectorOnCloud,
         .call = [] { return w.mgr->GetManagedNE(w.list, w.list); },
         .caller = {.list = {5, 5}, .vec = {5, 6}},
         .platform = {"IsCloudNode() = true"}},
        {.name = "CloudVectorInPlaceDoubles",
         .setup = FiveInListFiveSixInVectorOnCloud,
         .call = [] { return w.mgr->GetManagedNE(w.vec, w.vec); },
         .caller = {.list = {5}, .vec = {5, 6, 5, 6}},
         .platform = {"IsCloudNode() = true"}},
        {.name = "HandlerRegisteredCreatesConsumer",
         .setup = Facade,
         .call = [] { return F().RegEventHandler(kKey, [] {}); },
         .caller = {.facade = true},
         .platform = {kCreated, "> SYSEvent::SYSEvent"}},
        {.name = "SecondHandlerForKeyRefused",
         .setup = Registered,
         .call = [] { return QXSysEventMgrIF::Instance()->RegEventHandler(kKey, nullptr); },
         .result = 0x4103F210,
         .caller = {.facade = true},
         .platform = {"> RegEventHandler can not find key!"},
         .lockNotTaken = true},
        {.name = "RegisterWithoutConsumer",
         .setup = Facade,
         .lockFails = true,
         .call = [] { return F().RegEventHandler(kKey, nullptr); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by RegEventHandler!"}},
        {.name = "SubscribeWithoutConsumer",
         .setup = Facade,
         .lockFails = true,
         .call = [] { return F().SubscribeEvent(); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by SubscribeEvent!"}},
        {.name = "UnsubscribeWithoutConsumer",
         .setup = Facade,
         .lockFails = true,
         .call = [] { return F().UnSubscribeEvent(); },
         .result = 0x4101F40D,
         .caller = {.facade = true},
         .platform = {"> pEventConsumer is NULL by UnSubscribeEvent!"}},
        {.name = "DestroyMakesConsumerToDestroyIt",
         .setup = Facade,
         .call = NoResult(QXSysEventMgrIF::Destroy),
         .platform = {kCreated, "> SYSEvent::SYSEvent", "> SYSEvent::~SYSEven", kDestroyed},
         .swallowsFailures = true},
        {.name = "DestroyWithoutFacadeTakesNoLock",
         .call = NoResult(QXSysEventMgrIF::Destroy),
         .lockNotTaken = true},
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
        {.name = "ReloadDeliveredWithoutResponse",
         .setup = [] { QueueSendWithoutResponse(1); },
         .call = Reload,
         .result = -1,
         .caller = {.printed = "RegMDPMsgOfProReLoad return false!"},
         .platform = Sent("1")},
        // What a failed send leaves in the response pointer is the platform's:
        // neither read (it would be acceptance) nor deleted.
        {.name = "ReloadNotSentLeavesWhatTheSendLeft",
         .setup = [] { QueueSendResponse(9, 0, 0); },
         .call = Reload,
         .result = -1,
         .caller = {.printed = "RegMDPMsgOfProReLoad return false!"},
         .platform = Sent("0, response (9, 0)")},
        {.name = "ReloadAcceptedAfterAnyNonZeroSend",
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
    };
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t k = 0; k < ascending.size(); ++k) {
            EXPECT_EQ(ascending[i] < ascending[k], i < k) << "key " << i << " < key " << k;
        }
    }
}

}  // namespace qx_test
