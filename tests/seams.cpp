#include "seams.h"

#include <ace/OS_NS_Thread.h>
#include <ace/OS_NS_stdio.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <new>
#include <utility>

#include "qx_standin/app_mgr.h"

namespace {

std::atomic<ACE_mutex_t*> g_watched{nullptr};
std::atomic<bool> g_fail{false};
std::atomic<long> g_locks{0};
std::atomic<long> g_unlocks{0};
std::atomic<long> g_countdown{0};
std::atomic<bool> g_struck{false};
std::function<void()> g_beforeNextLock;  // set and run by one thread
char g_printed[512];
std::size_t g_printedLength = 0;

using MutexFn = int (*)(ACE_mutex_t*);
MutexFn Next(const char* mangled) { return reinterpret_cast<MutexFn>(dlsym(RTLD_NEXT, mangled)); }

bool Watched(ACE_mutex_t* m) { return m != nullptr && m == g_watched.load(); }

void* Allocate(std::size_t size) {
    if (g_countdown > 0 && --g_countdown == 0) {
        g_struck = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

// Every block freed is reported to the stand-in, which thereby knows whether
// each registration response it handed out was released exactly once.
void Release(void* p) noexcept {
    qx_standin::NoteResponseReleased(p);
    std::free(p);
}

}  // namespace

int ACE_OS::mutex_lock(ACE_mutex_t* m) {
    static const MutexFn next = Next("_ZN6ACE_OS10mutex_lockEP15pthread_mutex_t");
    if (!Watched(m)) {
        return next(m);
    }
    if (g_beforeNextLock) {
        std::exchange(g_beforeNextLock, nullptr)();
    }
    if (g_fail) {
        errno = EINVAL;
        return -1;
    }
    ++g_locks;
    return next(m);
}

int ACE_OS::mutex_unlock(ACE_mutex_t* m) {
    static const MutexFn next = Next("_ZN6ACE_OS12mutex_unlockEP15pthread_mutex_t");
    g_unlocks += Watched(m) ? 1 : 0;
    return next(m);
}

// A fixed buffer: printing must not allocate while allocations are failing.
// Only one thread prints.
int ACE_OS::printf(const char* format, ...) {  // NOLINT(cert-dcl50-cpp): ACE's own signature
    va_list args{};
    va_start(args, format);
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): va_start above starts it
    const int n = std::vsnprintf(g_printed + g_printedLength, sizeof g_printed - g_printedLength,
                                 format, args);
    va_end(args);
    g_printedLength = std::min(sizeof g_printed - 1, g_printedLength + (n > 0 ? n : 0));
    return n;
}

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
// Only ACE asks for these; they never fail, but must pair with the deletes.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n + 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n + 1); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace qx_test {

// The watched mutex is learnt here, not in the lock functions: asking ACE for
// it there could re-enter ACE while it initialises itself.
void ResetStaticLock(bool fail) {
    g_watched = &ACE_Static_Object_Lock::instance()->lock();
    g_fail = fail;
    g_locks = 0;
    g_unlocks = 0;
}

void SetStaticLockFails(bool fail) { g_fail = fail; }

void BeforeNextLock(std::function<void()> publish) { g_beforeNextLock = std::move(publish); }

long StaticLocksTaken() { return g_locks; }

long StaticLocksReleased() { return g_unlocks; }

void FailNthAllocation(long n) { g_countdown = n; }

bool DisarmAllocationFailure() {
    g_countdown = 0;
    return g_struck.exchange(false);
}

__attribute__((noinline)) void DirtyStack() {
    volatile unsigned char junk[4096];
    std::fill(std::begin(junk), std::end(junk), 0xA5);
}

std::string Printed() { return {g_printed, g_printedLength}; }

void ClearPrinted() { g_printedLength = 0; }

}  // namespace qx_test
