// Threads racing on the first Instance() get one object, and the questions
// may be asked from any number of threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"
#include "standin_fixture.h"

namespace {

constexpr int kThreads = 8;

class AdminRegistryRaceTest : public qx_test::StandinTest {
protected:
    void SetUp() override {
        TEUserIDMgr::Destroy();
        StandinTest::SetUp();
    }
    void TearDown() override { TEUserIDMgr::Destroy(); }
};

TEST_F(AdminRegistryRaceTest, RacingFirstInstanceCallsShareOneObject) {
    for (int round = 0; round < 50; ++round) {
        TEUserIDMgr::Destroy();
        std::atomic<int> ready{0};
        std::vector<TEUserIDMgr*> seen(kThreads, nullptr);
        std::vector<std::thread> threads;
        threads.reserve(kThreads);
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                ready.fetch_add(1);
                while (ready.load() < kThreads) {
                }
                seen[t] = TEUserIDMgr::Instance();
            });
        }
        for (auto& thread : threads) {
            thread.join();
        }
        EXPECT_NE(seen[0], nullptr);
        EXPECT_EQ(std::set<TEUserIDMgr*>(seen.begin(), seen.end()).size(), 1U);
        EXPECT_EQ(seen[0], TEUserIDMgr::m_pInstance);
    }
}

TEST_F(AdminRegistryRaceTest, ConcurrentChecksEachWriteTheirRecord) {
    constexpr int kChecks = 200;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    std::atomic<int> wrong{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kChecks; ++i) {
                const unsigned long user = (t % 2 == 0) ? 1UL : 42UL;
                if (TEUserIDMgr::Instance()->IsAdminUserID(user) != (user == 1UL)) {
                    wrong.fetch_add(1);
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(qx_standin::TraceTexts().size(), static_cast<std::size_t>(kThreads * kChecks));
}

}  // namespace
