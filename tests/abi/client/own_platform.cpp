#include "own_platform.h"

#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <initializer_list>
#include <list>
#include <stdexcept>

#include "platform_app_mgr.h"
#include "platform_events.h"
#include "platform_trace_db.h"

namespace {

int g_poaInits = 0;  // constant-initialised: counted while the library loads
std::atomic<const void*> g_response{nullptr};
ZorvCommonDBUtility g_database;
ZorvAppMgr g_appMgr;

std::string Text(bool value) { return value ? "true" : "false"; }
std::string Text(int value) { return std::to_string(value); }

template <typename T>
T Noted(const std::string& call, T answer) {
    own::P().journal.push_back(call + " = " + Text(answer));
    return answer;
}

int Note(const std::string& entry) {
    own::P().journal.push_back(entry);
    return 0;
}

template <typename Ids>
std::string Joined(const char* open, const Ids* ids, const char* close) {
    if (ids == nullptr) {
        return "null";
    }
    std::string out;
    for (unsigned int id : *ids) {
        out += (out.empty() ? "" : ", ") + std::to_string(id);
    }
    return open + out + close;
}

int Format(unsigned int level, std::string& out, const std::string& format,
           std::initializer_list<const NSQX_util::QXString*> values) {
    own::Platform& p = own::P();
    if (level != 5120) {
        p.faults.push_back("level " + std::to_string(level) + ": " + format);
    }
    std::string entry = format;
    out.clear();
    const auto* next = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%d") == 0 && next != values.end()) {
            const NSQX_util::QXString& v = **next++;
            const std::string text = v.isSigned() ? std::to_string(static_cast<long>(v.bits()))
                                                  : std::to_string(v.bits());
            out += text;
            entry += (v.isSigned() ? " | int " : " | ulong ") + text;
            ++i;
        } else {
            out += format[i];
        }
    }
    p.formats.push_back(entry);
    p.formattedAt = &out;
    p.formatted = out;
    return 0;
}

}  // namespace

namespace own {

Platform& P() {
    static Platform& platform = *new Platform;  // never destroyed: the library may call at exit
    return platform;
}
void Reset() {
    P() = Platform{};
    P().staticLock = &ACE_Static_Object_Lock::instance()->lock();
    g_response = nullptr;
}
void ClearJournal() {
    P().journal.clear();
    P().formats.clear();
}
int PoaInits() { return g_poaInits; }
bool ResponseOutstanding() { return g_response.load() != nullptr; }

}  // namespace own

namespace NSQX_util {

QXString::QXString(int value) : m_ulBits(static_cast<unsigned long>(value)), m_bSigned(true) {}
QXString::QXString(unsigned long value) : m_ulBits(value), m_bSigned(false) {}
bool QXString::isSigned() const { return m_bSigned; }
unsigned long QXString::bits() const { return m_ulBits; }

int QXTrace2Str(unsigned int level, std::string& out, const char* text) {
    return Format(level, out, text, {});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format,
                const QXString& v1) {
    return Format(level, out, format, {&v1});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2) {
    return Format(level, out, format, {&v1, &v2});
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString& v1,
                const QXString& v2, const QXString& v3) {
    return Format(level, out, format, {&v1, &v2, &v3});
}

int QXTrace2LogFile(const std::string& module, int type, const std::string& text) {
    own::Platform& p = own::P();
    if (module != "qx_sysevent" || type != 1 || &text != p.formattedAt || text != p.formatted) {
        p.faults.push_back("write " + module + " " + std::to_string(type) + ": " + text);
    }
    p.formattedAt = nullptr;
    if (!p.throwOnRecord.empty() && text == p.throwOnRecord) {
        p.throwOnRecord.clear();
        throw std::runtime_error("trace write failed");
    }
    return Note(text);
}

}  // namespace NSQX_util

ZorvCommonDBUtility* ZorvCommonDBUtility::Instance() {
    Note(own::P().databaseAvailable ? "Instance() = db" : "Instance() = null");
    return own::P().databaseAvailable ? &g_database : nullptr;
}
int ZorvCommonDBUtility::GetAdminID() { return Noted("GetAdminID()", own::P().adminId); }
bool ZorvCommonDBUtility::isInAdmins(unsigned int userId) {
    return Noted("isInAdmins(" + std::to_string(userId) + ")", own::P().admins.count(userId) != 0);
}

int ZorvCommonDBUtility::ZorvGetUserName(unsigned int userId, char* name) {
    auto& answers = own::P().names;
    int answer = 0;
    if (!answers.empty()) {
        answer = answers.front().first;
        answers.front().second.copy(name, answers.front().second.size());
        answers.pop_front();
    }
    return Noted("ZorvGetUserName(" + std::to_string(userId) + ")", answer);
}

int ZorvCommonDBUtility::ZorvGetMngDevice(unsigned int userId, const std::set<unsigned int>* filter,
                                          std::list<unsigned int>* result, unsigned int arg4,
                                          bool arg5) {
    const std::string call = "ZorvGetMngDevice(" + std::to_string(userId) + ", " +
                             Joined("{", filter, "}") + ", " + Joined("[", result, "]") + ", " +
                             std::to_string(arg4) + ", " + Text(arg5) + ")";
    auto& answers = own::P().devices;
    int answer = 1;
    if (!answers.empty()) {
        answer = answers.front().first;
        if (result != nullptr) {
            result->insert(result->end(), answers.front().second.begin(),
                           answers.front().second.end());
        }
        answers.pop_front();
    }
    return Noted(call, answer);
}

bool ns_zorvsdk_wrap::IsCloudNode() { return Noted("IsCloudNode()", own::P().cloud); }

ZorvAppMgr* ZorvAppMgr::Instance() { return &g_appMgr; }

int ZorvAppMgr::ZorvSendRegReqMsgToMDP(unsigned char kind, RegReqFrame* request,
                                       RespToRegFrame*& response, int param) {
    std::string call = "ZorvSendRegReqMsgToMDP(" + std::to_string(kind) + ",";
    for (std::size_t i = 0; i < sizeof request->bytes; ++i) {
        const char* digits = "0123456789abcdef";
        call += std::string(i % 4 == 0 ? " " : "") + digits[request->bytes[i] >> 4] +
                digits[request->bytes[i] & 15];
    }
    call += std::string(response ? ", set, " : ", null, ") + std::to_string(param) + ")";
    const own::Platform& p = own::P();
    if (p.respond) {
        response = new RespToRegFrame{p.echo, p.result};
        g_response = response;
    }
    return Noted(call, p.sendResult);
}

namespace ZORVem {

EventConsumerProxy::EventConsumerProxy(EventClientType clientType, bool flag, ConnectionMode mode) {
    Note("base(" + Text(clientType) + ", " + Text(flag) + ", " + Text(mode) + ")");
}
EventConsumerProxy::~EventConsumerProxy() { Note("~base"); }
int EventConsumerProxy::svc() { return Note("svc"); }
int EventConsumerProxy::subscribe(EventFilter&) { return Note("subscribe"); }
int EventConsumerProxy::subscribe(const char*, ZORVcommon::StringSeq&, const char*) {
    return Note("subscribe");
}
void EventConsumerProxy::PushEvent(const ZORVcommon::StringSeq&) { Note("PushEvent"); }
void EventConsumerProxy::onConnectionBroken() { Note("onConnectionBroken"); }
int EventConsumerProxy::asynSubscribe(EventFilter&) { return Note("asynSubscribe"); }
int EventConsumerProxy::asynSubscribe(const char*, ZORVcommon::StringSeq&, const char*) {
    return Note("asynSubscribe");
}
void EventConsumerProxy::reStartCallback() { Note("reStartCallback"); }
void EventConsumerProxy::PushEventForJson(const Json::Value&) { Note("PushEventForJson"); }
int EventConsumerProxy::unsubscribe() { return Note("unsubscribe"); }

}  // namespace ZORVem

int TAO_POA_Initializer::init() { return ++g_poaInits; }

// Only the library calls these (ACE's own calls are inline), from one thread.
int ACE_OS::mutex_lock(ACE_mutex_t* m) {
    own::Platform& p = own::P();
    if (m == p.staticLock && p.failStaticLock) {
        return -1;
    }
    p.staticLocks += m == p.staticLock ? 1 : 0;
    return pthread_mutex_lock(m) == 0 ? 0 : -1;
}
int ACE_OS::mutex_unlock(ACE_mutex_t* m) {
    own::P().staticUnlocks += m == own::P().staticLock ? 1 : 0;
    return pthread_mutex_unlock(m) == 0 ? 0 : -1;
}

// Replaced to see the library delete each response handed out above; the
// block goes on to the definition replaced.
template <typename... Size>
void Release(const char* next, void* block, Size... size) noexcept {
    const void* watched = block;
    g_response.compare_exchange_strong(watched, nullptr);
    static const auto replaced = reinterpret_cast<void (*)(void*, Size...)>(dlsym(RTLD_NEXT, next));
    replaced(block, size...);
}
// NOLINTBEGIN(cert-dcl54-cpp,misc-new-delete-overloads): allocation stays as it was
void operator delete(void* block) noexcept { Release("_ZdlPv", block); }
void operator delete(void* block, std::size_t size) noexcept { Release("_ZdlPvm", block, size); }
// NOLINTEND(cert-dcl54-cpp,misc-new-delete-overloads)
