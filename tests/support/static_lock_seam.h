// Test seam on ACE's static object lock. The support library defines
// ACE_OS::mutex_lock and ACE_OS::mutex_unlock in the test executable, where
// they take the place of ACE's for libqx_sysevent; calls on any other mutex
// go on to ACE unchanged.
#pragma once

namespace qx_test {

struct StaticLockCounts {
    long locks = 0;        // successful ACE_OS::mutex_lock calls
    long failedLocks = 0;  // calls made to fail
    long unlocks = 0;
};

// Starts watching the static object lock (again) with zeroed counts.
void ResetStaticLockCounts();
StaticLockCounts GetStaticLockCounts();
// While set, ACE_OS::mutex_lock on the static object lock returns -1.
void FailStaticObjectLock(bool fail);

// Fails the static object lock for the life of the object.
class ScopedStaticLockFailure {
public:
    ScopedStaticLockFailure() { FailStaticObjectLock(true); }
    ~ScopedStaticLockFailure() { FailStaticObjectLock(false); }
    ScopedStaticLockFailure(const ScopedStaticLockFailure&) = delete;
    ScopedStaticLockFailure& operator=(const ScopedStaticLockFailure&) = delete;
};

}  // namespace qx_test
