/// @file
/// Who the administrator is, asked of the management database at every call.
#pragma once

#include "qx_sysevent/export.h"

// In quoted trace texts below, %% is Doxygen's escape for %.

/// The process's administrator registry. It holds no state and caches
/// nothing: each answer comes from the platform's ZorvCommonDBUtility.
///
/// Threads: every call may run concurrently with every other, except that no
/// call may overlap Destroy() or follow it on an earlier pointer.
///
/// Exceptions: the library throws none of its own and catches none here.
/// What the platform's database or trace library throws passes to the
/// caller unchanged, as does std::bad_alloc.
class TEUserIDMgr {
public:
    /// The registry, created on first use. Calls no platform function.
    /// Exceptions: std::bad_alloc, with nothing created.
    /// @return the registry; null only when ACE's static object lock cannot
    /// be taken while none exists.
    QX_SYSEVENT_EXPORT static TEUserIDMgr* Instance();
    /// Deletes the registry; pointers that Instance() returned dangle after
    /// it. The next Instance() creates a new one. Throws nothing.
    QX_SYSEVENT_EXPORT static void Destroy();

    /// The administrator's user id (ZorvCommonDBUtility::GetAdminID()).
    /// Writes no trace record.
    /// Exceptions: those of ZorvCommonDBUtility::Instance() and GetAdminID().
    /// @return the id, sign-extended; 0 when the database is not available.
    QX_SYSEVENT_EXPORT long GetAdminUserID();
    /// Whether ZorvCommonDBUtility::isInAdmins() lists the user.
    /// User ids are 32-bit: the `unsigned long` is the width old callers were
    /// built with; only its low 32 bits are asked about. Writes one trace
    /// record either way, carrying the full 64-bit id:
    /// `call pZorv->isInAdmins return true, userid is %%d \n`, or the same
    /// with `return false`, which is also written when the database is not
    /// available (`%%d` is the id, `\n` a newline).
    /// Exceptions: those of ZorvCommonDBUtility::Instance(), isInAdmins()
    /// and of the trace library.
    /// @return true when the database lists the user; false when it does
    /// not, or is not available.
    QX_SYSEVENT_EXPORT bool IsAdminUserID(unsigned long userId);

    /// The registry while one exists, else null. Exported for binaries that
    /// read it directly; only Instance() and Destroy() write it.
    QX_SYSEVENT_EXPORT static TEUserIDMgr* m_pInstance;
};
