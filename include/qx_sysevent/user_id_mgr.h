/// @file
/// Who the administrator is, asked of the management database at every call.
#pragma once

#include "qx_sysevent/export.h"

/// The process's administrator registry. It holds no state and caches
/// nothing: each answer comes from the platform's ZorvCommonDBUtility.
///
/// Threads: every call may run concurrently with every other, except that no
/// call may overlap Destroy() or follow it on an earlier pointer.
class TEUserIDMgr {
public:
    /// The registry, created on first use; null only when ACE's static object
    /// lock cannot be taken while none exists.
    QX_SYSEVENT_EXPORT static TEUserIDMgr* Instance();
    /// Deletes the registry; pointers that Instance() returned dangle after
    /// it. The next Instance() creates a new one.
    QX_SYSEVENT_EXPORT static void Destroy();

    /// The administrator's user id (ZorvCommonDBUtility::GetAdminID()),
    /// sign-extended; 0 when the database is not available.
    QX_SYSEVENT_EXPORT long GetAdminUserID();
    /// Whether ZorvCommonDBUtility::isInAdmins() lists the user; false when
    /// the database is not available. Writes one trace record either way.
    /// User ids are 32-bit: the `unsigned long` is the width old callers were
    /// built with; only its low 32 bits are asked about.
    QX_SYSEVENT_EXPORT bool IsAdminUserID(unsigned long userId);

    /// The registry while one exists, else null. Exported for binaries that
    /// read it directly; only Instance() and Destroy() write it.
    QX_SYSEVENT_EXPORT static TEUserIDMgr* m_pInstance;
};
