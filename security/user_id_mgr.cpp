#include "qx_sysevent/user_id_mgr.h"

#include "common/static_singleton.h"
#include "common/trace_record.h"
#include "platform/zorv_db_utility.h"

TEUserIDMgr* TEUserIDMgr::m_pInstance = nullptr;

TEUserIDMgr* TEUserIDMgr::Instance() { return qx::GetOrCreateInstance(m_pInstance); }

void TEUserIDMgr::Destroy() { qx::DestroyInstance(m_pInstance); }

long TEUserIDMgr::GetAdminUserID() {
    ZorvCommonDBUtility* database = ZorvCommonDBUtility::Instance();
    if (database == nullptr) {
        return 0;
    }
    return database->GetAdminID();
}

bool TEUserIDMgr::IsAdminUserID(unsigned long userId) {
    bool admin = false;
    if (ZorvCommonDBUtility::Instance() != nullptr) {
        admin = ZorvCommonDBUtility::isInAdmins(static_cast<unsigned int>(userId));
    }
    // The record carries the full 64-bit id, not the 32 bits asked about.
    if (admin) {
        qx::TraceRecord("call pZorv->isInAdmins return true, userid is %d \n", userId);
    } else {
        qx::TraceRecord("call pZorv->isInAdmins return false, userid is %d \n", userId);
    }
    return admin;
}
