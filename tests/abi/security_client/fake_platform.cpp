#include "fake_platform.h"

#include <algorithm>

#include "../pinned/platform_trace_db.h"

namespace fake {
namespace {

const std::string* g_lastFormatted = nullptr;

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out + "\"";
}

std::string Value(const NSQX_util::QXString& v) {
    return v.isSigned() ? std::to_string(static_cast<long>(v.bits())) : std::to_string(v.bits());
}

int Format(unsigned int level, std::string& out, const std::string& format,
           std::vector<const NSQX_util::QXString*> values) {
    std::string entry = "QXTrace2Str(" + std::to_string(level) + ", " + Quoted(format);
    out.clear();
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%d") == 0 && next < values.size()) {
            out += Value(*values[next++]);
            ++i;
        } else {
            out += format[i];
        }
    }
    for (const auto* v : values) {
        entry += std::string(", ") + (v->isSigned() ? "int " : "ulong ") + Value(*v);
    }
    State().journal.push_back(entry + ")");
    g_lastFormatted = &out;
    return 0;
}

template <typename Container>
std::string Ids(const Container& ids) {
    std::string out;
    for (unsigned int id : ids) {
        out += (out.empty() ? "" : ", ") + std::to_string(id);
    }
    return out;
}

}  // namespace

Platform& State() {
    static Platform platform;
    return platform;
}

void Reset() {
    State() = Platform{};
    g_lastFormatted = nullptr;
}

std::vector<std::string> PlatformCalls() {
    std::vector<std::string> out;
    for (const auto& entry : State().journal) {
        if (entry.rfind("QXTrace2", 0) != 0) {
            out.push_back(entry);
        }
    }
    return out;
}

}  // namespace fake

namespace NSQX_util {

QXString::QXString(int value) : m_ulBits(static_cast<unsigned long>(value)), m_bSigned(true) {}
QXString::QXString(unsigned long value) : m_ulBits(value), m_bSigned(false) {}
bool QXString::isSigned() const { return m_bSigned; }
unsigned long QXString::bits() const { return m_ulBits; }

int QXTrace2Str(unsigned int level, std::string& out, const char* text) {
    return fake::Format(level, out, text, {});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1) {
    return fake::Format(level, out, format, {&v1});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2) {
    return fake::Format(level, out, format, {&v1, &v2});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2, const QXString& v3) {
    return fake::Format(level, out, format, {&v1, &v2, &v3});
}

int QXTrace2LogFile(const std::string& module, int type, const std::string& text) {
    fake::Platform& p = fake::State();
    if (&text != fake::g_lastFormatted) {
        p.traceShapeBroken = true;
    }
    fake::g_lastFormatted = nullptr;
    p.journal.push_back("QXTrace2LogFile(" + fake::Quoted(module) + ", " + std::to_string(type) +
                        ", " + fake::Quoted(text) + ")");
    p.records.push_back(text);
    return 0;
}

}  // namespace NSQX_util

namespace {
ZorvCommonDBUtility g_database;
}

ZorvCommonDBUtility* ZorvCommonDBUtility::Instance() {
    fake::Platform& p = fake::State();
    p.journal.push_back(std::string("Instance() = ") + (p.databaseAvailable ? "db" : "null"));
    return p.databaseAvailable ? &g_database : nullptr;
}

int ZorvCommonDBUtility::GetAdminID() {
    fake::State().journal.emplace_back("GetAdminID()");
    return 1;
}

bool ZorvCommonDBUtility::isInAdmins(unsigned int userId) {
    fake::Platform& p = fake::State();
    const bool admin = p.admins.count(userId) != 0;
    p.journal.push_back("isInAdmins(" + std::to_string(userId) +
                        ") = " + (admin ? "true" : "false"));
    return admin;
}

int ZorvCommonDBUtility::ZorvGetUserName(unsigned int userId, char* name) {
    fake::Platform& p = fake::State();
    int result = 0;
    if (!p.nameAnswers.empty()) {
        result = p.nameAnswers.front().first;
        const std::string& bytes = p.nameAnswers.front().second;
        std::copy(bytes.begin(), bytes.end(), name);
        p.nameAnswers.pop_front();
    }
    p.journal.push_back("ZorvGetUserName(" + std::to_string(userId) +
                        ") = " + std::to_string(result));
    return result;
}

int ZorvCommonDBUtility::ZorvGetMngDevice(unsigned int userId, const std::set<unsigned int>* filter,
                                          std::list<unsigned int>* result, unsigned int arg4,
                                          bool arg5) {
    fake::Platform& p = fake::State();
    std::string entry = "ZorvGetMngDevice(" + std::to_string(userId) + ", " +
                        (filter ? "{" + fake::Ids(*filter) + "}" : std::string("null")) + ", " +
                        (result ? "[" + fake::Ids(*result) + "]" : std::string("null")) + ", " +
                        std::to_string(arg4) + ", " + (arg5 ? "true" : "false") + ")";
    int code = 1;
    if (!p.deviceAnswers.empty()) {
        code = p.deviceAnswers.front().first;
        if (result != nullptr) {
            result->insert(result->end(), p.deviceAnswers.front().second.begin(),
                           p.deviceAnswers.front().second.end());
        }
        p.deviceAnswers.pop_front();
    }
    p.journal.push_back(entry + " = " + std::to_string(code));
    return code;
}

bool ns_zorvsdk_wrap::IsCloudNode() {
    fake::Platform& p = fake::State();
    p.journal.push_back(std::string("IsCloudNode() = ") + (p.cloud ? "true" : "false"));
    return p.cloud;
}
