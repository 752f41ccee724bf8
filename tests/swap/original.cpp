// The library being replaced, as far as its symbols and types go: each pinned
// declaration defined, with an answer of no meaning, and the extra call.
#define QX_PINNED_EXTRA
#include "pinned.h"

QXSysEventMgrIF* QXSysEventMgrIF::m_pInstance = 0;
TEUserIDMgr* TEUserIDMgr::m_pInstance = 0;

bool SvrEvent::operator<(const SvrEvent& other) const {
    return m_strPrimaryKey < other.m_strPrimaryKey;
}
QXSysEventMgrIF* QXSysEventMgrIF::Instance() { return m_pInstance; }
void QXSysEventMgrIF::Destroy() {}
int QXSysEventMgrIF::RegEventHandler(const SvrEvent& key, void (*)()) {
    return static_cast<int>(key.m_strSecondaryKey.size());
}
int QXSysEventMgrIF::SubscribeEvent() { return 1; }
int QXSysEventMgrIF::UnSubscribeEvent() { return 0; }
TEUserIDMgr* TEUserIDMgr::Instance() { return m_pInstance; }
void TEUserIDMgr::Destroy() {}
long TEUserIDMgr::GetAdminUserID() { return 1; }
bool TEUserIDMgr::IsAdminUserID(unsigned long userId) { return userId == 1; }
CUserSecurityMgr::CUserSecurityMgr(int userId) : m_nUserID(userId), m_bContainsRoot(false) {}
bool CUserSecurityMgr::isContainsRoot() { return m_bContainsRoot; }
long CUserSecurityMgr::GetLoginName(char* name) { return name[0] = '\0'; }
long CUserSecurityMgr::GetAllUser(const std::vector<int>& ids, std::map<int, std::string>& names) {
    return static_cast<long>(ids.size() + names.size());
}
bool CUserSecurityMgr::isNeManaged(unsigned long neId) const { return neId == 0; }
long CUserSecurityMgr::GetAllManagedNE(std::vector<unsigned long>& out) { return out.empty(); }
long CUserSecurityMgr::GetAllManagedNE(std::set<unsigned long>& out) { return out.empty(); }
// Each overload of GetManagedNE, from its input and output containers.
#define QX_ORIGINAL_GET_MANAGED_NE(In, Out)                               \
    long CUserSecurityMgr::GetManagedNE(const std::In<unsigned long>& in, \
                                        std::Out<unsigned long>& out) {   \
        return static_cast<long>(in.size() + out.size());                 \
    }
QX_ORIGINAL_GET_MANAGED_NE(list, list)
QX_ORIGINAL_GET_MANAGED_NE(vector, vector)
QX_ORIGINAL_GET_MANAGED_NE(set, vector)
QX_ORIGINAL_GET_MANAGED_NE(set, set)
QX_ORIGINAL_GET_MANAGED_NE(vector, set)
QX_ORIGINAL_GET_MANAGED_NE(list, vector)
int RegMDPMsgOfProReLoad(int, int, int, long fourth) { return static_cast<int>(fourth); }
