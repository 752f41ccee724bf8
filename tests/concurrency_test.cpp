// One test for each promise the headers make about threads, run under
// ThreadSanitizer too. Each checks the answers every thread got, not only
// that the run was free of races; each is bounded in rounds, never in time.
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <latch>
#include <numeric>
#include <thread>
#include <vector>

#include "platform/zorv_app_mgr.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using namespace qx_standin;
using Ids = std::vector<unsigned long>;
constexpr int kThreads = 8;

// Runs body(t) on kThreads threads released together.
template <typename Body>
void RaceThreads(Body body) {
    std::latch start(kThreads);
    std::array<std::jthread, kThreads> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.at(t) = std::jthread([&, t] {
            start.arrive_and_wait();
            body(t);
        });
    }
}

// Whether another thread can take ACE's static object lock now.
bool StaticLockFree() {
    bool taken = false;
    std::jthread([&taken] {
        ACE_Recursive_Thread_Mutex* lock = ACE_Static_Object_Lock::instance();
        taken = lock->tryacquire() == 0;
        if (taken) {
            lock->release();
        }
    }).join();
    return taken;
}

// user_security_mgr.h: objects may be queried from several threads at once,
// each call with outputs of its own; one manager shared, and several.
TEST(Concurrency, ManagersQueriedTogetherAnswerEachThreadAlone) {
    Reset();
    CUserSecurityMgr bob(defaults::kBob);
    std::vector<CUserSecurityMgr> own{CUserSecurityMgr(defaults::kAlice),
                                      CUserSecurityMgr(defaults::kCarol)};
    for (int round = 0; round < 20; ++round) {
        RaceThreads([&](int t) {
            CUserSecurityMgr& other = own[t % 2];
            const bool alice = t % 2 == 0;
            char name[256];
            EXPECT_EQ(other.GetLoginName(name), 0);
            EXPECT_STREQ(name, alice ? "alice" : "carol");
            std::map<int, std::string> names{{t, "kept"}};
            EXPECT_EQ(bob.GetAllUser({1, 43, 100, t}, names), t == 1 ? 0 : 0x42008125);
            EXPECT_EQ(names.at(43), "bob");
            EXPECT_EQ(names.at(t), "kept");
            EXPECT_EQ(bob.isNeManaged(1002 + 2 * t), true);
            EXPECT_EQ(other.isNeManaged(1001 + t), alice);
            Ids vec{7};
            EXPECT_EQ(bob.GetManagedNE(Ids{1001, 1002, 1004, 4294967296 + 1002}, vec), 0);
            EXPECT_EQ(vec, (Ids{1002, 1004}));
            std::set<unsigned long> set{7};
            EXPECT_EQ(other.GetAllManagedNE(set), 1);
            EXPECT_EQ(set.size(), alice ? 101U : 0U);
            EXPECT_EQ(other.GetAllManagedNE(vec), 0);
            EXPECT_EQ(vec.size(), alice ? 101U : 0U);
        });
    }
}

// user_id_mgr.h: every registry call may run with every other but Destroy();
// the first Instance() calls race, and every thread gets the one registry.
TEST(Concurrency, RegistryCallsRunTogether) {
    for (int round = 0; round < 20; ++round) {
        Reset();
        TEUserIDMgr::Destroy();
        std::array<TEUserIDMgr*, kThreads> seen{};
        RaceThreads([&](int t) {
            seen.at(t) = TEUserIDMgr::Instance();
            EXPECT_EQ(seen.at(t)->GetAdminUserID(), defaults::kAdminId);
            EXPECT_EQ(seen.at(t)->IsAdminUserID(t), t == 1);
            EXPECT_EQ(CUserSecurityMgr(t).isContainsRoot(), t == 1);
        });
        EXPECT_TRUE(
            std::ranges::all_of(seen, [](auto* r) { return r == TEUserIDMgr::m_pInstance; }));
        EXPECT_EQ(CountCalls(Call::IsInAdmins), 2U * kThreads);
    }
    TEUserIDMgr::Destroy();
    EXPECT_TRUE(StaticLockFree());
}

// sys_event_mgr.h: Instance() and Destroy() serialise on the static object
// lock, Destroy() against Destroy() too. Every facade destroyed destroys the
// one consumer it made, and the lock is free afterwards.
TEST(Concurrency, FacadeInstanceAndDestroySerialise) {
    for (int round = 0; round < 20; ++round) {
        Reset();
        QXSysEventMgrIF::Destroy();
        QXSysEventMgrIF::Instance();
        ClearJournal();
        std::atomic<int> nonNull = 0;
        RaceThreads([&](int t) {
            if (t % 2 == 0) {
                QXSysEventMgrIF::Destroy();
            } else {
                nonNull += QXSysEventMgrIF::Instance() != nullptr ? 1 : 0;
            }
        });
        EXPECT_EQ(nonNull, kThreads / 2);
        const std::size_t made = CountCalls(Call::ConsumerCreate);
        EXPECT_GE(made, 1U);  // the facade there at the start
        EXPECT_LE(made, std::size_t{kThreads / 2});
        EXPECT_EQ(CountCalls(Call::ConsumerDestroy), made);
        const std::vector<std::string> texts = TraceTexts();
        EXPECT_EQ(std::ranges::count(texts, "SYSEvent::SYSEvent"), long(made));
        EXPECT_EQ(std::ranges::count(texts, "SYSEvent::~SYSEven"), long(made));
        EXPECT_TRUE(StaticLockFree());
        QXSysEventMgrIF::Destroy();
        EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    }
}

// standin.h: every control is thread-safe. Threads script answers and
// faults and read the journal while others call the library: each scripted
// answer and each fault is used exactly once.
TEST(Concurrency, StandinScriptedWhileTheLibraryRuns) {
    constexpr int kPerThread = 5;
    constexpr int kQueued = kThreads * kPerThread;
    for (int round = 0; round < 10; ++round) {
        Reset();
        const CUserSecurityMgr alice(defaults::kAlice);
        std::vector<int> refusals(kQueued);
        std::vector<long> queried(kQueued);
        std::atomic<int> faults = 0;
        RaceThreads([&](int t) {
            CUserSecurityMgr user = alice;
            for (int i = t * kPerThread; i < (t + 1) * kPerThread; ++i) {
                QueueSendResponse(9, i + 1);
                QueueMngDeviceAnswer(-i - 1, {});
                InjectFault(Call::IsInAdmins);
                const std::size_t platformCalls = PlatformCalls().size();
                const std::size_t sends = CountCalls(Call::SendRegReq);
                const std::size_t traces = TraceTexts().size();
                EXPECT_LE(platformCalls, JournalTexts().size());  // read later, each holds more
                EXPECT_LE(sends, CountCalls(Call::SendRegReq));
                EXPECT_LE(traces, TraceRecords().size());
                refusals[i] = RegMDPMsgOfProReLoad(i, round, 0, 0);
                Ids out{5};
                queried[i] = user.GetManagedNE(Ids{1001}, out);
                EXPECT_EQ(out, Ids{5});
                try {
                    const CUserSecurityMgr made(defaults::kAlice);
                } catch (const InjectedFault&) {
                    ++faults;
                }
            }
        });
        std::ranges::sort(refusals);
        std::ranges::sort(queried, std::greater<>());
        std::vector<int> expected(kQueued);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(refusals, expected);
        for (int i = 0; i < kQueued; ++i) {
            EXPECT_EQ(queried[i], -i - 1);
        }
        EXPECT_EQ(faults, kQueued);
        EXPECT_EQ(ResponsesHandedOut(), std::size_t{kQueued});
    }
}

// app_mgr.h: the response accounting is thread-safe. Every response handed
// out is released once, from whichever thread, and only once.
TEST(Concurrency, ResponsesAccountedAcrossThreads) {
    constexpr int kPerThread = 50;
    Reset();
    std::atomic<int> doubles = 0;
    RaceThreads([&](int) {
        for (int i = 0; i < kPerThread; ++i) {
            RegReqFrame request{};
            RespToRegFrame* response = nullptr;
            ASSERT_EQ(ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, &request, response, 60),
                      1);
            EXPECT_TRUE(NoteResponseReleased(response));
            doubles += NoteResponseReleased(response) ? 1 : 0;
            delete response;
        }
    });
    EXPECT_EQ(doubles, 0);
    EXPECT_EQ(ResponsesHandedOut(), std::size_t{kThreads} * kPerThread);
    EXPECT_EQ(ResponsesAlive(), 0U);
}

}  // namespace
