// A process built against the installed library and stand-in platform: one
// request of each job, checked against the stand-in's built-in data set.
// Exits 0 only when every answer is the expected one.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

int main() {
    qx_standin::Reset();
    int failures = 0;
    auto expect = [&failures](bool ok, const char* what) {
        if (!ok) std::printf("install consumer: unexpected answer: %s\n", what), ++failures;
    };
    expect(TEUserIDMgr::Instance()->GetAdminUserID() == 1, "GetAdminUserID()");
    CUserSecurityMgr alice(42);
    char name[256] = {};
    expect(alice.GetLoginName(name) == 0 && std::string(name) == "alice", "GetLoginName()");
    std::vector<unsigned long> managed{7};
    expect(alice.GetManagedNE(std::vector<unsigned long>{1001, 2000}, managed) == 0 &&
               managed == std::vector<unsigned long>{1001},
           "GetManagedNE()");
    std::set<unsigned long> all;
    expect(alice.GetAllManagedNE(all) == 1 && all.size() == 101, "GetAllManagedNE(set)");
    SvrEvent key{"ne", "alarm"};
    expect(QXSysEventMgrIF::Instance()->RegEventHandler(key, nullptr) == 0, "RegEventHandler()");
    expect(QXSysEventMgrIF::Instance()->SubscribeEvent() == 1, "SubscribeEvent()");
    QXSysEventMgrIF::Destroy();
    TEUserIDMgr::Destroy();
    expect(RegMDPMsgOfProReLoad(1, 2, 3, 4) == 0, "RegMDPMsgOfProReLoad()");
    expect(qx_standin::TraceTexts().size() == 7, "trace records written");
    std::printf("install consumer: %s\n",
                failures == 0 ? "libqx_sysevent answered as expected" : "unexpected answers");
    return failures == 0 ? 0 : 1;
}
