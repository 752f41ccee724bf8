// Runs every row as it stands, then with each allocation failing and each
// platform call throwing in turn: the failure reaches the caller (unless the
// operation swallows it), the static object lock is released, the run stops
// at the failing call, and nothing leaks (in the sanitizer build).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <new>

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

// What a caller holds, an item per element: a failed run may leave only
// items that were there before or belong there after.
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
    for (unsigned long id : c.list) {
        items.push_back("list " + std::to_string(id));
    }
    flag(!c.vec.empty(), "vec " + ::testing::PrintToString(c.vec));  // replaced whole: one item
    for (unsigned long id : c.set) {
        items.push_back("set " + std::to_string(id));
    }
    for (const auto& [id, name] : c.names) {
        items.push_back("name " + std::to_string(id) + "=" + name);
    }
    flag(!c.buf.empty(), "buf " + c.buf);
    flag(!c.printed.empty(), "printed " + c.printed);
    flag(c.responseAlive, "response alive");
    return items;
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
    const Lines before = Items(Snapshot());
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
        const Lines after = Items(c.caller);
        for (const std::string& item : Items(Snapshot())) {  // nothing stray is left
            const bool known =
                std::ranges::count(before, item) + std::ranges::count(after, item) > 0;
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
    EXPECT_EQ(Items(Snapshot()), Items(GetParam().caller));  // the run past the last allocation
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
