// The table every exported operation is proven by: one row names its setup,
// the call, and what the caller and the platform must see.
#pragma once

#include <functional>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "qx_sysevent/qx_sysevent.h"

namespace qx_test {

using Lines = std::vector<std::string>;
using Ids = std::vector<unsigned long>;

// What a caller holds, reset before every run.
struct World {
    std::optional<CUserSecurityMgr> mgr;
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    char buf[256];
};
extern World w;
extern int g_handlerCalls;  // the library stores handlers and never calls them
void CountingHandler();
// Leaves 0xA5 where the next call's frames will be: unwritten bytes show.
void DirtyStack();

struct Case {
    std::string name;             // letters, digits and underscores
    std::function<void()> setup;  // after the stand-in's Reset()
    std::function<long()> call;
    long result;
    Lines after;     // what the caller can see after the call, one item per element
    Lines seen;      // platform calls during the call, each trace record as "> text"
    long locks = 0;  // acquisitions of the static object lock
    bool lockFails = false;
    bool swallows = false;  // the operation catches every failure itself
};

// Seams between the library and what it calls (seams.cpp): ACE's static
// object lock and ACE_OS::printf, defined there in place of ACE's, and the
// global operator new. Locking the static object lock fails while `fail`.
void ResetStaticLock(bool fail = false);
struct LockCounts {
    long locks, unlocks;  // successful ones
};
LockCounts StaticLockCounts();
void FailNthAllocation(long n);  // the n-th allocation from now throws; 0 disarms
bool AllocationFailureStruck();
std::string Printed();  // since the last ClearPrinted()
void ClearPrinted();

std::vector<Case> SecurityCases();
std::vector<Case> NeFilterCases();
std::vector<Case> EventAndReloadCases();

}  // namespace qx_test
