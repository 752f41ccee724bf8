#include "static_lock_seam.h"

#include <ace/OS_NS_Thread.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace {

using MutexFn = int (*)(ACE_mutex_t*);

std::atomic<ACE_mutex_t*> g_watched{nullptr};
std::atomic<bool> g_fail{false};
std::atomic<long> g_locks{0};
std::atomic<long> g_failedLocks{0};
std::atomic<long> g_unlocks{0};

MutexFn NextDefinition(const char* mangled) {
    void* fn = dlsym(RTLD_NEXT, mangled);
    if (fn == nullptr) {
        std::abort();  // ACE is linked into every test binary
    }
    return reinterpret_cast<MutexFn>(fn);
}

}  // namespace

// The watched mutex is only learnt from the controls below: asking ACE for it
// in here could re-enter while ACE initialises itself.
int ACE_OS::mutex_lock(ACE_mutex_t* m) {
    static const MutexFn next = NextDefinition("_ZN6ACE_OS10mutex_lockEP15pthread_mutex_t");
    if (m != nullptr && m == g_watched.load(std::memory_order_acquire)) {
        if (g_fail.load(std::memory_order_acquire)) {
            g_failedLocks.fetch_add(1, std::memory_order_relaxed);
            errno = EINVAL;
            return -1;
        }
        g_locks.fetch_add(1, std::memory_order_relaxed);
    }
    return next(m);
}

int ACE_OS::mutex_unlock(ACE_mutex_t* m) {
    static const MutexFn next = NextDefinition("_ZN6ACE_OS12mutex_unlockEP15pthread_mutex_t");
    if (m != nullptr && m == g_watched.load(std::memory_order_acquire)) {
        g_unlocks.fetch_add(1, std::memory_order_relaxed);
    }
    return next(m);
}

namespace qx_test {

void ResetStaticLockCounts() {
    g_watched.store(&ACE_Static_Object_Lock::instance()->lock(), std::memory_order_release);
    g_locks = 0;
    g_failedLocks = 0;
    g_unlocks = 0;
}

StaticLockCounts GetStaticLockCounts() {
    return StaticLockCounts{g_locks.load(), g_failedLocks.load(), g_unlocks.load()};
}

void FailStaticObjectLock(bool fail) {
    if (g_watched.load() == nullptr) {
        ResetStaticLockCounts();
    }
    g_fail.store(fail, std::memory_order_release);
}

}  // namespace qx_test
