// What qx_standin/*.h promise the tests that script the stand-in, beyond the
// calls the library makes (the state machine proves those): calls it never
// makes, the log file, the accounting of responses, and the stand-in before
// its first Reset().
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/event_consumer_proxy.h"
#include "platform/qx_trace.h"
#include "platform/zorv_app_mgr.h"
#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using Lines = std::vector<std::string>;
using Db = ZorvCommonDBUtility;
using NSQX_util::QXString;
using namespace qx_standin;

const std::string kAppMgr = "ZorvAppMgr::Instance() = non-null";
const std::string kSent = "ZorvSendRegReqMsgToMDP(20, null, non-null, -1) = ";
const std::string kZeroesSent =  // the request of RegMDPMsgOfProReLoad(0, 0, 0, 0)
    "ZorvSendRegReqMsgToMDP(20, [09 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00], null, 60) = ";

// A send with no request and a negative timeout, handed `response` in place:
// what it returned, and what it left in `response`.
std::string Send(std::unique_ptr<RespToRegFrame>& response) {
    RespToRegFrame* left = response.get();
    const int sent = ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, nullptr, left, -1);
    if (left != response.get()) {
        response.reset(left);
    }
    return std::to_string(sent);
}

void Trace(const std::string& text) { EXPECT_EQ(NSQX_util::QXTrace2LogFile("qx", 1, text), 0); }

const char* const kLog = "standin_trace.log";  // in the test's working folder
std::string LogFile() {
    std::ifstream log(kLog);
    return {std::istreambuf_iterator<char>(log), {}};
}

// Faults for one call take turns: the first skips 1 and throws 2; only then
// does the next start counting, skip 1 and throw once. Each is journaled as
// thrown, and the fault names its call.
TEST(StandinFaults, ForOneCallTakeTurns) {
    Reset();
    InjectFault(Call::IsInAdmins, 1, 2);
    InjectFault(Call::IsInAdmins, 1, 1);
    std::string answers;
    for (int i = 0; i < 6; ++i) {
        try {
            answers += Db::isInAdmins(1) ? "true, " : "false, ";
        } catch (const InjectedFault& fault) {
            answers += fault.call == Call::IsInAdmins ? "threw, " : "another threw, ";
        }
    }
    EXPECT_EQ(answers, "true, threw, threw, true, threw, true, ");
    for (const CallRecord& entry : Journal()) {
        EXPECT_EQ(entry.threw, entry.text == "isInAdmins(1) threw") << entry.text;
    }
}

// A query the library never makes: no filter set, a result list already
// holding an id, which the answer is appended to, other last arguments.
TEST(StandinDatabase, QueryWithoutFilterAppendsToTheResultList) {
    Reset();
    SetMngDeviceResult(6);
    SetManagedNEs(42, {5});
    ClearJournal();
    std::list<unsigned int> filled{3};
    EXPECT_EQ(Db::ZorvGetMngDevice(42, nullptr, &filled, 70000, true), 6);
    EXPECT_EQ(filled, (std::list<unsigned int>{3, 5}));
    EXPECT_EQ(JournalTexts(), Lines{"ZorvGetMngDevice(42, null, [3], 70000, true) = 6 [5]"});
}

// A consumer base made as no library makes it: no flag, direct mode. A fault
// injected into unsubscribe() reaches its caller once.
TEST(StandinConsumer, UnsubscribeThrowsTheFaultInjected) {
    Reset();
    InjectFault(Call::ConsumerUnsubscribe);
    {
        ZORVem::EventConsumerProxy proxy(ZORVem::EVENT_CLIENT_SYSTEM, false,
                                         ZORVem::CONNECTION_DIRECT);
        EXPECT_THROW(proxy.unsubscribe(), InjectedFault);
        EXPECT_EQ(proxy.unsubscribe(), 0);
        EXPECT_EQ(proxy.svc(), 0);
    }
    EXPECT_EQ(PlatformCalls(), (Lines{"EventConsumerProxy::EventConsumerProxy(0, false, 0)",
                                      "EventConsumerProxy::unsubscribe() threw",
                                      "EventConsumerProxy::unsubscribe() = 0",
                                      "EventConsumerProxy::~EventConsumerProxy()"}));
}

// Queued sends in order, then the default. A response is released once,
// however often reported, and null is none; one handed out before Reset()
// counts for nothing.
TEST(StandinResponses, QueuedThenTheDefaultEachReleasedOnce) {
    Reset();
    std::unique_ptr<RespToRegFrame> before;
    Send(before);
    Reset();
    QueueSendResponse(9, 3, -5);
    QueueSendWithoutResponse();
    SetDefaultSendResponse(9, 7);
    auto first = std::make_unique<RespToRegFrame>();  // each send is handed one in place
    auto none = std::make_unique<RespToRegFrame>();
    auto last = std::make_unique<RespToRegFrame>();
    const std::vector<std::string> sent = {Send(first), Send(none), Send(last)};  // in order
    EXPECT_EQ(sent, (Lines{"-5", "0", "1"}));
    EXPECT_EQ(PlatformCalls(), (Lines{kAppMgr, kSent + "-5, response (9, 3)", kAppMgr, kSent + "0",
                                      kAppMgr, kSent + "1, response (9, 7)"}));
    EXPECT_FALSE(NoteResponseReleased(before.get()));
    EXPECT_TRUE(NoteResponseReleased(last.get()));
    EXPECT_FALSE(NoteResponseReleased(last.get()));
    EXPECT_FALSE(NoteResponseReleased(nullptr));
    EXPECT_EQ(ResponsesHandedOut(), 2U);
    EXPECT_EQ(ResponsesAlive(), 1U);
}

// A failed send hands out nothing: it leaves a frame of the stand-in's.
TEST(StandinResponses, FailedSendLeavesItsOwnFrame) {
    Reset();
    QueueSendResponse(9, 4, 0);
    RespToRegFrame* left = nullptr;
    EXPECT_EQ(ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, nullptr, left, -1), 0);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(std::to_string(left->echo) + " " + std::to_string(left->result), "9 4");
    EXPECT_EQ(ResponsesHandedOut(), 0U);
    EXPECT_EQ(ResponsesAlive(), 0U);
}

// 1025 alive at once, then each reported: the 1024 watched count as released,
// the one beyond stays alive. Those handed out before Reset() count for nothing.
TEST(StandinResponses, BeyondTheWatched1024StayAlive) {
    std::vector<std::unique_ptr<RespToRegFrame>> kept(2050);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i % 1025 == 0) {
            Reset();
        }
        Send(kept[i]);
    }
    for (const std::unique_ptr<RespToRegFrame>& response : kept) {
        NoteResponseReleased(response.get());
    }
    EXPECT_EQ(ResponsesHandedOut(), 1025U);
    EXPECT_EQ(ResponsesAlive(), 1U);
}

// The log file gains one line per record, journaling on or off, until it is
// stopped or Reset(); while journaling is off nothing else is kept.
TEST(StandinTraceLog, OneLinePerRecordUntilStoppedOrReset) {
    Reset();
    std::ofstream(kLog) << "earlier\n";
    SetTraceLogFile(kLog);
    Trace("SYSEvent::SYSEvent");
    SetJournaling(false);
    Trace("userid is 42 \xff\n");
    EXPECT_EQ(TraceTexts(), Lines{"SYSEvent::SYSEvent"});
    SetJournaling(true);
    SetTraceLogFile("");
    Trace("not logged");
    SetTraceLogFile(kLog);
    Reset();
    Trace("not logged");
    EXPECT_EQ(LogFile(), "earlier\nqx 1 SYSEvent::SYSEvent\nqx 1 userid is 42 \xff\n");
    EXPECT_EQ(TraceTexts(), Lines{"not logged"});
}

// A fault's message names the platform function its call stands for, as the
// header lists them; the state machine's model names calls through CallName(),
// so only this pins the names.
TEST(StandinFaults, MessageNamesTheCall) {
    const std::map<Call, std::string> names = {
        {Call::TraceFormat, "QXTrace2Str"},
        {Call::TraceWrite, "QXTrace2LogFile"},
        {Call::DbInstance, "ZorvCommonDBUtility::Instance"},
        {Call::GetAdminID, "ZorvCommonDBUtility::GetAdminID"},
        {Call::IsInAdmins, "ZorvCommonDBUtility::isInAdmins"},
        {Call::GetUserName, "ZorvCommonDBUtility::ZorvGetUserName"},
        {Call::GetMngDevice, "ZorvCommonDBUtility::ZorvGetMngDevice"},
        {Call::IsCloudNode, "ns_zorvsdk_wrap::IsCloudNode"},
        {Call::ConsumerCreate, "ZORVem::EventConsumerProxy::EventConsumerProxy"},
        {Call::ConsumerDestroy, "ZORVem::EventConsumerProxy::~EventConsumerProxy"},
        {Call::ConsumerUnsubscribe, "ZORVem::EventConsumerProxy::unsubscribe"},
        {Call::AppMgrInstance, "ZorvAppMgr::Instance"},
        {Call::SendRegReq, "ZorvAppMgr::ZorvSendRegReqMsgToMDP"},
        {Call::TaoPoaInit, "TAO_POA_Initializer::init"},
        {static_cast<Call>(-1), "unknown"},
    };
    for (const auto& [call, name] : names) {
        const InjectedFault fault(call);
        EXPECT_EQ(fault.what(), "injected fault in " + name);
    }
}

// Each test runs in a process of its own: here the stand-in has never been
// Reset(), and answers as after ResetEmpty(), journaling on.
TEST(StandinBeforeAnyReset, AnswersAsAfterResetEmpty) {
    char name[256];
    const std::set<unsigned int> bobs{1002, 1300, 1301};
    const std::set<unsigned int> alices{1100, 1101, 3000000000};
    std::string text;
    ns_zorvsdk_wrap::IsCloudNode();
    Db::isInAdmins(1);
    Db::ZorvGetUserName(42, name);
    Db::ZorvGetMngDevice(43, &bobs, nullptr, 0, false);
    Db::Instance()->GetAdminID();
    RegMDPMsgOfProReLoad(0, 0, 0, 0);
    Trace("left out");
    // A level beyond 16 bits, and DEL, which the journal escapes.
    EXPECT_EQ(NSQX_util::QXTrace2Str(70000, text, "%d\x7f%d", QXString(~0UL << 32), QXString(-2)),
              0);
    Db::ZorvGetMngDevice(42, &alices, nullptr, 0, false);
    EXPECT_EQ(
        ZORVem::EventConsumerProxy(ZORVem::EVENT_CLIENT_SYSTEM, false, ZORVem::CONNECTION_DIRECT)
            .unsubscribe(),
        0);
    EXPECT_EQ(
        PlatformCalls(),
        (Lines{"IsCloudNode() = false", "isInAdmins(1) = false", R"(ZorvGetUserName(42) = 0 "")",
               "ZorvGetMngDevice(43, {1002, 1300, 1301}, null, 0, false) = 1 []",
               "ZorvCommonDBUtility::Instance() = non-null", "GetAdminID() = 0", kAppMgr,
               kZeroesSent + "1, response (9, 0)",
               "ZorvGetMngDevice(42, {1100, 1101, 3000000000}, null, 0, false) = 1 []",
               "EventConsumerProxy::EventConsumerProxy(0, false, 0)",
               "EventConsumerProxy::unsubscribe() = 0",
               "EventConsumerProxy::~EventConsumerProxy()"}));
    EXPECT_EQ(TraceTexts(), Lines{"left out"});
    EXPECT_EQ(std::ranges::count(JournalTexts(), R"(QXTrace2Str(70000, "%d\x7f%d", )"
                                                 R"(ulong 18446744069414584320, int -2))"),
              1);
    EXPECT_EQ(ResponsesHandedOut(), 1U);
}

}  // namespace
