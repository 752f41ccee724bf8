// The table's rows (cases.h), job by job; then what no single row shows: the
// order of event keys, and the five GetManagedNE overloads against the model
// over random scenarios.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>

#include "cases.h"
#include "ne_model.h"
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

// Each argument tells its field's width apart from a narrower cut.
int Reload() { return RegMDPMsgOfProReLoad(0x1'2345, -2, 300, 0x1'1234'5678); }
// `value`'s low `width` bytes in hex, each after a space, in the order the
// host keeps them in memory.
std::string HostOrder(unsigned value, int width) {
    std::string hex;
    for (int i = 0; i < width; ++i) {
        const int byte = std::endian::native == std::endian::little ? i : width - 1 - i;
        const unsigned bits = (value >> (8 * byte)) & 0xff;
        hex += {' ', "0123456789abcdef"[bits >> 4], "0123456789abcdef"[bits & 0xf]};
    }
    return hex;
}
// Reload()'s request by value: type 9, then 0x2345, 0xfffe, 0x2c and
// 0x12345678 at bytes 2, 8, 14 and 20 in the host's order, zeros between.
const std::string kReloadRequest = "09 00" + HostOrder(0x2345, 2) + " 00 00 00 00" +
                                   HostOrder(0xfffe, 2) + " 00 00 00 00" + HostOrder(0x2c, 1) +
                                   " 00 00 00 00 00" + HostOrder(0x12345678, 4);
// What the platform sees of Reload() when the send answers `answer`.
Lines Sent(const std::string& answer, const std::string& request = kReloadRequest) {
    return {"ZorvAppMgr::Instance() = non-null",
            "ZorvSendRegReqMsgToMDP(20, [" + request + "], null, 60) = " + answer};
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
        {.name = "AdminIdSignExtended",
         .setup = [] { SetAdminId(-5); },
         .call = [] { return TEUserIDMgr().GetAdminUserID(); },
         .result = -5,
         .platform = {kDb, "GetAdminID() = -5"}},
        {.name = "AdminIdWithoutDatabase",
         .setup = [] { SetDatabaseAvailable(false); },
         .call = [] { return TEUserIDMgr().GetAdminUserID(); },
         .platform = {kNoDb}},
        {.name = "AdminCheckWithoutDatabase",
         .setup = [] { SetDatabaseAvailable(false); },
         .call = [] { return TEUserIDMgr().IsAdminUserID(0x1'8000'0101); },
         .platform = {kNoDb, "> call pZorv->isInAdmins return false, userid is 6442451201 \n"}},
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
        {.name = "AllUsersOfNoneAsksNothing",
         .call = [] { return w.mgr->GetAllUser({}, w.names); }},
        {.name = "WideNeManagedOnCloudNode",
         .setup = [] { SetCloudNode(true); },
         .call = [] { return w.mgr->isNeManaged((1UL << 32) + 1001); },
         .result = true,
         .platform = {"IsCloudNode() = true"}},
        // Any NE in the answer counts, not only the one asked about.
        {.name = "WidestNeOfNegativeUserManagedByAnyAnswer",
         .user = -2,
         .setup = [] { QueueMngDeviceAnswer(1, {7}); },
         .call = [] { return w.mgr->isNeManaged(4294967295); },
         .result = true,
         .platform = {"IsCloudNode() = false", kAsk + "userid = -2,neId = 4294967295 \n",
                      "ZorvGetMngDevice(4294967294, {4294967295}, [], 0, false) = 1 [7]",
                      kAsk + "retCode = 1, userid = -2,lstDeviceOut.size() = 1 \n"}},
        {.name = "NeNotManagedWhenQueryFindsNone",
         .call = [] { return w.mgr->isNeManaged(5); },
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,neId = 5 \n",
                      "ZorvGetMngDevice(42, {5}, [], 0, false) = 1 []",
                      kAsk + "retCode = 1, userid = 42,lstDeviceOut.size() = 0 \n"}},
        {.name = "NeManagedFailedQuery",
         .setup = [] { SetMngDeviceResult(-1); },
         .call = [] { return w.mgr->isNeManaged(1001); },
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,neId = 1001 \n",
                      "ZorvGetMngDevice(42, {1001}, [], 0, false) = -1 [1001]",
                      kAsk +
                          "retCode = 18446744073709551615, userid = 42,lstDeviceOut.size() = 1 \n",
                      "> ZorvService error!"}},
        {.name = "NeManagedNeverAsksAboutWideIds",
         .call = [] { return w.mgr->isNeManaged(1UL << 32); },
         .platform = {"IsCloudNode() = false"}},
        {.name = "AllManagedVector",
         .setup =
             [] {
                 QueueMngDeviceAnswer(1, {3000000000, 5});
             },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .caller = {.vec = {3000000000, 5}},
         .platform = {kAskAll, kAll + "1 [3000000000, 5]",
                      kAsk + "retCode = 1, userid = 42,vecNE.size() = 2 \n"}},
        {.name = "AllManagedVectorEmptyForNegativeUser",
         .user = -2,
         .setup = [] { w.vec = {7}; },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .platform = {kAsk + "userid = -2,GetAllManagedNE \n",
                      "ZorvGetMngDevice(4294967294, {}, [], 0, false) = 1 []",
                      kAsk + "retCode = 1, userid = -2,vecNE.size() = 0 \n",
                      "> Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = -2 \n"}},
        {.name = "AllManagedVectorFailureNeverSuccess",
         .setup = [] { QueueMngDeviceAnswer(0, {9}); },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .result = 0x42008126,
         .platform = {kAskAll, kAll + "0 [9]",
                      kAsk + "retCode = 0, userid = 42,vecNE.size() = 1 \n",
                      "> ZorvService error! retcode = 0\n"}},
        // The code is recorded as the unsigned 64 bits it was widened to.
        {.name = "AllManagedVectorFailurePassesCode",
         .setup = [] { QueueMngDeviceAnswer(-3, {}); },
         .call = [] { return w.mgr->GetAllManagedNE(w.vec); },
         .result = -3,
         .platform = {kAskAll, kAll + "-3 []",
                      kAsk + "retCode = 18446744073709551613, userid = 42,vecNE.size() = 0 \n",
                      "> ZorvService error! retcode = 18446744073709551613\n"}},
        {.name = "AllManagedSetTakesFailedAnswer",
         .setup = [] { QueueMngDeviceAnswer(-2, {4}); },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = -2,
         .caller = {.set = {4}},
         .platform = {kAskAll, kAll + "-2 [4]",
                      kAsk + "retCode = 18446744073709551614, userid = 42,setNE.size() = 1 \n"}},
        // A failed query's 0 comes back as it is; the set still takes its empty
        // answer, and "get 0 ne" is written.
        {.name = "AllManagedSetEmptiedByFailedAnswer",
         .setup =
             [] {
                 w.set = {7};
                 QueueMngDeviceAnswer(0, {});
             },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .platform = {kAskAll, kAll + "0 []", kAsk + "retCode = 0, userid = 42,setNE.size() = 0 \n",
                      "> Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = 42 \n"}},
        {.name = "AllManagedSetEmptyForNegativeUser",
         .user = -2,
         .setup = [] { w.set = {7}; },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = 1,
         .platform = {kAsk + "userid = -2,GetAllManagedNE \n",
                      "ZorvGetMngDevice(4294967294, {}, [], 0, false) = 1 []",
                      kAsk + "retCode = 1, userid = -2,setNE.size() = 0 \n",
                      "> Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = -2 \n"}},
        {.name = "WideIdsLeftOutOfTheQuery",
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
        // The layout byte by byte, on either byte order.
        {.name = "ReloadAcceptedAfterAnyNonZeroSend",
         .setup = [] { QueueSendResponse(9, 0, -5); },
         .call = Reload,
         .platform =
             Sent("-5, response (9, 0)",
                  std::endian::native == std::endian::little
                      ? "09 00 45 23 00 00 00 00 fe ff 00 00 00 00 2c 00 00 00 00 00 78 56 34 12"
                      : "09 00 23 45 00 00 00 00 ff fe 00 00 00 00 2c 00 00 00 00 00 12 34 56 78")},
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

TEST(ManagedNeModel, AllOverloadsFollowTheModelOverRandomScenarios) {
    constexpr std::uint64_t kSeed = 20240611;
    std::mt19937_64 rng(kSeed);  // NOLINT(cert-msc32-c,cert-msc51-cpp): replayable
    std::vector<std::string> differing;
    for (int round = 0; round < 400; ++round) {
        const std::string differences = CheckAllOverloads(MakeScenario([&rng] { return rng(); }));
        if (!differences.empty()) {
            differing.push_back("round " + std::to_string(round) + ", " + differences);
        }
    }
    EXPECT_TRUE(differing.empty()) << "seed " << kSeed << ", " << differing.front() << "\n"
                                   << differing.size() - 1 << " later rounds differed too";
}

}  // namespace qx_test
