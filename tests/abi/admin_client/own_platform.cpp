#include "own_platform.h"

#include <algorithm>

#include "platform_trace_db.h"

namespace own_platform {
namespace {

Script g_script;
ZorvCommonDBUtility g_database;
std::vector<std::string> g_log;

std::string Value(const NSQX_util::QXString& value) {
    return value.isSigned() ? "int:" + std::to_string(static_cast<long>(value.bits()))
                            : "ulong:" + std::to_string(value.bits());
}

}  // namespace

void Reset(const Script& script) {
    g_script = script;
    g_log.clear();
}

const std::vector<std::string>& Log() { return g_log; }

}  // namespace own_platform

using own_platform::g_database;
using own_platform::g_log;
using own_platform::g_script;

namespace NSQX_util {

QXString::QXString(int value) : m_ulBits(static_cast<unsigned long>(value)), m_bSigned(true) {}
QXString::QXString(unsigned long value) : m_ulBits(value), m_bSigned(false) {}
bool QXString::isSigned() const { return m_bSigned; }
unsigned long QXString::bits() const { return m_ulBits; }

int QXTrace2Str(unsigned int level, std::string& out, const char* text) {
    out = text;
    g_log.push_back("format " + std::to_string(level) + " " + out);
    return 0;
}

int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1) {
    out = format;
    g_log.push_back("format " + std::to_string(level) + " " + format + " " +
                    own_platform::Value(v1));
    return 0;
}

int QXTrace2Str(unsigned int, std::string&, const std::string&, const QXString&, const QXString&) {
    g_log.emplace_back("unexpected two-value format");
    return 0;
}

int QXTrace2Str(unsigned int, std::string&, const std::string&, const QXString&, const QXString&,
                const QXString&) {
    g_log.emplace_back("unexpected three-value format");
    return 0;
}

int QXTrace2LogFile(const std::string& module, int type, const std::string& text) {
    g_log.push_back("write " + module + " " + std::to_string(type) + " " + text);
    return 0;
}

}  // namespace NSQX_util

ZorvCommonDBUtility* ZorvCommonDBUtility::Instance() {
    g_log.emplace_back(g_script.databaseAvailable ? "Instance non-null" : "Instance null");
    return g_script.databaseAvailable ? &g_database : nullptr;
}

int ZorvCommonDBUtility::GetAdminID() {
    g_log.push_back("GetAdminID " + std::to_string(g_script.adminId));
    return g_script.adminId;
}

bool ZorvCommonDBUtility::isInAdmins(unsigned int userId) {
    bool admin =
        std::find(g_script.admins.begin(), g_script.admins.end(), userId) != g_script.admins.end();
    g_log.push_back("isInAdmins " + std::to_string(userId) + (admin ? " true" : " false"));
    return admin;
}
