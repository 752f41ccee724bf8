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
#include <type_traits>

#include "cases.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "sysevent/sys_event_consumer.h"

// The layout and signatures callers were compiled against long ago.
static_assert(sizeof(CUserSecurityMgr) == 8 && alignof(CUserSecurityMgr) == 4);
static_assert(std::is_empty_v<QXSysEventMgrIF>);
static_assert(sizeof(SvrEvent) == 2 * sizeof(std::string));
static_assert(std::is_same_v<decltype(&TEUserIDMgr::GetAdminUserID), long (TEUserIDMgr::*)()>);
static_assert(
    std::is_same_v<decltype(&CUserSecurityMgr::GetLoginName), long (CUserSecurityMgr::*)(char*)>);
static_assert(std::is_same_v<decltype(&RegMDPMsgOfProReLoad), int (*)(int, int, int, long)>);

namespace qx_test {

World w;
int g_handlerCalls = 0;
void CountingHandler() { ++g_handlerCalls; }

__attribute__((noinline)) void DirtyStack() {
    volatile unsigned char junk[4096];
    std::fill(std::begin(junk), std::end(junk), 0xA5);
}

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

namespace {

template <typename Ids>
void AddEach(Lines& items, const char* kind, const Ids& ids) {
    for (unsigned long id : ids) {
        items.push_back(kind + std::to_string(id));
    }
}

// Singletons, the world, printed text, responses not yet released: one item
// per element, so that a failed run can be checked to leave nothing that was
// neither there before nor belongs there after.
Lines Render() {
    Lines items;
    auto add = [&items](bool on, const std::string& item) {
        items.insert(items.end(), on ? 1 : 0, item);
    };
    add(TEUserIDMgr::m_pInstance != nullptr, "registry");
    add(QXSysEventMgrIF::m_pInstance != nullptr, "facade");
    add(w.mgr && w.mgr->isContainsRoot(), "root");
    AddEach(items, "list ", w.list);
    std::string vec = "vec";  // one item: a vector output is replaced whole
    for (unsigned long id : w.vec) {
        vec += " " + std::to_string(id);
    }
    add(!w.vec.empty(), vec);
    AddEach(items, "set ", w.set);
    for (const auto& [id, name] : w.names) {
        items.push_back("name " + std::to_string(id) + "=" + name);
    }
    add(w.buf[0] != 'x', "buf " + std::string(w.buf, strnlen(w.buf, 12)));
    add(!Printed().empty(), "printed " + Printed());
    add(qx_standin::ResponsesAlive() != 0, "responses alive");
    add(g_handlerCalls != 0, "handler called");
    return items;
}

Lines Seen() {
    Lines seen;
    const std::vector<qx_standin::TraceRecord> records = qx_standin::TraceRecords();
    std::size_t next = 0;
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        if (call.call == qx_standin::Call::TraceFormat) {
            seen.insert(seen.end(), call.args.at(0) != 5120 ? 1 : 0, "level " + call.text);
        } else if (call.call == qx_standin::Call::TraceWrite) {
            const qx_standin::TraceRecord& r = records.at(next++);
            seen.push_back((r.module == "qx_sysevent" && r.type == 1 ? "> " : "?> ") + r.text);
        } else if (call.call != qx_standin::Call::TaoPoaInit) {
            seen.push_back(call.text);
        }
    }
    return seen;
}

void Prepare(const Case& c) {
    ResetStaticLock();
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    QXSysEventConsumer::Destroy();  // the tests' own, flagged by some rows
    TEUserIDMgr::Destroy();
    w = World{};
    std::memset(w.buf, 'x', sizeof w.buf);
    g_handlerCalls = 0;
    qx_standin::Reset();
    c.setup();
    qx_standin::ClearJournal();
    ClearPrinted();
    ResetStaticLock(c.lockFails);
}

// Every item left by a failed run was there before or belongs there after.
void ExpectNoStrayState(const Lines& before, const Case& c) {
    for (const std::string& item : Render()) {
        const bool known = std::count(before.begin(), before.end(), item) != 0 ||
                           std::count(c.after.begin(), c.after.end(), item) != 0;
        EXPECT_TRUE(known) << "left behind: " << item;
    }
}

// One run of the row with a failure armed; `disarm` tells whether it struck.
// A failure that struck reaches the caller and leaves no stray state.
template <typename Failure>
bool RunFailing(const Case& c, const std::string& failure, const std::function<void()>& arm,
                const std::function<bool()>& disarm) {
    SCOPED_TRACE(failure);
    Prepare(c);
    const Lines before = Render();
    bool threw = false;
    arm();
    try {
        c.call();
    } catch (const Failure&) {
        threw = true;
    }
    const bool struck = disarm();
    EXPECT_EQ(StaticLockCounts().locks, StaticLockCounts().unlocks);
    if (struck) {
        EXPECT_EQ(threw, !c.swallows);
        ExpectNoStrayState(before, c);
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
    EXPECT_EQ(c.call(), c.result);
    EXPECT_EQ(Render(), c.after);
    EXPECT_EQ(Seen(), c.seen);
    EXPECT_EQ(StaticLockCounts().locks, c.locks);
    EXPECT_EQ(StaticLockCounts().locks, StaticLockCounts().unlocks);
}

TEST_P(Cases, EveryAllocationFailingInTurn) {
    long n = 1;
    while (RunFailing<std::bad_alloc>(
        GetParam(), "allocation " + std::to_string(n), [n] { FailNthAllocation(n); },
        [] {
            const bool struck = AllocationFailureStruck();
            FailNthAllocation(0);
            return struck;
        })) {
        ++n;
    }
    EXPECT_EQ(Render(), GetParam().after);  // the run past the last allocation
}

TEST_P(Cases, EveryPlatformCallThrowingInTurn) {
    const Case& c = GetParam();
    Prepare(c);
    c.call();
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
            [] { return qx_standin::ClearFaults(), true; });
        const std::vector<qx_standin::CallRecord> run = qx_standin::Journal();
        ASSERT_GT(run.size(), i);
        EXPECT_TRUE(std::equal(clean.begin(), clean.begin() + i, run.begin(),
                               [](const auto& a, const auto& b) { return a.text == b.text; }));
        EXPECT_TRUE(run[i].threw) << clean[i].text;
        for (std::size_t k = i + 1; k < run.size() && !c.swallows; ++k) {
            EXPECT_EQ(run[k].call, qx_standin::Call::ConsumerDestroy) << run[k].text;
        }
    }
}

std::vector<Case> AllCases() {
    std::vector<Case> all;
    for (auto part : {SecurityCases, NeFilterCases, EventAndReloadCases}) {
        std::vector<Case> cases = part();
        all.insert(all.end(), cases.begin(), cases.end());
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, Cases, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qx_test
