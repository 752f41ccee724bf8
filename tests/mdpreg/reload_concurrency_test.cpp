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

int Occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

class ReloadConcurrencyTest : public qx_test::StandinTest {};

TEST_F(ReloadConcurrencyTest, ParallelCallsEachGetOneAnswerAndReleaseIt) {
    constexpr int kThreads = 4;  // one per kind of answer
    constexpr int kEach = 100;   // answers of each kind; which thread gets which is the scheduler's
    for (int i = 0; i < kEach; ++i) {
        qx_standin::QueueSendResponse(9, 0);
        qx_standin::QueueSendResponse(9, 4);
        qx_standin::QueueSendResponse(5, 0);
        qx_standin::QueueSendWithoutResponse(0);
    }
    (void)std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    std::vector<std::map<int, int>> results(kThreads);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &results] {
            for (int i = 0; i < kEach; ++i) {
                ++results[t][RegMDPMsgOfProReLoad(t, i, 3, 4)];
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    (void)std::fflush(stdout);
    const std::string printed = ::testing::internal::GetCapturedStdout();

    std::map<int, int> counts;
    for (const std::map<int, int>& perThread : results) {
        for (const auto& [result, count] : perThread) {
            counts[result] += count;
        }
    }
    EXPECT_EQ(counts, (std::map<int, int>{{-1, 2 * kEach}, {0, kEach}, {4, kEach}}));
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::SendRegReq), 4U * kEach);
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 3U * kEach);
    EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
    EXPECT_EQ(Occurrences(printed, "RegMDPMsgOfProReLoad failed! result = "), 2 * kEach);
    EXPECT_EQ(Occurrences(printed, "RegMDPMsgOfProReLoad return false!"), kEach);
}

}  // namespace
