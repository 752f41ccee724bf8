// The library's interface as processes built long ago declared it: the pinned
// declarations, not this tree's headers. QX_PINNED_EXTRA adds a call that the
// library being replaced exported and this build does not.
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

class SvrEvent {
public:
    std::string m_strPrimaryKey;
    std::string m_strSecondaryKey;
    bool operator<(const SvrEvent& other) const;
};

class QXSysEventMgrIF {
public:
    static QXSysEventMgrIF* Instance();
    static void Destroy();
    int RegEventHandler(const SvrEvent& key, void (*handler)());
    int SubscribeEvent();
    int UnSubscribeEvent();
    static QXSysEventMgrIF* m_pInstance;
};

class TEUserIDMgr {
public:
    static TEUserIDMgr* Instance();
    static void Destroy();
    long GetAdminUserID();
    bool IsAdminUserID(unsigned long userId);
    static TEUserIDMgr* m_pInstance;
};

class CUserSecurityMgr {
public:
    CUserSecurityMgr(int userId);
    bool isContainsRoot();
    long GetLoginName(char* name);
    long GetAllUser(const std::vector<int>& userIds, std::map<int, std::string>& names);
    bool isNeManaged(unsigned long neId) const;
    long GetAllManagedNE(std::vector<unsigned long>& vecNE);
    long GetAllManagedNE(std::set<unsigned long>& setNE);
    long GetManagedNE(const std::list<unsigned long>& listNE,
                      std::list<unsigned long>& listManagedNE);
    long GetManagedNE(const std::vector<unsigned long>& vecNE,
                      std::vector<unsigned long>& vecManagedNE);
    long GetManagedNE(const std::set<unsigned long>& setNE,
                      std::vector<unsigned long>& vecManagedNE);
    long GetManagedNE(const std::set<unsigned long>& setNE, std::set<unsigned long>& setManagedNE);
    long GetManagedNE(const std::vector<unsigned long>& vecNE,
                      std::set<unsigned long>& setManagedNE);
#if defined(QX_PINNED_EXTRA)
    long GetManagedNE(const std::list<unsigned long>& listNE,
                      std::vector<unsigned long>& vecManagedNE);
#endif

private:
    int m_nUserID;
    bool m_bContainsRoot;
};

int RegMDPMsgOfProReLoad(int, int, int, long);
