// Threads race the first Instance() of each singleton, share one manager, and
// script the stand-in and read its journal while others call the library (under
// ThreadSanitizer too): each singleton is made once, each scripted answer used once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <latch>
#include <numeric>
#include <thread>
#include <vector>

#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using namespace qx_standin;
using Ids = std::vector<unsigned long>;

TEST(Concurrency, SingletonsMadeOnceAndEachScriptedAnswerUsedOnce) {
    constexpr int kThreads = 8;
    constexpr int kPerThread = 5;                   // refusals each thread queues, and faults
    constexpr int kQueued = kThreads * kPerThread;  // refusals 1..40
    constexpr int kCalls = 2 * kQueued;             // reloads made, and managers
    for (int round = 0; round < 20; ++round) {
        Reset();  // a send with nothing queued is accepted: 0
        CUserSecurityMgr bob(defaults::kBob);
        TEUserIDMgr::Destroy();  // each round starts with no singleton
        std::vector<int> answers(kCalls);
        std::atomic<int> faults = 0;
        const auto callLibrary = [&](int i) {  // a reload and a new manager
            answers[i] = RegMDPMsgOfProReLoad(i, round, 0, 0);
            try {
                const CUserSecurityMgr alice(defaults::kAlice);
            } catch (const InjectedFault&) {
                ++faults;
            }
        };
        std::latch start(kThreads);
        std::latch created(kThreads);
        const auto thread = [&](int t) {
            start.arrive_and_wait();
            TEUserIDMgr* const registry = TEUserIDMgr::Instance();
            QXSysEventMgrIF* const facade = QXSysEventMgrIF::Instance();
            EXPECT_EQ(facade->SubscribeEvent(), 1);  // the consumer's creation
            created.arrive_and_wait();
            EXPECT_EQ(registry, TEUserIDMgr::m_pInstance);
            EXPECT_EQ(facade, QXSysEventMgrIF::m_pInstance);
            Ids managed;
            EXPECT_EQ(bob.GetManagedNE(Ids{1001, 1002, 1003, 1004}, managed), 0);
            EXPECT_EQ(managed, (Ids{1002, 1004}));
            for (int i = t * kPerThread; i < (t + 1) * kPerThread; ++i) {
                QueueSendResponse(9, i + 1);
                InjectFault(Call::IsInAdmins);
                const std::size_t platformCalls = PlatformCalls().size();
                EXPECT_LE(platformCalls, JournalTexts().size());  // read later, it holds more
                callLibrary(i);
            }
        };
        {
            std::array<std::jthread, kThreads> threads;
            for (int t = 0; t < kThreads; ++t) {
                threads.at(t) = std::jthread(thread, t);
            }
        }
        for (int i = kQueued; i < kCalls; ++i) {
            callLibrary(i);  // uses up whatever the threads left
        }
        EXPECT_EQ(CountCalls(Call::ConsumerCreate), 1u);
        std::ranges::sort(answers);
        std::vector<int> expected(kCalls, 0);
        std::iota(expected.begin() + kQueued, expected.end(), 1);
        EXPECT_EQ(answers, expected);
        EXPECT_EQ(faults, kQueued);
        EXPECT_EQ(ResponsesHandedOut(), unsigned{kCalls});
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
    }
}

}  // namespace
