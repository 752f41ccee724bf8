// Definitions of the platform calls that the event subsystem makes. Defined
// in the executable, they take the place of any other platform library.
#include "client_platform.h"

#include <ace/OS_NS_Thread.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>

#include "platform_events.h"
#include "platform_trace_db.h"

namespace {

std::vector<std::string> g_events;
std::string g_lastFormatted;
std::string g_throwOn;
int g_poaInits = 0;  // constant-initialised: counted before main

std::atomic<ACE_mutex_t*> g_staticLock{nullptr};
std::atomic<bool> g_failLock{false};
std::atomic<long> g_locks{0};
std::atomic<long> g_unlocks{0};

const char* Bool(bool value) { return value ? "true" : "false"; }

int Format(unsigned int level, std::string& out, const std::string& text) {
    if (level != 5120) {
        g_events.push_back("BAD level " + std::to_string(level));
    }
    // Numbered, so the write must pass on exactly this string.
    out = "#" + std::to_string(g_events.size()) + " " + text;
    g_lastFormatted = out;
    return 0;
}

}  // namespace

namespace events_client {

std::vector<std::string> Events() { return g_events; }

void ClearEvents() { g_events.clear(); }

int PoaInitCalls() { return g_poaInits; }

void FailStaticObjectLock(bool fail) {
    g_staticLock.store(&ACE_Static_Object_Lock::instance()->lock());
    g_failLock.store(fail);
}

long StaticLockLocks() { return g_locks.load(); }

long StaticLockUnlocks() { return g_unlocks.load(); }

void ThrowOnRecord(const std::string& text) { g_throwOn = text; }

}  // namespace events_client

int ACE_OS::mutex_lock(ACE_mutex_t* m) {
    if (m == g_staticLock.load()) {
        if (g_failLock.load()) {
            errno = EINVAL;
            return -1;
        }
        ++g_locks;
    }
    const int error = pthread_mutex_lock(m);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return 0;
}

int ACE_OS::mutex_unlock(ACE_mutex_t* m) {
    if (m == g_staticLock.load()) {
        ++g_unlocks;
    }
    const int error = pthread_mutex_unlock(m);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return 0;
}

int TAO_POA_Initializer::init() { return ++g_poaInits; }

namespace NSQX_util {

QXString::QXString(int value) : m_ulBits(static_cast<unsigned long>(value)), m_bSigned(true) {}
QXString::QXString(unsigned long value) : m_ulBits(value), m_bSigned(false) {}
bool QXString::isSigned() const { return m_bSigned; }
unsigned long QXString::bits() const { return m_ulBits; }

int QXTrace2Str(unsigned int level, std::string& out, const char* text) {
    return Format(level, out, text);
}

// The event subsystem writes no record with values.
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString&) {
    g_events.push_back("BAD value record " + format);
    return Format(level, out, format);
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString&,
                const QXString&) {
    g_events.push_back("BAD value record " + format);
    return Format(level, out, format);
}
int QXTrace2Str(unsigned int level, std::string& out, const std::string& format, const QXString&,
                const QXString&, const QXString&) {
    g_events.push_back("BAD value record " + format);
    return Format(level, out, format);
}

int QXTrace2LogFile(const std::string& module, int type, const std::string& text) {
    if (module != "qx_sysevent" || type != 1 || text != g_lastFormatted) {
        g_events.push_back("BAD write " + module + " " + std::to_string(type) + " " + text);
    }
    g_lastFormatted.clear();
    const std::string record = text.substr(text.find(' ') + 1);
    if (!g_throwOn.empty() && record == g_throwOn) {
        g_throwOn.clear();
        throw std::runtime_error("trace write failed");
    }
    g_events.push_back(record);
    return 0;
}

}  // namespace NSQX_util

namespace ZORVem {

EventConsumerProxy::EventConsumerProxy(EventClientType clientType, bool flag, ConnectionMode mode) {
    g_events.push_back("base(" + std::to_string(clientType) + ", " + Bool(flag) + ", " +
                       std::to_string(mode) + ")");
}
EventConsumerProxy::~EventConsumerProxy() { g_events.emplace_back("~base"); }
int EventConsumerProxy::svc() { return 0; }
int EventConsumerProxy::subscribe(EventFilter&) { return 0; }
int EventConsumerProxy::subscribe(const char*, ZORVcommon::StringSeq&, const char*) { return 0; }
void EventConsumerProxy::PushEvent(const ZORVcommon::StringSeq&) {}
void EventConsumerProxy::onConnectionBroken() {}
int EventConsumerProxy::asynSubscribe(EventFilter&) { return 0; }
int EventConsumerProxy::asynSubscribe(const char*, ZORVcommon::StringSeq&, const char*) {
    return 0;
}
void EventConsumerProxy::reStartCallback() {}
void EventConsumerProxy::PushEventForJson(const Json::Value&) {}
int EventConsumerProxy::unsubscribe() {
    g_events.emplace_back("unsubscribe");
    return 0;
}

}  // namespace ZORVem
