// Seams (seams.cpp) in place of ACE's static object lock and ACE_OS::printf,
// and of the global operator new, for the tests built with them.
#pragma once

#include <functional>
#include <string>

namespace qx_test {

// Counts start again; `fail`: ACE's static object lock cannot be taken.
void ResetStaticLock(bool fail = false);
void SetStaticLockFails(bool fail);  // from now on, counts kept
long StaticLocksTaken();             // successful acquisitions since ResetStaticLock()
long StaticLocksReleased();
// `publish` runs once, the next time the static object lock is about to be
// taken: as if another thread had got there first.
void BeforeNextLock(std::function<void()> publish);
void FailNthAllocation(long n);  // the n-th allocation from now throws
bool DisarmAllocationFailure();  // whether the armed one struck
// Leaves 0xA5 where the frames of a call made next will be: bytes the call
// leaves unwritten show.
void DirtyStack();
std::string Printed();  // since the last ClearPrinted()
void ClearPrinted();

}  // namespace qx_test
