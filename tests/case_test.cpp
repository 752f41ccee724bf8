// Runs every row as it stands, then with each allocation failing and each
// platform call throwing in turn: the failure reaches the caller (unless the
// operation swallows it), the static object lock is released, the run stops
// at the failing call, each container is left as the headers promise, and
// nothing leaks (in the sanitizer build).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <new>
#include <type_traits>

#include "cases.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"

namespace qx_test {

World w;

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

namespace {

// Leaves 0xA5 where the call's frames will be: bytes it leaves unwritten show.
__attribute__((noinline)) void DirtyStack() {
    volatile unsigned char junk[4096];
    std::fill(std::begin(junk), std::end(junk), 0xA5);
}

// The row's call, its frames laid where DirtyStack() just wrote.
__attribute__((noinline)) long CallOnDirtyStack(const Case& c) {
    DirtyStack();
    return c.call();
}

Caller Snapshot() {
    return {.registry = TEUserIDMgr::m_pInstance != nullptr,
            .facade = QXSysEventMgrIF::m_pInstance != nullptr,
            .root = w.mgr && w.mgr->isContainsRoot(),
            .list = w.list,
            .vec = w.vec,
            .set = w.set,
            .names = w.names,
            .buf = w.buf[0] == 'x' ? "" : std::string(w.buf, strnlen(w.buf, 12)),
            .printed = Printed(),
            .responseAlive = qx_standin::ResponsesAlive() != 0};
}

// What a caller holds besides its containers, an item per flag or text.
Lines Items(const Caller& c) {
    Lines items;
    const auto flag = [&items](bool on, const std::string& item) {
        if (on) {
            items.push_back(item);
        }
    };
    flag(c.registry, "registry");
    flag(c.facade, "facade");
    flag(c.root, "root");
    flag(!c.buf.empty(), "buf " + c.buf);
    flag(!c.printed.empty(), "printed " + c.printed);
    flag(c.responseAlive, "response alive");
    return items;
}

// The caller's containers, each an element per item in its own order.
std::map<std::string, Lines> Containers(const Caller& c) {
    std::map<std::string, Lines> held;
    const auto ids = [](const auto& container) {
        Lines items;
        for (unsigned long id : container) {
            items.push_back(std::to_string(id));
        }
        return items;
    };
    held["list"] = ids(c.list);
    held["vec"] = ids(c.vec);
    held["set"] = ids(c.set);
    for (const auto& [id, name] : c.names) {
        held["names"].push_back(std::to_string(id) + "=" + name);
    }
    return held;
}

bool IsSubsequence(const Lines& part, const Lines& whole) {
    auto at = whole.begin();
    for (const std::string& item : part) {
        at = std::find(at, whole.end(), item);
        if (at == whole.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// What the headers promise of a container that a failure interrupted: a call
// that only adds to it keeps what it held and has added some of what it adds.
// A call that replaces it leaves it as it was or replaced whole; only an
// allocation failure after the database answered may leave it emptied and
// holding some of the new content, in order.
void ExpectInterruptedState(const Caller& before, const Caller& after, const Caller& seen,
                            bool partial) {
    const auto b = Containers(before);
    const auto a = Containers(after);
    for (const auto& [name, s] : Containers(seen)) {
        const bool adds = IsSubsequence(b.at(name), a.at(name));
        EXPECT_TRUE(adds ? IsSubsequence(b.at(name), s) && IsSubsequence(s, a.at(name))
                         : s == b.at(name) || s == a.at(name) ||
                               (partial && IsSubsequence(s, a.at(name))))
            << name << " holds " << ::testing::PrintToString(s) << ", was "
            << ::testing::PrintToString(b.at(name)) << ", would be "
            << ::testing::PrintToString(a.at(name));
    }
}

// The platform calls and trace records of the last run, in order.
Lines Platform() {
    Lines seen;
    const std::vector<qx_standin::TraceRecord> records = qx_standin::TraceRecords();
    std::size_t next = 0;
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        if (call.call == qx_standin::Call::TraceFormat) {
            EXPECT_EQ(call.args.at(0), 5120) << call.text;
        } else if (call.call == qx_standin::Call::TraceWrite) {
            const qx_standin::TraceRecord& record = records.at(next++);
            EXPECT_EQ(record.module, "qx_sysevent") << record.text;
            EXPECT_EQ(record.type, 1) << record.text;
            seen.push_back("> " + record.text);
        } else if (call.call != qx_standin::Call::TaoPoaInit) {
            seen.push_back(call.text);
        }
    }
    return seen;
}

void Prepare(const Case& c) {
    BeforeNextLock(nullptr);
    ResetStaticLock();
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    w = World{};
    std::memset(w.buf, 'x', sizeof w.buf);
    qx_standin::Reset();
    w.mgr.emplace(c.user);
    TEUserIDMgr::Destroy();
    c.setup();
    qx_standin::ClearJournal();
    ClearPrinted();
    ResetStaticLock(c.lockFails);
}

// One run of the row with a failure armed; `disarm` tells whether it struck.
// A failure that struck reaches the caller and leaves no stray state.
template <typename Failure>
bool RunFailing(const Case& c, const std::string& failure, const std::function<void()>& arm,
                const std::function<bool()>& disarm) {
    SCOPED_TRACE(failure);
    Prepare(c);
    const Caller before = Snapshot();
    bool threw = false;
    arm();
    try {
        CallOnDirtyStack(c);
    } catch (const Failure&) {
        threw = true;
    }
    const bool struck = disarm();
    EXPECT_EQ(StaticLocksTaken(), StaticLocksReleased());
    if (struck) {
        EXPECT_EQ(threw, !c.swallowsFailures);
        const Caller seen = Snapshot();
        const std::vector<qx_standin::CallRecord> calls = qx_standin::Journal();
        const bool answered = std::ranges::any_of(calls, [](const qx_standin::CallRecord& r) {
            return r.call == qx_standin::Call::GetMngDevice && !r.threw;
        });
        ExpectInterruptedState(before, c.caller, seen,
                               answered && std::is_same_v<Failure, std::bad_alloc>);
        const Lines was = Items(before);
        const Lines after = Items(c.caller);
        for (const std::string& item : Items(seen)) {  // nothing stray is left
            const bool known = std::ranges::count(was, item) + std::ranges::count(after, item) > 0;
            EXPECT_TRUE(known) << "left behind: " << item;
        }
    }
    return struck;
}

class Cases : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override { ResetStaticLock(); }
};

TEST_P(Cases, ResultStateCallsAndRecords) {
    const Case& c = GetParam();
    Prepare(c);
    EXPECT_EQ(CallOnDirtyStack(c), c.result);
    EXPECT_EQ(Items(Snapshot()), Items(c.caller));
    EXPECT_EQ(Containers(Snapshot()), Containers(c.caller));
    EXPECT_EQ(Platform(), c.platform);
    EXPECT_EQ(StaticLocksTaken(), StaticLocksReleased());
    if (c.lockNotTaken) {
        EXPECT_EQ(StaticLocksTaken(), 0);
    }
}

TEST_P(Cases, EveryAllocationFailingInTurn) {
    long n = 1;
    while (RunFailing<std::bad_alloc>(
        GetParam(), "allocation " + std::to_string(n), [n] { FailNthAllocation(n); },
        DisarmAllocationFailure)) {
        ++n;
    }
    // The run past the last allocation.
    EXPECT_EQ(Items(Snapshot()), Items(GetParam().caller));
    EXPECT_EQ(Containers(Snapshot()), Containers(GetParam().caller));
}

TEST_P(Cases, EveryPlatformCallThrowingInTurn) {
    const Case& c = GetParam();
    Prepare(c);
    CallOnDirtyStack(c);
    const std::vector<qx_standin::CallRecord> clean = qx_standin::Journal();
    std::map<qx_standin::Call, unsigned> earlier;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const qx_standin::Call call = clean[i].call;
        const unsigned skip = earlier[call]++;
        if (call == qx_standin::Call::ConsumerDestroy) {
            continue;  // never throws
        }
        RunFailing<qx_standin::InjectedFault>(
            c, "throwing: " + clean[i].text, [=] { qx_standin::InjectFault(call, skip); },
            [] {
                qx_standin::ClearFaults();
                return true;
            });
        const std::vector<qx_standin::CallRecord> run = qx_standin::Journal();
        ASSERT_GT(run.size(), i) << clean[i].text;
        EXPECT_TRUE(std::equal(clean.begin(), clean.begin() + i, run.begin(),
                               [](const auto& a, const auto& b) { return a.text == b.text; }))
            << clean[i].text;
        EXPECT_TRUE(run[i].threw) << clean[i].text;
        for (std::size_t k = i + 1; k < run.size() && !c.swallowsFailures; ++k) {
            EXPECT_EQ(run[k].call, qx_standin::Call::ConsumerDestroy) << run[k].text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Cases, ::testing::ValuesIn(TableRows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qx_test
