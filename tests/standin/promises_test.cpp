// What qx_standin/*.h promise the tests that script the stand-in. A row runs
// its script after Reset(), clears the journal, makes its calls (straight to
// the platform's entry points, or through the library) and reads back what a
// user would: the journal's texts unless it names another control.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/qx_trace.h"
#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using Lines = std::vector<std::string>;
using Step = std::function<void()>;
using Db = ZorvCommonDBUtility;
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
const auto Reload = []() -> Step { return [] { RegMDPMsgOfProReLoad(0, 0, 0, 0); }; };
const auto Trace = [](const std::string& text) -> Step {
    return [text] { NSQX_util::QXTrace2LogFile("qx", 1, text); };
};

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

const char* const kLog = "standin_trace.log";  // in the test's working folder
Lines LogFile() {
    std::ifstream log(kLog);
    return {std::string(std::istreambuf_iterator<char>(log), {})};
}

// What Reset() and ResetEmpty() must undo.
void ScriptEverything() {
    SetCloudNode(true);
    SetUserName(42, "mallory");
    InjectFault(Call::IsInAdmins);
    SetDefaultSendResponse(8, 7);
    SetJournaling(false);
}
const std::vector<Step> kAskEverything = {
    IsCloud(), IsAdmin(1), UserName(42), Devices(43, {1001, 1002}), Reload(), Trace("left out")};

const std::vector<Promise> kPromises = {
    // Faults for one call take turns: isInAdmins skips 1 and throws 2, then
    // one with zero times never throws.
    {.name = "FaultSkipThenTimesDefaultOnceZeroTimesAndSkipOrTimesBeyondTheCalls",
     .script = {[] { InjectFault(Call::IsInAdmins, 1, 2); },
                [] { InjectFault(Call::IsInAdmins, 0, 0); }, [] { InjectFault(Call::IsCloudNode); },
                [] { InjectFault(Call::GetUserName, 2); },
                [] { InjectFault(Call::TraceWrite, 0, 3); }},
     .calls = {IsAdmin(1), IsAdmin(1), IsAdmin(1), IsAdmin(1), IsCloud(), IsCloud(), UserName(1),
               UserName(1), Trace("one"), Trace("two")},
     .expect = {"isInAdmins(1) = true", "isInAdmins(1) threw", "isInAdmins(1) threw",
                "isInAdmins(1) = true", "IsCloudNode() threw", "IsCloudNode() = false",
                R"(ZorvGetUserName(1) = 1 "admin\x00")", R"(ZorvGetUserName(1) = 1 "admin\x00")",
                R"(QXTrace2LogFile("qx", 1, "one") threw)",
                R"(QXTrace2LogFile("qx", 1, "two") threw)"}},
    {.name = "TraceFaultThrowsOnlyRecordsHoldingItsTextTimesOver",
     .script = {[] { InjectTraceFault("alarm", 2); }, [] { InjectTraceFault("link", 0); }},
     .calls = {Trace("alarm raised"), Trace("link up"), Trace("alarm cleared"), Trace("alarm")},
     .readBack = Kept,
     .expect = {R"(QXTrace2LogFile("qx", 1, "alarm raised") threw)",
                R"(QXTrace2LogFile("qx", 1, "link up"))",
                R"(QXTrace2LogFile("qx", 1, "alarm cleared") threw)",
                R"(QXTrace2LogFile("qx", 1, "alarm"))", "trace: link up", "trace: alarm"}},
    {.name = "QueuedDatabaseAnswersFirstInFirstOutThenTheDataSet",
     .script = {[] { QueueUserNameAnswer(0, ""); },
                [] { QueueUserNameAnswer(1, std::string("\"eve\"\0junk", 10)); },
                [] { QueueMngDeviceAnswer(0, {7}); }, [] { QueueMngDeviceAnswer(1, {8}); },
                [] { SetMngDeviceResult(5); }},
     .calls = {UserName(43), UserName(43), UserName(43), Devices(42, {5, 1001}),
               Devices(42, {5, 1001}), Devices(42, {5, 1001})},
     .expect = {R"(ZorvGetUserName(43) = 0 "")", R"(ZorvGetUserName(43) = 1 "\"eve\"\x00junk")",
                R"(ZorvGetUserName(43) = 1 "bob\x00")",
                "ZorvGetMngDevice(42, {5, 1001}, null, 0, false) = 0 [7]",
                "ZorvGetMngDevice(42, {5, 1001}, null, 0, false) = 1 [8]",
                "ZorvGetMngDevice(42, {5, 1001}, null, 0, false) = 5 [1001]"}},
    {.name = "QueuedSendsFirstInFirstOutThenTheDefaultResponse",
     .script = {[] { QueueSendResponse(9, 3); }, [] { QueueSendWithoutResponse(); },
                [] { SetDefaultSendResponse(9, 7); }},
     .calls = {Reload(), Reload(), Reload()},
     .expect = {kAppMgr, kReloadSent + "1, response (9, 3)", kAppMgr, kReloadSent + "0", kAppMgr,
                kReloadSent + "1, response (9, 7)"}},
    {.name = "ResetBringsBackTheDataSetWithNothingScripted",
     .script = {ScriptEverything, Reset},
     .calls = kAskEverything,
     .readBack = PlatformCalls,
     .expect = {"IsCloudNode() = false", "isInAdmins(1) = true",
                R"(ZorvGetUserName(42) = 1 "alice\x00")",
                "ZorvGetMngDevice(43, {1001, 1002}, null, 0, false) = 1 [1002]", kAppMgr,
                kReloadSent + "1, response (9, 0)"}},
    {.name = "ResetEmptyStartsFromNothing",
     .script = {ScriptEverything, ResetEmpty},
     .calls = kAskEverything,
     .readBack = PlatformCalls,
     .expect = {"IsCloudNode() = false", "isInAdmins(1) = false", R"(ZorvGetUserName(42) = 0 "")",
                "ZorvGetMngDevice(43, {1001, 1002}, null, 0, false) = 1 []", kAppMgr,
                kReloadSent + "1, response (9, 0)"}},
    {.name = "LogFileGainsOneLinePerRecordUntilStoppedOrReset",
     .script = {[] { std::ofstream(kLog) << "earlier\n"; }, [] { SetTraceLogFile(kLog); }},
     .calls = {Trace("SYSEvent::SYSEvent"), Trace("userid is 42 \n"), [] { SetTraceLogFile(""); },
               Trace("not logged"), [] { SetTraceLogFile(kLog); }, Reset, Trace("not logged")},
     .readBack = LogFile,
     .expect = {"earlier\nqx 1 SYSEvent::SYSEvent\nqx 1 userid is 42 \n"}},
    {.name = "JournalingOffLeavesNothingBehind",
     .script = {[] { SetJournaling(false); }},
     .calls = {[] { CUserSecurityMgr(42).isNeManaged(1001); }, Reload(),
               [] { SetJournaling(true); }, IsCloud()},
     .readBack = Kept,
     .expect = {"IsCloudNode() = false"}},
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
        } catch (const InjectedFault&) {
            ++caught;
        }
    }
    EXPECT_EQ(GetParam().readBack(), GetParam().expect);
    const auto threw = [](const std::string& line) { return line.ends_with(" threw"); };
    EXPECT_EQ(caught, std::ranges::count_if(GetParam().expect, threw));
}

INSTANTIATE_TEST_SUITE_P(Table, StandinPromises, ::testing::ValuesIn(kPromises),
                         [](const auto& info) { return info.param.name; });

}  // namespace
