// The table every exported operation is proven by. A row names what is set
// up, what is called, and what the caller and the platform see afterwards. A
// field it leaves out keeps its default in `Case` below (user 42, all else
// empty, false or 0), and a default is checked like any value: a row without
// `.result` expects 0 (false); without `.caller`, w's containers empty, its
// buffer unwritten, nothing printed and no registry, facade or reload response
// left; without `.platform`, no platform call and no record. For example:
//   {.name = "LoginNameOnlyResultOneCounts",
//    .user = -2,  // w.mgr is CUserSecurityMgr(-2) when the call starts
//    .setup = [] { QueueUserNameAnswer(2, "junk"); },
//    .call = [] { return w.mgr->GetLoginName(w.buf); },
//    .result = 0x42008125,
//    .caller = {.buf = "junkxxxxxxxx"},
//    .platform = {R"(ZorvGetUserName(4294967294) = 2 "junk")", "> ZorvGetUserName is failed!"}}
// `platform` lists every platform call and trace record of the call, in order.
// A platform call reads as the stand-in renders it (qx_standin/standin.h):
// arguments, result, then what it handed back. Above, the database was asked
// for the name of user 4294967294 (-2 in 32 bits), answered 2 and wrote the 4
// bytes "junk", no NUL; `ZorvGetMngDevice(42, {1001}, [], 0, false) = 1 [1001]`
// asked for user 42 about the filter set {1001} with an empty result list, and
// got 1 and the list [1001]. A trace record is its text after "> "; its module,
// type and level are checked for every record. Each row also runs with each
// allocation failing and each platform call throwing in turn (case_test.cpp).
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

// What a caller holds, reset before every run; rows call the library on it.
struct World {
    std::optional<CUserSecurityMgr> mgr;
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    char buf[256];  // filled with 'x' before every run
};
extern World w;

// What a caller can see after the call.
struct Caller {
    bool registry = false;               // TEUserIDMgr::m_pInstance is set
    bool facade = false;                 // QXSysEventMgrIF::m_pInstance is set
    bool root = false;                   // w.mgr exists and isContainsRoot()
    std::list<unsigned long> list{};     // w.list
    Ids vec{};                           // w.vec
    std::set<unsigned long> set{};       // w.set
    std::map<int, std::string> names{};  // w.names
    // w.buf up to its first NUL, at most 12 bytes; empty while its first
    // byte is still 'x', so "junkxxxxxxxx" means 4 bytes were written.
    std::string buf{};
    std::string printed{};       // written to standard output
    bool responseAlive = false;  // a reload response handed out and not released
};

// The operation of a row, returning its result; a bool reads as 0 or 1.
using Call = std::function<long()>;
// An operation that returns nothing reads as 0.
inline Call NoResult(void (*operation)()) {
    return [operation] {
        operation();
        return 0L;
    };
}

struct Case {
    std::string name;  // letters, digits and underscores
    // w.mgr is made for this user before `setup`; the registry that making it
    // creates is destroyed again, so `caller.registry` shows only the call's.
    int user = 42;
    std::function<void()> setup = [] {};  // after the stand-in's Reset()
    bool lockFails = false;               // ACE's static object lock cannot be taken
    Call call;
    long result = 0;
    Caller caller{};
    Lines platform{};
    bool lockNotTaken = false;      // nor taken at all (every row checks it is released as taken)
    bool swallowsFailures = false;  // the operation catches every failure itself
};

// Seams (seams.cpp) in place of ACE's static object lock and ACE_OS::printf,
// and of the global operator new.
void ResetStaticLock(bool fail = false);
long StaticLocksTaken();  // successful acquisitions since ResetStaticLock()
long StaticLocksReleased();
// `publish` runs once, the next time the static object lock is about to be
// taken: as if another thread had got there first.
void BeforeNextLock(std::function<void()> publish);
void FailNthAllocation(long n);  // the n-th allocation from now throws
bool DisarmAllocationFailure();  // whether the armed one struck
std::string Printed();           // since the last ClearPrinted()
void ClearPrinted();

std::vector<Case> TableRows();  // cases.cpp

}  // namespace qx_test
