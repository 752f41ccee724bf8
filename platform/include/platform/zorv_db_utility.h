// Management database utility of the platform. Declarations only.
#pragma once

#include <list>
#include <set>

class ZorvCommonDBUtility {
public:
    // Null when the database is not available.
    static ZorvCommonDBUtility* Instance();

    int GetAdminID();
    static bool isInAdmins(unsigned int userId);
    // 1 on success; the name buffer then holds a NUL-terminated name. Writes
    // at most 256 bytes into it.
    static int ZorvGetUserName(unsigned int userId, char* name);
    // 1 on success; result then holds the ids out of filter that the user
    // manages (all of them when filter is empty).
    static int ZorvGetMngDevice(unsigned int userId, const std::set<unsigned int>* filter,
                                std::list<unsigned int>* result, unsigned int, bool);
};
