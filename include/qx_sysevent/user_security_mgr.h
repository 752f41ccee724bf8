/// @file
/// A user's security scope: administrator flag, names and managed NEs.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qx_sysevent/export.h"

// In quoted trace texts below, %% is Doxygen's escape for %.

/// One user's security scope, one object per user id. Only the administrator
/// flag is kept; every other answer is asked of the platform's
/// ZorvCommonDBUtility at the call, and each query is traced.
///
/// User ids are the database's 32-bit ids, `int` here as old callers were
/// built; TEUserIDMgr::IsAdminUserID() takes the same id sign-extended.
/// An NE (network element) id is an `unsigned long`, but the database keeps
/// 32 bits: ids of 2^32 or more are never asked about.
///
/// Cloud-node rule: on a cloud node (ns_zorvsdk_wrap::IsCloudNode(), asked at
/// each call) every user manages every NE, so isNeManaged() and
/// GetManagedNE() answer without a query; GetAllManagedNE() always asks.
///
/// Threads: objects take no lock and may be queried from several threads at
/// once, as long as no two calls share an output container. The constructor
/// asks TEUserIDMgr, so it must not overlap TEUserIDMgr::Destroy().
///
/// Result codes: 0 success, qx_sysevent::kUserNameNotDelivered,
/// qx_sysevent::kDatabaseQueryFailedWithoutCode, or a failed query's own
/// result (sign-extended). GetAllManagedNE(std::set&) alone returns the
/// query's result as it is: 1 on success, and 0 for a failure the database
/// reports as 0.
///
/// Exceptions: the library throws none of its own and catches none here.
/// What the platform throws (the database utility, the cloud-node query, the
/// trace library) passes to the caller unchanged, as does std::bad_alloc.
/// Every platform call of an NE query comes before its output is changed, so
/// a platform exception leaves the output as it was, except where a call says
/// otherwise. std::bad_alloc leaves it as it was when it strikes before the
/// database answered, and otherwise emptied and holding some of the answered
/// ids, in the answer's order (a vector: none of them). On a cloud node the
/// output keeps what it held, with some of the input ids joined.
///
/// Trace texts are quoted as the library passes them: `%%d` is filled in with
/// the value, `\n` stands for a newline (most texts end in a blank and one).
/// The records around a query begin `Call ZorvCommonDBUtility::ZorvGetMngDevice `,
/// written `...` below: `...,userid = %%d,` and what the call asks about
/// before the query, `...,retCode = %%d, userid = %%d,` and what it counts
/// after it.
class CUserSecurityMgr {
public:
    /// Asks TEUserIDMgr::IsAdminUserID() once (one trace record); the flag
    /// never changes after.
    /// Exceptions: those of TEUserIDMgr::Instance() and IsAdminUserID(); no
    /// object is then made.
    QX_SYSEVENT_EXPORT CUserSecurityMgr(int userId);

    /// Whether the user is an administrator, as asked at construction. Calls
    /// no platform function and throws nothing.
    /// @return the flag.
    QX_SYSEVENT_EXPORT bool isContainsRoot();
    /// The user's login name (ZorvCommonDBUtility::ZorvGetUserName()).
    /// `name` must hold at least 256 bytes: the database writes up to that
    /// many, a NUL-terminated name on success. Nothing is written by the
    /// library itself, not even on failure.
    /// Trace record on failure: `ZorvGetUserName is failed!`.
    /// Exceptions: those of ZorvGetUserName() and of the trace library.
    /// @return 0, or qx_sysevent::kUserNameNotDelivered when the database
    /// answers anything but success (1).
    QX_SYSEVENT_EXPORT long GetLoginName(char* name);
    /// Adds the name of each id in `userIds` to `names`, in order; entries
    /// already there are kept, never overwritten. Names end at 255 bytes.
    /// Trace record on failure: `ZorvGetUserName failed!`.
    /// Exceptions: those of ZorvGetUserName() and of the trace library, and
    /// std::bad_alloc; `names` keeps the names added before.
    /// @return 0, or qx_sysevent::kUserNameNotDelivered at the first id
    /// without a name, the ids before it added.
    QX_SYSEVENT_EXPORT long GetAllUser(const std::vector<int>& userIds,
                                       std::map<int, std::string>& names);
    /// Whether the user manages the NE: on a cloud node without a query,
    /// otherwise by one query (ZorvCommonDBUtility::ZorvGetMngDevice())
    /// filtered to `neId`.
    /// Trace records: `...,userid = %%d,neId = %%d \n` before the query,
    /// `...,lstDeviceOut.size() = %%d \n` after it, and `ZorvService error!`
    /// when it failed.
    /// Exceptions: those of IsCloudNode(), ZorvGetMngDevice() and of the
    /// trace library, and std::bad_alloc.
    /// @return true on a cloud node, or when the query succeeds with at
    /// least one NE in its answer; false for a failed query and, off a cloud
    /// node, for ids of 2^32 or more.
    QX_SYSEVENT_EXPORT bool isNeManaged(unsigned long neId) const;
    /// Every NE the user manages, in one query; on success `vecNE` holds
    /// exactly those. A failed query leaves it untouched.
    /// Trace records: `...,GetAllManagedNE \n` before the query,
    /// `...,vecNE.size() = %%d \n` after it; then
    /// `ZorvService error! retcode = %%d\n` when it failed, or
    /// `Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = %%d \n`
    /// when it found none.
    /// Exceptions: those of ZorvGetMngDevice() and of the trace library, and
    /// std::bad_alloc. The record "get 0 ne" comes after `vecNE` was
    /// emptied.
    /// @return 0 on success; a failed query's own result (sign-extended), or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode for a failure the
    /// database reports as 0.
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::vector<unsigned long>& vecNE);
    /// As the vector form, but `setNE` is replaced even after a failed query,
    /// by whatever it answered, and no `ZorvService error!` record is
    /// written. The records name `setNE.size()`; "get 0 ne" follows whenever
    /// the set ends empty.
    /// Exceptions: as the vector form; "get 0 ne" comes after `setNE` was
    /// emptied.
    /// @return the query's own result, sign-extended: 1 on success. Unlike
    /// every other call, 0 is not success here: it is a failure that the
    /// database reports as 0, returned as it is.
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::set<unsigned long>& setNE);
    /// Which NEs of `listNE` the user manages, in one query. On a cloud node
    /// every input id joins the output: lists in front, vectors at the end,
    /// sets by union. Otherwise the query's answer replaces the output on
    /// success and leaves it untouched on failure; ids of 2^32 or more are
    /// never asked about, and when no id is left the output is emptied
    /// without a query. The answer is the database's, passed on as it is: an
    /// id it answers that was not asked about is passed on too.
    /// The other four forms do the same for their containers.
    /// Trace records, only when a query is made: `...,listNE.size() = %%d \n`
    /// before it (the input's kind: `listNE`, `vecNE` or `setNE`; the count is
    /// of the distinct ids asked about),
    /// `...,listManagedNE.size() = %%d \n` after it (the output's kind:
    /// `listManagedNE`, `vecManagedNE` or `setManagedNE`), and
    /// `ZorvService error!` when it failed.
    /// Exceptions: those of IsCloudNode(), ZorvGetMngDevice() and of the
    /// trace library, with the output untouched; std::bad_alloc.
    /// @return 0 on success, on a cloud node and when no id is left to ask
    /// about; a failed query's own result (sign-extended), or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode for a failure the
    /// database reports as 0.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::list<unsigned long>& listNE,
                                         std::list<unsigned long>& listManagedNE);
    /// The vector-to-vector form of GetManagedNE(); records `vecNE` and
    /// `vecManagedNE`.
    /// Exceptions: as the list form, with the output untouched.
    /// @return as the list form: 0, a failed query's own result, or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::vector<unsigned long>& vecManagedNE);
    /// The set-to-vector form of GetManagedNE(); records `setNE` and
    /// `vecManagedNE`.
    /// Exceptions: as the list form, with the output untouched.
    /// @return as the list form: 0, a failed query's own result, or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::vector<unsigned long>& vecManagedNE);
    /// The set-to-set form of GetManagedNE(); records `setNE` and
    /// `setManagedNE`.
    /// Exceptions: as the list form, with the output untouched.
    /// @return as the list form: 0, a failed query's own result, or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::set<unsigned long>& setManagedNE);
    /// The vector-to-set form of GetManagedNE(); records `vecNE` and
    /// `setManagedNE`.
    /// Exceptions: as the list form, with the output untouched.
    /// @return as the list form: 0, a failed query's own result, or
    /// qx_sysevent::kDatabaseQueryFailedWithoutCode.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::set<unsigned long>& setManagedNE);

private:
    int m_nUserID;  // layout fixed: callers allocate these objects
    bool m_bContainsRoot;
};
