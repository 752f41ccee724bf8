// The stand-in accepts concurrent calls and loses no record.
#include <gtest/gtest.h>

#include <list>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/qx_trace.h"
#include "platform/zorv_db_utility.h"
#include "qx_standin/standin.h"
#include "standin_fixture.h"

namespace {

class StandinRaceTest : public qx_test::StandinTest {};

TEST_F(StandinRaceTest, ConcurrentTraceAndQueriesKeepEveryRecord) {
    constexpr int kThreads = 8;
    constexpr int kCalls = 250;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kCalls; ++i) {
                std::string out;
                NSQX_util::QXTrace2Str(5120, out, std::string("t%d i%d"), NSQX_util::QXString(t),
                                       NSQX_util::QXString(i));
                NSQX_util::QXTrace2LogFile("qx_sysevent", 1, out);
                std::set<unsigned int> filter{1001, 1002};
                std::list<unsigned int> result;
                ZorvCommonDBUtility::ZorvGetMngDevice(42, &filter, &result, 0, false);
                EXPECT_EQ(result.size(), 2U);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(qx_standin::TraceTexts().size(), static_cast<std::size_t>(kThreads * kCalls));
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::GetMngDevice),
              static_cast<std::size_t>(kThreads * kCalls));
}

}  // namespace
