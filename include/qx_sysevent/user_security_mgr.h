// A user's security scope: administrator flag, names and managed NEs.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qx_sysevent/export.h"

// One object per user id. Only the administrator flag is kept; every other
// answer is asked of the management database at the call. Objects take no
// lock and may be queried from several threads, as long as no two calls
// share an output container.
//
// Result codes: 0 success; 0x42008125 the database delivered no user name;
// 0x42008126 an NE query failed with result 0; any other value is the failed
// query's own result (sign-extended). GetAllManagedNE(std::set&) alone
// returns the query's result as it is, 1 on success.
class CUserSecurityMgr {
public:
    // Asks the administrator registry once; the flag never changes after.
    QX_SYSEVENT_EXPORT CUserSecurityMgr(int userId);

    QX_SYSEVENT_EXPORT bool isContainsRoot();
    // `name` must hold at least 256 bytes: the database writes up to that
    // many, a NUL-terminated name on success. Nothing is written by the
    // library itself, not even on failure.
    QX_SYSEVENT_EXPORT long GetLoginName(char* name);
    // Looks up every id in order and stops at the first failure; names that
    // `names` already holds are kept, never overwritten.
    QX_SYSEVENT_EXPORT long GetAllUser(const std::vector<int>& userIds,
                                       std::map<int, std::string>& names);
    // True on a cloud node, or when the database names the NE as managed.
    // False for a failed query and for ids of 2^32 or more off a cloud node.
    QX_SYSEVENT_EXPORT bool isNeManaged(unsigned long neId) const;
    // Every NE the user manages. The vector is untouched by a failed query;
    // the set is emptied and takes whatever the failed query answered.
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::vector<unsigned long>& vecNE);
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::set<unsigned long>& setNE);
    // Which of the given NEs the user manages. On a cloud node every id
    // joins the output (lists in front, vectors at the end, sets by union).
    // Otherwise one query decides and replaces the output on success, leaving
    // it untouched on failure; ids of 2^32 or more are never asked about, and
    // when no id is left the output is emptied without a query.
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::list<unsigned long>& listNE,
                                         std::list<unsigned long>& listManagedNE);
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::vector<unsigned long>& vecManagedNE);
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::vector<unsigned long>& vecManagedNE);
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::set<unsigned long>& setNE,
                                         std::set<unsigned long>& setManagedNE);
    QX_SYSEVENT_EXPORT long GetManagedNE(const std::vector<unsigned long>& vecNE,
                                         std::set<unsigned long>& setManagedNE);

private:
    int m_nUserID;  // layout fixed: callers allocate these objects
    bool m_bContainsRoot;
};
