// A server process as built long ago against the library being replaced: it
// calls every operation, so that it needs each symbol. Only read by
// qx-sysevent-check, never run.
#include <cstdio>

#include "pinned.h"

namespace {

void OnEvent() {}

}  // namespace

int main() {
    SvrEvent key;
    key.m_strPrimaryKey = "alarm";
    QXSysEventMgrIF* events = QXSysEventMgrIF::Instance();
    long answers = events->RegEventHandler(key, OnEvent) + events->SubscribeEvent() +
                   events->UnSubscribeEvent() + (key < key ? 1 : 0);
    QXSysEventMgrIF::Destroy();
    answers +=
        TEUserIDMgr::Instance()->GetAdminUserID() + TEUserIDMgr::Instance()->IsAdminUserID(1);
    TEUserIDMgr::Destroy();

    CUserSecurityMgr user(42);
    char name[256] = {};
    std::vector<int> ids(1, 42);
    std::map<int, std::string> names;
    std::list<unsigned long> list(1, 5UL);
    std::list<unsigned long> listOut;
    std::vector<unsigned long> vec(1, 5UL);
    std::vector<unsigned long> vecOut;
    std::set<unsigned long> set;
    std::set<unsigned long> setOut;
    answers += user.isContainsRoot() + user.GetLoginName(name) + user.GetAllUser(ids, names) +
               user.isNeManaged(5) + user.GetAllManagedNE(vecOut) + user.GetAllManagedNE(setOut) +
               user.GetManagedNE(list, listOut) + user.GetManagedNE(vec, vecOut) +
               user.GetManagedNE(set, vecOut) + user.GetManagedNE(set, setOut) +
               user.GetManagedNE(vec, setOut) + RegMDPMsgOfProReLoad(1, 2, 3, 4);
#if defined(QX_PINNED_EXTRA)
    answers += user.GetManagedNE(list, vecOut);
#endif
    std::printf("%ld %s\n", answers, QXSysEventMgrIF::m_pInstance == 0 ? "" : name);
    return 0;
}
