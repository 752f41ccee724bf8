/// @file
/// A user's security scope: administrator flag, names and managed NEs.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qx_sysevent/export.h"

/// One user's security scope, one object per user id. Only the administrator
/// flag is kept; every other answer is asked of the platform's
/// ZorvCommonDBUtility at the call, and each query is traced.
///
/// User ids are the database's 32-bit ids, `int` here as old callers were
/// built; TEUserIDMgr::IsAdminUserID() takes the same id sign-extended.
/// An NE (network element) id is an `unsigned long`, but the database keeps
/// 32 bits: ids of 2^32 or more are never asked about.
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
/// query's result as it is, 1 on success.
class CUserSecurityMgr {
public:
    /// Asks TEUserIDMgr::IsAdminUserID() once; the flag never changes after.
    QX_SYSEVENT_EXPORT CUserSecurityMgr(int userId);

    /// Whether the user is an administrator, as asked at construction.
    QX_SYSEVENT_EXPORT bool isContainsRoot();
    /// The user's login name (ZorvCommonDBUtility::ZorvGetUserName()).
    /// `name` must hold at least 256 bytes: the database writes up to that
    /// many, a NUL-terminated name on success. Nothing is written by the
    /// library itself, not even on failure.
    /// @return 0, or qx_sysevent::kUserNameNotDelivered.
    QX_SYSEVENT_EXPORT long GetLoginName(char* name);
    /// Adds the name of each id in `userIds` to `names`, in order; entries
    /// already there are kept, never overwritten.
    /// @return 0, or qx_sysevent::kUserNameNotDelivered at the first id
    /// without a name, the ids before it added.
    QX_SYSEVENT_EXPORT long GetAllUser(const std::vector<int>& userIds,
                                       std::map<int, std::string>& names);
    /// True on a cloud node, or when the database names the NE as managed
    /// (ZorvCommonDBUtility::ZorvGetMngDevice()). False for a failed query
    /// and for ids of 2^32 or more off a cloud node.
    QX_SYSEVENT_EXPORT bool isNeManaged(unsigned long neId) const;
    /// Every NE the user manages, in one query; on success `vecNE` holds
    /// exactly those. A failed query leaves it untouched.
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::vector<unsigned long>& vecNE);
    /// As the vector form, but `setNE` is replaced even after a failed query,
    /// by whatever it answered, and the result is the query's own (1 on
    /// success).
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::set<unsigned long>& setNE);
    /// Which NEs of `listNE` the user manages, in one query. On a cloud node
    /// every input id joins the output: lists in front, vectors at the end,
    /// sets by union. Otherwise the query's answer replaces the output on
    /// success and leaves it untouched on failure; ids of 2^32 or more are
    /// never asked about, and when no id is left the output is emptied
    /// without a query. The other four forms do the same for their
    /// containers.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::list<unsigned long>& listNE,
                                         std::list<unsigned long>& listManagedNE);
    /// The vector-to-vector form of GetManagedNE().
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::vector<unsigned long>& vecManagedNE);
    /// The set-to-vector form of GetManagedNE().
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::vector<unsigned long>& vecManagedNE);
    /// The set-to-set form of GetManagedNE().
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::set<unsigned long>& setManagedNE);
    /// The vector-to-set form of GetManagedNE().
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::set<unsigned long>& setManagedNE);

private:
    int m_nUserID;  // layout fixed: callers allocate these objects
    bool m_bContainsRoot;
};
