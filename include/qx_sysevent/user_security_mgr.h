// A user's security scope: administrator flag, names and managed NEs.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qx_sysevent/export.h"

class CUserSecurityMgr {
public:
    QX_SYSEVENT_EXPORT CUserSecurityMgr(int userId);

    QX_SYSEVENT_EXPORT bool isContainsRoot();
    QX_SYSEVENT_EXPORT long GetLoginName(char* name);
    QX_SYSEVENT_EXPORT long GetAllUser(const std::vector<int>& userIds,
                                       std::map<int, std::string>& names);
    QX_SYSEVENT_EXPORT bool isNeManaged(unsigned long neId) const;
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::vector<unsigned long>& vecNE);
    QX_SYSEVENT_EXPORT long GetAllManagedNE(std::set<unsigned long>& setNE);
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
