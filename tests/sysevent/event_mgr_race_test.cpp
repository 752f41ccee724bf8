// Threads racing on the first QXSysEventMgrIF::Instance(): one facade, seen
// completely constructed by all of them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using qx_test::EventMgrTest;

constexpr int kThreads = 8;
constexpr int kRounds = 50;

TEST_F(EventMgrTest, RacingFirstInstanceCallsShareOneFacade) {
    for (int round = 0; round < kRounds; ++round) {
        std::atomic<int> waiting{kThreads};
        std::vector<QXSysEventMgrIF*> seen(kThreads, nullptr);
        std::vector<std::thread> threads;
        threads.reserve(kThreads);
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                waiting.fetch_sub(1);
                while (waiting.load() > 0) {
                    std::this_thread::yield();
                }
                seen[i] = QXSysEventMgrIF::Instance();
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        ASSERT_NE(seen[0], nullptr);
        for (QXSysEventMgrIF* facade : seen) {
            EXPECT_EQ(facade, seen[0]);
        }
        EXPECT_EQ(QXSysEventMgrIF::m_pInstance, seen[0]);
        QXSysEventMgrIF::Destroy();
    }
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, counts.unlocks);
}

}  // namespace
