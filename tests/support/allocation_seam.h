// Test seam on allocation: the support library replaces the global operator
// new of the test executable, so the library's and the standard containers'
// allocations can be made to fail one at a time, and counted.
#pragma once

namespace qx_test {

// The n-th allocation from now (1 = the next one) throws std::bad_alloc;
// allocations after it succeed again. 0 disarms.
void FailNthAllocation(long n);
// Whether the armed failure has struck since it was armed.
bool AllocationFailureStruck();
// Allocations made since the last reset, on any thread.
long AllocationCount();
void ResetAllocationCount();

// Called with every block the executable's operator delete frees, just before
// it is freed; null stops it. Must neither allocate nor throw.
using ReleaseObserver = void (*)(void*);
void SetReleaseObserver(ReleaseObserver observer);

class ScopedNthAllocationFailure {
public:
    explicit ScopedNthAllocationFailure(long n) { FailNthAllocation(n); }
    ~ScopedNthAllocationFailure() { FailNthAllocation(0); }
    ScopedNthAllocationFailure(const ScopedNthAllocationFailure&) = delete;
    ScopedNthAllocationFailure& operator=(const ScopedNthAllocationFailure&) = delete;
};

}  // namespace qx_test
