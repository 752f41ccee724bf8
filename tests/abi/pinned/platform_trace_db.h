// The trace library, management database utility and node query as a
// platform of the client's own defines them: only the call shapes are fixed.
#pragma once

#include <list>
#include <set>
#include <string>

namespace NSQX_util {
class QXString {
public:
    QXString(int value);
    QXString(unsigned long value);
    bool isSigned() const;
    unsigned long bits() const;

private:
    unsigned long m_ulBits;
    bool m_bSigned;
};
int QXTrace2Str(unsigned int level, std::string& out, const char* text);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2);
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2, const QXString& v3);
int QXTrace2LogFile(const std::string& module, int type, const std::string& text);
}  // namespace NSQX_util

class ZorvCommonDBUtility {
public:
    static ZorvCommonDBUtility* Instance();
    int GetAdminID();
    static bool isInAdmins(unsigned int userId);
    static int ZorvGetUserName(unsigned int userId, char* name);
    static int ZorvGetMngDevice(unsigned int userId, const std::set<unsigned int>* filter,
                                std::list<unsigned int>* result, unsigned int, bool);
};

class ns_zorvsdk_wrap {
public:
    static bool IsCloudNode();
};
