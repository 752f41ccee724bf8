// Seams the test executables put between libqx_sysevent and what it calls:
// ACE's static object lock and ACE_OS::printf (defined here, they take the
// place of ACE's) and the global operator new/delete.
#pragma once

#include <string>

namespace qx_test {

struct LockCounts {
    long locks = 0;  // successful locks of the static object lock
    long unlocks = 0;
};
// Zeroes the counts; while `fail` is set, locking the static object lock
// returns -1.
void ResetStaticLock(bool fail = false);
LockCounts StaticLockCounts();

// The n-th allocation from now throws std::bad_alloc (0 disarms); tells
// whether it has struck since.
void FailNthAllocation(long n);
bool AllocationFailureStruck();

// What the library printed through ACE_OS::printf since the last clear.
std::string Printed();
void ClearPrinted();

}  // namespace qx_test
