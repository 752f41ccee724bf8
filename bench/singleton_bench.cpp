// Point 4: Instance() of the two singletons once created, against one lock
// and unlock of ACE's static object lock, from one and from two threads.
#include <ace/OS_NS_Thread.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <benchmark/benchmark.h>

#include "platform/qx_trace.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/sys_event_mgr.h"
#include "qx_sysevent/user_id_mgr.h"

namespace qx_bench {
namespace {

template <typename Singleton>
void FastPathInstance(benchmark::State& state) {
    if (Singleton::Instance() == nullptr) {
        state.SkipWithError("no instance");
        return;
    }
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(Singleton::Instance());
    }
}

// The lock already in hand: the cheapest way to lock and unlock it.
void StaticObjectLockAndUnlock(benchmark::State& state) {
    ACE_recursive_thread_mutex_t* lock = &ACE_Static_Object_Lock::instance()->lock();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        ACE_OS::mutex_lock(lock);
        ACE_OS::mutex_unlock(lock);
    }
}

// As a slow path takes it: asked of ACE, then locked and unlocked.
void StaticObjectLockAsTaken(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        ACE_recursive_thread_mutex_t* lock = &ACE_Static_Object_Lock::instance()->lock();
        ACE_OS::mutex_lock(lock);
        ACE_OS::mutex_unlock(lock);
    }
}

// The floor of any exported function: one trivial call into another shared
// library (the platform's), through its PLT entry.
void CrossLibraryCall(benchmark::State& state) {
    const NSQX_util::QXString value(1);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(value.isSigned());
    }
}

const bool kRegistered = [] {
    qx_standin::SetJournaling(false);
    benchmark::RegisterBenchmark("Instance/TEUserIDMgr", FastPathInstance<TEUserIDMgr>)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Instance/QXSysEventMgrIF", FastPathInstance<QXSysEventMgrIF>)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    benchmark::RegisterBenchmark("StaticObjectLock/LockUnlock", StaticObjectLockAndUnlock)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    benchmark::RegisterBenchmark("StaticObjectLock/InstanceLockUnlock", StaticObjectLockAsTaken)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    benchmark::RegisterBenchmark("CrossLibraryCall/Floor", CrossLibraryCall)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    return true;
}();

}  // namespace
}  // namespace qx_bench
