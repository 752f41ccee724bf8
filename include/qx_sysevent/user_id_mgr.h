// Who the administrator is, asked of the management database at every call.
#pragma once

#include "qx_sysevent/export.h"

class TEUserIDMgr {
public:
    // The registry, created on first use; null only when the static object
    // lock cannot be taken while none exists.
    QX_SYSEVENT_EXPORT static TEUserIDMgr* Instance();
    QX_SYSEVENT_EXPORT static void Destroy();

    // The administrator's user id, sign-extended; 0 when the database is not
    // available.
    QX_SYSEVENT_EXPORT long GetAdminUserID();
    // Whether the database lists the user (its low 32 bits) as administrator.
    QX_SYSEVENT_EXPORT bool IsAdminUserID(unsigned long userId);

    QX_SYSEVENT_EXPORT static TEUserIDMgr* m_pInstance;
};
