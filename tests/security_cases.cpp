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
const std::string kError = "> ZorvService error!";

std::string Admin(bool yes, const std::string& id) {
    return std::string("> call pZorv->isInAdmins return ") + (yes ? "true" : "false") +
           ", userid is " + id + " \n";
}
std::string Answered(const std::string& code, const char* kind, int n) {
    return kAsk + "retCode = " + code + ", userid = 42," + kind + ".size() = " + std::to_string(n) +
           " \n";
}
void Alice() { w.mgr.emplace(42); }
void Registry() { TEUserIDMgr::Instance(); }
TEUserIDMgr& R() { return *TEUserIDMgr::m_pInstance; }

}  // namespace

std::vector<Case> SecurityCases() {
    const std::string all = kAsk + "userid = 42,GetAllManagedNE \n";
    const std::string none =
        "> Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = 42 \n";
    const std::string longName(255, 'n');
    // clang-format off
    return {
        {"RegistryCreated", [] {}, [] { return long{TEUserIDMgr::Instance() != nullptr}; }, 1,
         {"registry"}, {}, 1},
        {"RegistryFoundWithoutLock", Registry,
         [] { return long{TEUserIDMgr::Instance() == TEUserIDMgr::m_pInstance}; }, 1,
         {"registry"}, {}, 0},
        {"RegistryNullWhenLockFails", [] {},
         [] { return long{TEUserIDMgr::Instance() != nullptr}; }, 0, {}, {}, 0, true},
        {"RegistryDestroyed", Registry, [] { return TEUserIDMgr::Destroy(), 0L; }, 0, {}, {}, 1},
        {"RegistryKeptWhenLockFails", Registry, [] { return TEUserIDMgr::Destroy(), 0L; }, 0,
         {"registry"}, {}, 0, true},
        {"AdminIdSignExtended", [] { Registry(), SetAdminId(-5); },
         [] { return R().GetAdminUserID(); }, -5, {"registry"}, {kDb, "GetAdminID() = -5"}},
        {"AdminIdWithoutDatabase", [] { Registry(), SetDatabaseAvailable(false); },
         [] { return R().GetAdminUserID(); }, 0, {"registry"}, {kNoDb}},
        {"AdminCheckAsksLow32BitsRecordsAll64", Registry,
         [] { return long{R().IsAdminUserID((1UL << 32) + 1)}; }, 1, {"registry"},
         {kDb, "isInAdmins(1) = true", Admin(true, "4294967297")}},
        {"AdminCheckWithoutDatabase", [] { Registry(), SetDatabaseAvailable(false); },
         [] { return long{R().IsAdminUserID(1)}; }, 0, {"registry"}, {kNoDb, Admin(false, "1")}},
        {"ManagerOfUser", [] {}, [] { return w.mgr.emplace(42), 0L; }, 0, {"registry"},
         {kDb, "isInAdmins(42) = false", Admin(false, "42")}, 1},
        {"ManagerOfAdmin", [] {}, [] { return w.mgr.emplace(1), 0L; }, 0, {"registry", "root"},
         {kDb, "isInAdmins(1) = true", Admin(true, "1")}, 1},
        {"ManagerAsksEvenWhenRegistryLockFails", [] { SetAdmins({4294967295U}); },
         [] { return w.mgr.emplace(-1), 0L; }, 0, {"root"},
         {kDb, "isInAdmins(4294967295) = true", Admin(true, "18446744073709551615")}, 0, true},
        {"LoginName", Alice, [] { return w.mgr->GetLoginName(w.buf); }, 0,
         {"registry", "buf alice"}, {R"(ZorvGetUserName(42) = 1 "alice\x00")"}},
        {"LoginNameOnlyResultOneCounts", [] { Alice(), QueueUserNameAnswer(2, "junk"); },
         [] { return w.mgr->GetLoginName(w.buf); }, 0x42008125, {"registry", "buf junkxxxxxxxx"},
         {R"(ZorvGetUserName(42) = 2 "junk")", "> ZorvGetUserName is failed!"}},
        {"AllUsersKeepKnownNames", [] { Alice(), w.names[1] = "known"; },
         [] { return w.mgr->GetAllUser({42, 43, 1}, w.names); }, 0,
         {"registry", "name 1=known", "name 42=alice", "name 43=bob"},
         {R"(ZorvGetUserName(42) = 1 "alice\x00")", R"(ZorvGetUserName(43) = 1 "bob\x00")",
          R"(ZorvGetUserName(1) = 1 "admin\x00")"}},
        {"AllUsersStopAtFirstFailure", Alice,
         [] { return w.mgr->GetAllUser({42, 999, 43}, w.names); }, 0x42008125,
         {"registry", "name 42=alice"},
         {R"(ZorvGetUserName(42) = 1 "alice\x00")", R"(ZorvGetUserName(999) = 0 "")",
          "> ZorvGetUserName failed!"}},
        // One zeroed buffer serves every lookup, and a name ends at 255 bytes.
        {"AllUsersShareOneBuffer",
         [] {
             Alice(), QueueUserNameAnswer(1, "xy"), QueueUserNameAnswer(1, "longname");
             QueueUserNameAnswer(1, "ab"), QueueUserNameAnswer(1, std::string(256, 'n'));
         },
         [] { return DirtyStack(), w.mgr->GetAllUser({6, 7, 8, 9}, w.names); }, 0,
         {"registry", "name 6=xy", "name 7=longname", "name 8=abngname", "name 9=" + longName},
         {R"(ZorvGetUserName(6) = 1 "xy")", R"(ZorvGetUserName(7) = 1 "longname")",
          R"(ZorvGetUserName(8) = 1 "ab")", R"(ZorvGetUserName(9) = 1 ")" + longName + R"(n")"}},
        {"NeManagedOnCloudNode", [] { Alice(), SetCloudNode(true); },
         [] { return long{w.mgr->isNeManaged(5)}; }, 1, {"registry"}, {"IsCloudNode() = true"}},
        {"NeManaged", Alice, [] { return long{w.mgr->isNeManaged(1001)}; }, 1, {"registry"},
         {"IsCloudNode() = false", kAsk + "userid = 42,neId = 1001 \n",
          "ZorvGetMngDevice(42, {1001}, [], 0, false) = 1 [1001]",
          Answered("1", "lstDeviceOut", 1)}},
        {"NeNotManaged", Alice, [] { return long{w.mgr->isNeManaged(4294967295)}; }, 0,
         {"registry"},
         {"IsCloudNode() = false", kAsk + "userid = 42,neId = 4294967295 \n",
          "ZorvGetMngDevice(42, {4294967295}, [], 0, false) = 1 []",
          Answered("1", "lstDeviceOut", 0)}},
        {"NeManagedFailedQuery", [] { Alice(), SetMngDeviceResult(0); },
         [] { return long{w.mgr->isNeManaged(1001)}; }, 0, {"registry"},
         {"IsCloudNode() = false", kAsk + "userid = 42,neId = 1001 \n",
          "ZorvGetMngDevice(42, {1001}, [], 0, false) = 0 [1001]",
          Answered("0", "lstDeviceOut", 1), kError}},
        {"NeManagedNeverAsksAboutWideIds", Alice,
         [] { return long{w.mgr->isNeManaged((1UL << 32) + 1001)}; }, 0, {"registry"},
         {"IsCloudNode() = false"}},
        {"AllManagedVector", [] { Alice(), w.vec = {7}, QueueMngDeviceAnswer(1, {9, 5}); },
         [] { return w.mgr->GetAllManagedNE(w.vec); }, 0, {"registry", "vec 9 5"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 1 [9, 5]", Answered("1", "vecNE", 2)}},
        {"AllManagedVectorEmpty", [] { Alice(), w.vec = {7}, QueueMngDeviceAnswer(1, {}); },
         [] { return w.mgr->GetAllManagedNE(w.vec); }, 0, {"registry"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 1 []", Answered("1", "vecNE", 0), none}},
        {"AllManagedVectorFailureNeverSuccess",
         [] { Alice(), w.vec = {7}, QueueMngDeviceAnswer(0, {9}); },
         [] { return w.mgr->GetAllManagedNE(w.vec); }, 0x42008126, {"registry", "vec 7"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 0 [9]", Answered("0", "vecNE", 1),
          "> ZorvService error! retcode = 0\n"}},
        {"AllManagedVectorFailurePassesCode", [] { Alice(), QueueMngDeviceAnswer(-3, {}); },
         [] { return w.mgr->GetAllManagedNE(w.vec); }, -3, {"registry"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = -3 []",
          Answered("18446744073709551613", "vecNE", 0),
          "> ZorvService error! retcode = 18446744073709551613\n"}},
        {"AllManagedSetReturnsQueryResult",
         [] { Alice(), w.set = {7}, QueueMngDeviceAnswer(1, {9, 5}); },
         [] { return w.mgr->GetAllManagedNE(w.set); }, 1, {"registry", "set 5", "set 9"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 1 [9, 5]", Answered("1", "setNE", 2)}},
        {"AllManagedSetTakesFailedAnswer",
         [] { Alice(), w.set = {7}, QueueMngDeviceAnswer(2, {4}); },
         [] { return w.mgr->GetAllManagedNE(w.set); }, 2, {"registry", "set 4"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 2 [4]", Answered("2", "setNE", 1)}},
        {"AllManagedSetEmpty", [] { Alice(), w.set = {7}, QueueMngDeviceAnswer(0, {}); },
         [] { return w.mgr->GetAllManagedNE(w.set); }, 0, {"registry"},
         {all, "ZorvGetMngDevice(42, {}, [], 0, false) = 0 []", Answered("0", "setNE", 0), none}},
    };
    // clang-format on
}

}  // namespace qx_test
