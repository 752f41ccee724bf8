// Concurrent reload registrations share nothing but the application manager.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"
#include "standin_fixture.h"

namespace {

class ReloadConcurrencyTest : public qx_test::StandinTest {
protected:
    static int Occurrences(const std::string& text, const std::string& needle) {
        int count = 0;
        for (auto at = text.find(needle); at != std::string::npos;
             at = text.find(needle, at + needle.size())) {
            ++count;
        }
        return count;
    }
};

TEST_F(ReloadConcurrencyTest, ParallelCallsEachGetOneAnswerAndReleaseIt) {
    constexpr int kThreads = 4;
    constexpr int kCallsPerThread = 100;
    // A quarter of the answers of each kind: accepted, refused, mismatched,
    // not delivered. Which thread gets which is up to the scheduler.
    for (int i = 0; i < kThreads * kCallsPerThread / 4; ++i) {
        qx_standin::QueueSendResponse(9, 0);
        qx_standin::QueueSendResponse(9, 4);
        qx_standin::QueueSendResponse(5, 0);
        qx_standin::QueueSendWithoutResponse(0);
    }

    (void)std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    std::vector<std::vector<int>> results(kThreads);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &results] {
            for (int i = 0; i < kCallsPerThread; ++i) {
                results[t].push_back(RegMDPMsgOfProReLoad(t, i, 3, 4));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    (void)std::fflush(stdout);
    const std::string printed = ::testing::internal::GetCapturedStdout();

    std::map<int, int> counts;
    for (const std::vector<int>& perThread : results) {
        for (int result : perThread) {
            ++counts[result];
        }
    }
    constexpr int kEach = kThreads * kCallsPerThread / 4;
    EXPECT_EQ(counts, (std::map<int, int>{{-1, 2 * kEach}, {0, kEach}, {4, kEach}}));
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::SendRegReq),
              static_cast<std::size_t>(kThreads * kCallsPerThread));
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), static_cast<std::size_t>(3 * kEach));
    EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
    EXPECT_EQ(Occurrences(printed, "RegMDPMsgOfProReLoad failed! result = "), 2 * kEach);
    EXPECT_EQ(Occurrences(printed, "RegMDPMsgOfProReLoad return false!"), kEach);
}

}  // namespace
