// A process built against the installed library and stand-in platform: one
// request of each job, checked against the stand-in's built-in data set.
// Prints one line and exits 0 only when every answer is the expected one.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

int g_failures = 0;

void Expect(bool ok, const char* what) {
    if (!ok) {
        std::printf("install consumer: unexpected answer: %s\n", what);
        ++g_failures;
    }
}

void OnEvent() {}

void CheckAdministrator() {
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    Expect(registry != nullptr, "TEUserIDMgr::Instance()");
    if (registry == nullptr) {
        return;
    }
    Expect(registry->GetAdminUserID() == qx_standin::defaults::kAdminId, "GetAdminUserID()");
    Expect(registry->IsAdminUserID(1), "IsAdminUserID(1)");
    Expect(!registry->IsAdminUserID(qx_standin::defaults::kAlice), "IsAdminUserID(alice)");
    TEUserIDMgr::Destroy();
    Expect(TEUserIDMgr::m_pInstance == nullptr, "TEUserIDMgr::Destroy()");
}

void CheckSecurityScope() {
    CUserSecurityMgr alice(static_cast<int>(qx_standin::defaults::kAlice));
    Expect(!alice.isContainsRoot(), "isContainsRoot()");

    char name[256] = {};
    Expect(alice.GetLoginName(name) == 0 && std::string(name) == "alice", "GetLoginName()");

    Expect(alice.isNeManaged(1001), "isNeManaged(1001)");
    Expect(!alice.isNeManaged(2000), "isNeManaged(2000)");

    qx_standin::ClearJournal();
    std::vector<unsigned long> managed{7};
    Expect(alice.GetManagedNE(std::vector<unsigned long>{1001, 2000, 3000000000UL}, managed) == 0,
           "GetManagedNE() result");
    Expect(managed == std::vector<unsigned long>{1001, 3000000000UL}, "GetManagedNE() output");
    Expect(qx_standin::PlatformCalls() ==
               std::vector<std::string>{"IsCloudNode() = false",
                                        "ZorvGetMngDevice(42, {1001, 2000, 3000000000}, [], 0, "
                                        "false) = 1 [1001, 3000000000]"},
           "GetManagedNE() platform calls");

    std::set<unsigned long> all;
    Expect(alice.GetAllManagedNE(all) == 1 && all.size() == 101 && all.count(3000000000UL) == 1,
           "GetAllManagedNE(set)");
}

void CheckEvents() {
    QXSysEventMgrIF* events = QXSysEventMgrIF::Instance();
    Expect(events != nullptr, "QXSysEventMgrIF::Instance()");
    if (events == nullptr) {
        return;
    }
    SvrEvent key;
    key.m_strPrimaryKey = "ne";
    key.m_strSecondaryKey = "alarm";
    Expect(events->RegEventHandler(key, OnEvent) == 0, "RegEventHandler()");
    Expect(events->RegEventHandler(key, OnEvent) == 0x4103F210, "RegEventHandler() again");
    Expect(events->SubscribeEvent() == 1, "SubscribeEvent()");
    Expect(events->UnSubscribeEvent() == 0, "UnSubscribeEvent()");
    QXSysEventMgrIF::Destroy();
    Expect(QXSysEventMgrIF::m_pInstance == nullptr, "QXSysEventMgrIF::Destroy()");
}

void CheckReload() { Expect(RegMDPMsgOfProReLoad(1, 2, 3, 4) == 0, "RegMDPMsgOfProReLoad()"); }

}  // namespace

int main() {
    qx_standin::Reset();
    CheckAdministrator();
    CheckSecurityScope();
    CheckEvents();
    CheckReload();
    Expect(!qx_standin::TraceTexts().empty(), "trace records written");
    if (g_failures != 0) {
        std::printf("install consumer: %d unexpected answers\n", g_failures);
        return 1;
    }
    std::printf("install consumer: libqx_sysevent answered as expected\n");
    return 0;
}
