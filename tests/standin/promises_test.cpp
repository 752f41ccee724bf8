// What qx_standin/*.h promise the tests that script the stand-in. A row runs its
// script after Reset(), clears the journal, makes its calls (to the platform or
// the library) and reads back the journal's texts unless it names another control.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
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
using Step = std::function<void()>;
using Db = ZorvCommonDBUtility;
using NSQX_util::QXString;
using namespace qx_standin;

struct Promise {
    std::string name;
    std::vector<Step> script = {};
    std::vector<Step> calls;  // an InjectedFault ends only the call it left
    std::function<Lines()> readBack = JournalTexts;
    Lines expect;
};

void PrintTo(const Promise& promise, std::ostream* out) { *out << promise.name; }

char g_name[256];  // where ZorvGetUserName writes
const auto IsCloud = []() -> Step { return [] { ns_zorvsdk_wrap::IsCloudNode(); }; };
const auto IsAdmin = [](unsigned int user) -> Step { return [user] { Db::isInAdmins(user); }; };
const auto UserName = [](unsigned int user) -> Step {
    return [user] { Db::ZorvGetUserName(user, g_name); };
};
const auto Devices = [](unsigned int user, std::set<unsigned int> filter) -> Step {
    return [user, filter] { Db::ZorvGetMngDevice(user, &filter, nullptr, 0, false); };
};
const auto AdminId = []() -> Step { return [] { Db::Instance()->GetAdminID(); }; };
const auto Reload = []() -> Step { return [] { RegMDPMsgOfProReLoad(0, 0, 0, 0); }; };
const auto Trace = [](const std::string& text) -> Step {
    return [text] { EXPECT_EQ(NSQX_util::QXTrace2LogFile("qx", 1, text), 0); };
};

const std::string kDb = "ZorvCommonDBUtility::Instance() = non-null";
const std::string kAppMgr = "ZorvAppMgr::Instance() = non-null";
const std::string kReloadSent =  // the request of RegMDPMsgOfProReLoad(0, 0, 0, 0)
    "ZorvSendRegReqMsgToMDP(20, [09 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00], null, 60) = ";

// The journal, then the trace records: everything a run leaves behind.
Lines Kept() {
    Lines kept = JournalTexts();
    for (const std::string& text : TraceTexts()) {
        kept.push_back("trace: " + text);
    }
    return kept;
}

std::vector<std::unique_ptr<RespToRegFrame>> g_kept;  // the responses Send() was handed
std::string g_answers;                                // what sends and reports returned
// Sends no request, the response last handed out in place, a negative argument.
void Send() {
    RespToRegFrame* response = g_kept.empty() ? nullptr : g_kept.back().get();
    const int sent = ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, nullptr, response, -1);
    g_answers += "sent " + std::to_string(sent) + ", ";
    if (g_kept.empty() || response != g_kept.back().get()) {
        g_kept.emplace_back(response);
    }
}
// A send scripted to fail: what it left in `response`, which no one releases.
void SendFailing() {
    RespToRegFrame* left = nullptr;
    ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, nullptr, left, -1);
    g_answers += left == nullptr ? "left nothing, "
                                 : "left (" + std::to_string(left->echo) + ", " +
                                       std::to_string(left->result) + "), ";
}
void Report(const void* response) {
    g_answers += NoteResponseReleased(response) ? "released, " : "not, ";
}

// The sends, what they and the reports returned, the counts; kept responses freed.
Lines Responses() {
    Lines seen = PlatformCalls();
    seen.push_back(g_answers + "handed out " + std::to_string(ResponsesHandedOut()) + ", alive " +
                   std::to_string(ResponsesAlive()));
    g_kept.clear();
    g_answers.clear();
    return seen;
}

// One more response kept alive than the stand-in watches, then each reported.
void HandOut1025() {
    for (int i = 0; i < 1025; ++i) {
        Send();
    }
}
void ReleaseAll() {
    for (const std::unique_ptr<RespToRegFrame>& kept : g_kept) {
        NoteResponseReleased(kept.get());
    }
}
// The counts alone; kept responses freed.
Lines Counts() {
    Lines counts = {"handed out " + std::to_string(ResponsesHandedOut()),
                    "alive " + std::to_string(ResponsesAlive())};
    g_kept.clear();
    g_answers.clear();
    return counts;
}

const char* const kLog = "standin_trace.log";  // in the test's working folder
Lines LogFile() {
    std::ifstream log(kLog);
    return {std::string(std::istreambuf_iterator<char>(log), {})};
}

// A consumer base made and dropped as no library does: no flag, direct mode.
void Consume() {
    ZORVem::EventConsumerProxy proxy(ZORVem::EVENT_CLIENT_SYSTEM, false, ZORVem::CONNECTION_DIRECT);
    EXPECT_EQ(proxy.unsubscribe(), 0);
    EXPECT_EQ(proxy.svc(), 0);
}
void FormatTraceText() {
    std::string text;
    EXPECT_EQ(NSQX_util::QXTrace2Str(70000, text, "%d\x7f%d", QXString(~0UL << 32), QXString(-2)),
              0);
}
const std::vector<Step> kAskEverything = {
    IsCloud(), IsAdmin(1),        UserName(42),    Devices(43, {1002, 1300, 1301}),      AdminId(),
    Reload(),  Trace("left out"), FormatTraceText, Devices(42, {1100, 1101, 3000000000})};

const std::vector<Promise> kPromises = {
    // Faults for one call take turns: the first skips 1 and throws 2, only then
    // the next one starts counting, skips 1 and throws once.
    {.name = "FaultsForOneCallTakeTurns",
     .script = {[] { InjectFault(Call::IsInAdmins, 1, 2); },
                [] { InjectFault(Call::IsInAdmins, 1, 1); }},
     .calls = {IsAdmin(1), IsAdmin(1), IsAdmin(1), IsAdmin(1), IsAdmin(1), IsAdmin(1)},
     .expect = {"isInAdmins(1) = true", "isInAdmins(1) threw", "isInAdmins(1) threw",
                "isInAdmins(1) = true", "isInAdmins(1) threw", "isInAdmins(1) = true"}},
    // A query the library never makes: no filter set, a result list already
    // holding an id, which the answer is appended to, other last arguments.
    {.name = "QueryWithoutFilterAppendsToTheResultList",
     .script = {[] { SetMngDeviceResult(6); }, [] { SetManagedNEs(42, {5}); }},
     .calls = {[] {
         std::list<unsigned int> filled{3};
         Db::ZorvGetMngDevice(42, nullptr, &filled, 70000, true);
         EXPECT_EQ(filled, (std::list<unsigned int>{3, 5}));
     }},
     .expect = {"ZorvGetMngDevice(42, null, [3], 70000, true) = 6 [5]"}},
    // Queued sends in order, then the default. Reset() forgets the response alive
    // before it; one is released once, however often reported; null is none.
    {.name = "QueuedSendsThenTheDefaultEachResponseReleasedOnce",
     .script = {Send, Reset, [] { QueueSendResponse(9, 3, -5); },
                [] { QueueSendWithoutResponse(); }, [] { SetDefaultSendResponse(9, 7); }},
     .calls = {Send, Send, Send, [] { Report(g_kept.front().get()); },
               [] { Report(g_kept.back().get()); }, [] { Report(g_kept.back().get()); },
               [] { Report(nullptr); }},
     .readBack = Responses,
     .expect = {kAppMgr, "ZorvSendRegReqMsgToMDP(20, null, non-null, -1) = -5, response (9, 3)",
                kAppMgr, "ZorvSendRegReqMsgToMDP(20, null, non-null, -1) = 0", kAppMgr,
                "ZorvSendRegReqMsgToMDP(20, null, non-null, -1) = 1, response (9, 7)",
                "sent 1, sent -5, sent 0, sent 1, not, released, not, not, handed out 2, alive 1"}},
    // A failed send hands out nothing: it leaves a frame of the stand-in's.
    {.name = "FailedSendLeavesItsOwnFrame",
     .script = {[] { QueueSendResponse(9, 4, 0); }},
     .calls = {SendFailing},
     .readBack = Responses,
     .expect = {kAppMgr, "ZorvSendRegReqMsgToMDP(20, null, null, -1) = 0, response (9, 4)",
                "left (9, 4), handed out 0, alive 0"}},
    // 1025 alive at once, then each reported: the 1024 watched count as released,
    // the one beyond stays alive. Those handed out before Reset() count for nothing.
    {.name = "ResponsesBeyondTheWatched1024StayAlive",
     .script = {HandOut1025, Reset},
     .calls = {HandOut1025, ReleaseAll},
     .readBack = Counts,
     .expect = {"handed out 1025", "alive 1"}},
    {.name = "LogFileGainsOneLinePerRecordUntilStoppedOrReset",
     .script = {[] { std::ofstream(kLog) << "earlier\n"; }, [] { SetTraceLogFile(kLog); }},
     .calls = {Trace("SYSEvent::SYSEvent"), Trace("userid is 42 \n"), [] { SetTraceLogFile(""); },
               Trace("not logged"), [] { SetTraceLogFile(kLog); }, Reset, Trace("not logged")},
     .readBack = LogFile,
     .expect = {"earlier\nqx 1 SYSEvent::SYSEvent\nqx 1 userid is 42 \n"}},
    // The log file still gains every record while nothing is journaled.
    {.name = "LogFileKeptWhileJournalingIsOff",
     .script = {[] { std::ofstream(kLog) << ""; }, [] { SetTraceLogFile(kLog); },
                [] { SetJournaling(false); }},
     .calls = {Trace("off\xff"), [] { SetJournaling(true); }, Trace("on")},
     .readBack =
         [] {
             return Lines{LogFile().at(0), Kept().at(1)};
         },
     .expect = {"qx 1 off\xff\nqx 1 on\n", "trace: on"}},
};

class StandinPromises : public ::testing::TestWithParam<Promise> {};

// A call read back as thrown is one whose caller caught an InjectedFault.
TEST_P(StandinPromises, UserReadsBackWhatWasPromised) {
    Reset();
    for (const Step& step : GetParam().script) {
        step();
    }
    ClearJournal();
    long caught = 0;
    for (const Step& call : GetParam().calls) {
        try {
            call();
        } catch (const InjectedFault& fault) {
            ++caught;
            const std::vector<CallRecord> journal = Journal();
            const auto threw = [](const CallRecord& entry) { return entry.threw; };
            const auto last = std::find_if(journal.rbegin(), journal.rend(), threw);
            ASSERT_NE(last, journal.rend());
            EXPECT_EQ(fault.call, last->call);
        }
    }
    for (const CallRecord& entry : Journal()) {
        EXPECT_EQ(entry.threw, entry.text.ends_with(" threw")) << entry.text;
    }
    EXPECT_EQ(GetParam().readBack(), GetParam().expect);
    const auto threw = [](const std::string& line) { return line.ends_with(" threw"); };
    EXPECT_EQ(caught, std::ranges::count_if(GetParam().expect, threw));
}

INSTANTIATE_TEST_SUITE_P(Table, StandinPromises, ::testing::ValuesIn(kPromises),
                         [](const auto& info) { return info.param.name; });

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
    for (const Step& call : kAskEverything) {
        call();
    }
    Consume();
    EXPECT_EQ(
        PlatformCalls(),
        (Lines{"IsCloudNode() = false", "isInAdmins(1) = false", R"(ZorvGetUserName(42) = 0 "")",
               "ZorvGetMngDevice(43, {1002, 1300, 1301}, null, 0, false) = 1 []", kDb,
               "GetAdminID() = 0", kAppMgr, kReloadSent + "1, response (9, 0)",
               "ZorvGetMngDevice(42, {1100, 1101, 3000000000}, null, 0, false) = 1 []",
               "EventConsumerProxy::EventConsumerProxy(0, false, 0)",
               "EventConsumerProxy::unsubscribe() = 0",
               "EventConsumerProxy::~EventConsumerProxy()"}));
    EXPECT_EQ(TraceTexts(), Lines{"left out"});
    const Lines journal = JournalTexts();  // a level beyond 16 bits, DEL escaped
    EXPECT_EQ(std::ranges::count(
                  journal, R"(QXTrace2Str(70000, "%d\x7f%d", ulong 18446744069414584320, int -2))"),
              1);
    EXPECT_EQ(ResponsesHandedOut(), 1U);
}

}  // namespace
