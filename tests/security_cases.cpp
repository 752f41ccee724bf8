// TEUserIDMgr and CUserSecurityMgr, but for the NE filtering.
#include <string>

#include "cases.h"
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
const std::vector<int> kAliceBobMinus2Admin{42, 43, -2, 1};
const std::vector<int> kSixToNine{6, 7, 8, 9};

void Registry() { TEUserIDMgr::Instance(); }
void AnswerWideThenFive() { QueueMngDeviceAnswer(1, {3000000000, 5}); }

TEUserIDMgr* g_madeMeanwhile = nullptr;
// As if another thread made the registry while this one waited for the lock.
void RegistryMadeWhileLocking() {
    g_madeMeanwhile = new TEUserIDMgr;
    BeforeNextLock([] { TEUserIDMgr::m_pInstance = g_madeMeanwhile; });
}

}  // namespace

std::vector<Case> SecurityCases() {
    return {
        {.name = "RegistryCreated",
         .call = [] { return TEUserIDMgr::Instance() != nullptr; },
         .result = true,
         .caller = {.registry = true}},
        {.name = "RegistryFoundWithoutLock",
         .setup = Registry,
         .call = [] { return TEUserIDMgr::Instance() == TEUserIDMgr::m_pInstance; },
         .result = true,
         .caller = {.registry = true},
         .lock = StaticLock::NotTaken},
        {.name = "RegistryMadeWhileWaitingForTheLockIsUsed",
         .setup = RegistryMadeWhileLocking,
         .call = [] { return TEUserIDMgr::Instance() == g_madeMeanwhile; },
         .result = true,
         .caller = {.registry = true}},
        {.name = "RegistryNullWhenLockFails",
         .call = [] { return TEUserIDMgr::Instance() != nullptr; },
         .result = false,
         .lock = StaticLock::Failing},
        {.name = "RegistryDestroyed", .setup = Registry, .call = TEUserIDMgr::Destroy},
        {.name = "RegistryKeptWhenLockFails",
         .setup = Registry,
         .call = TEUserIDMgr::Destroy,
         .caller = {.registry = true},
         .lock = StaticLock::Failing},
        {.name = "AdminIdSignExtended",
         .setup = [] { SetAdminId(-5); },
         .call = [] { return TEUserIDMgr().GetAdminUserID(); },
         .result = -5,
         .platform = {kDb, "GetAdminID() = -5"}},
        {.name = "AdminIdWithoutDatabase",
         .setup = [] { SetDatabaseAvailable(false); },
         .call = [] { return TEUserIDMgr().GetAdminUserID(); },
         .result = 0,
         .platform = {kNoDb}},
        // Asked about its low 32 bits, 0x8000'0101; recorded whole.
        {.name = "AdminCheckAsksLow32BitsRecordsAll64",
         .setup = [] { SetAdmins({2147483905}); },
         .call = [] { return TEUserIDMgr().IsAdminUserID(0x1'8000'0101); },
         .result = true,
         .platform = {kDb, "isInAdmins(2147483905) = true",
                      "> call pZorv->isInAdmins return true, userid is 6442451201 \n"}},
        {.name = "AdminCheckWithoutDatabase",
         .setup = [] { SetDatabaseAvailable(false); },
         .call = [] { return TEUserIDMgr().IsAdminUserID(0x1'8000'0101); },
         .result = false,
         .platform = {kNoDb, "> call pZorv->isInAdmins return false, userid is 6442451201 \n"}},
        {.name = "ManagerOfAdmin",
         .call = [] { w.mgr.emplace(1); },
         .caller = {.registry = true, .root = true},
         .platform = {kDb, "isInAdmins(1) = true",
                      "> call pZorv->isInAdmins return true, userid is 1 \n"}},
        // The id is sign-extended to 64 bits, then asked about in 32.
        {.name = "ManagerAsksEvenWhenRegistryLockFails",
         .setup = [] { SetAdmins({4294967295}); },
         .call = [] { w.mgr.emplace(-1); },
         .caller = {.root = true},
         .platform = {kDb, "isInAdmins(4294967295) = true",
                      "> call pZorv->isInAdmins return true, userid is 18446744073709551615 \n"},
         .lock = StaticLock::Failing},
        {.name = "LoginName",
         .call = [] { return w.mgr->GetLoginName(w.buf); },
         .caller = {.buf = "alice"},
         .platform = {R"(ZorvGetUserName(42) = 1 "alice\x00")"}},
        // The database wrote 4 bytes and no NUL; the library writes nothing.
        {.name = "LoginNameOnlyResultOneCounts",
         .user = -2,
         .setup = [] { QueueUserNameAnswer(2, "junk"); },
         .call = [] { return w.mgr->GetLoginName(w.buf); },
         .result = 0x42008125,
         .caller = {.buf = "junkxxxxxxxx"},
         .platform = {R"(ZorvGetUserName(4294967294) = 2 "junk")", "> ZorvGetUserName is failed!"}},
        // A name already known stays; the user after the failure is not asked about.
        {.name = "AllUsersStopAtFirstFailure",
         .setup = [] { w.names[43] = "known"; },
         .call = [] { return w.mgr->GetAllUser(kAliceBobMinus2Admin, w.names); },
         .result = 0x42008125,
         .caller = {.names = {{42, "alice"}, {43, "known"}}},
         .platform = {R"(ZorvGetUserName(42) = 1 "alice\x00")",
                      R"(ZorvGetUserName(43) = 1 "bob\x00")",
                      R"(ZorvGetUserName(4294967294) = 0 "")", "> ZorvGetUserName failed!"}},
        // One buffer, zeroed once, serves every lookup; a name ends at 255 bytes.
        {.name = "AllUsersShareOneBuffer",
         .setup =
             [] {
                 QueueUserNameAnswer(1, "xy");
                 QueueUserNameAnswer(1, "longname");
                 QueueUserNameAnswer(1, "ab");
                 QueueUserNameAnswer(1, kNameOf255 + "n");
             },
         .call = [] { return w.mgr->GetAllUser(kSixToNine, w.names); },
         .caller = {.names = {{6, "xy"}, {7, "longname"}, {8, "abngname"}, {9, kNameOf255}}},
         .platform = {R"(ZorvGetUserName(6) = 1 "xy")", R"(ZorvGetUserName(7) = 1 "longname")",
                      R"(ZorvGetUserName(8) = 1 "ab")",
                      R"(ZorvGetUserName(9) = 1 ")" + kNameOf255 + R"(n")"}},
        {.name = "WideNeManagedOnCloudNode",
         .setup = [] { SetCloudNode(true); },
         .call = [] { return w.mgr->isNeManaged((1UL << 32) + 1001); },
         .result = true,
         .platform = {"IsCloudNode() = true"}},
        {.name = "NeManaged",
         .call = [] { return w.mgr->isNeManaged(1001); },
         .result = true,
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,neId = 1001 \n",
                      "ZorvGetMngDevice(42, {1001}, [], 0, false) = 1 [1001]",
                      kAsk + "retCode = 1, userid = 42,lstDeviceOut.size() = 1 \n"}},
        {.name = "WidestNeNotManagedByNegativeUser",
         .user = -2,
         .call = [] { return w.mgr->isNeManaged(4294967295); },
         .result = false,
         .platform = {"IsCloudNode() = false", kAsk + "userid = -2,neId = 4294967295 \n",
                      "ZorvGetMngDevice(4294967294, {4294967295}, [], 0, false) = 1 []",
                      kAsk + "retCode = 1, userid = -2,lstDeviceOut.size() = 0 \n"}},
        {.name = "NeManagedFailedQuery",
         .setup = [] { SetMngDeviceResult(0); },
         .call = [] { return w.mgr->isNeManaged(1001); },
         .result = false,
         .platform = {"IsCloudNode() = false", kAsk + "userid = 42,neId = 1001 \n",
                      "ZorvGetMngDevice(42, {1001}, [], 0, false) = 0 [1001]",
                      kAsk + "retCode = 0, userid = 42,lstDeviceOut.size() = 1 \n",
                      "> ZorvService error!"}},
        {.name = "NeManagedNeverAsksAboutWideIds",
         .call = [] { return w.mgr->isNeManaged(1UL << 32); },
         .result = false,
         .platform = {"IsCloudNode() = false"}},
        {.name = "AllManagedVector",
         .setup = AnswerWideThenFive,
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
        {.name = "AllManagedSetReturnsQueryResult",
         .setup = AnswerWideThenFive,
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = 1,
         .caller = {.set = {5, 3000000000}},
         .platform = {kAskAll, kAll + "1 [3000000000, 5]",
                      kAsk + "retCode = 1, userid = 42,setNE.size() = 2 \n"}},
        {.name = "AllManagedSetTakesFailedAnswer",
         .setup = [] { QueueMngDeviceAnswer(2, {4}); },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = 2,
         .caller = {.set = {4}},
         .platform = {kAskAll, kAll + "2 [4]",
                      kAsk + "retCode = 2, userid = 42,setNE.size() = 1 \n"}},
        {.name = "AllManagedSetEmptyForNegativeUser",
         .user = -2,
         .setup = [] { w.set = {7}; },
         .call = [] { return w.mgr->GetAllManagedNE(w.set); },
         .result = 1,
         .platform = {kAsk + "userid = -2,GetAllManagedNE \n",
                      "ZorvGetMngDevice(4294967294, {}, [], 0, false) = 1 []",
                      kAsk + "retCode = 1, userid = -2,setNE.size() = 0 \n",
                      "> Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = -2 \n"}},
    };
}

}  // namespace qx_test
