// Threads, released together, race the first Instance() of each singleton, share
// one security manager and register for reload; run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

// Each round starts with no singleton.
TEST(Concurrency, SingletonsAreCreatedOnceAndOneManagerServesEveryThread) {
    using Ids = std::vector<unsigned long>;
    constexpr int kThreads = 8;
    for (int round = 0; round < 20; ++round) {
        qx_standin::Reset();
        CUserSecurityMgr bob(qx_standin::defaults::kBob);
        TEUserIDMgr::Destroy();
        std::vector<TEUserIDMgr*> registries(kThreads);
        std::vector<QXSysEventMgrIF*> facades(kThreads);
        std::atomic<int> waiting{kThreads};
        std::vector<std::thread> threads;
        threads.reserve(kThreads);
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (--waiting; waiting.load() > 0;) {
                    std::this_thread::yield();
                }
                registries[t] = TEUserIDMgr::Instance();
                facades[t] = QXSysEventMgrIF::Instance();
                EXPECT_EQ(facades[t]->SubscribeEvent(), 1);  // the consumer's creation
                Ids managed;
                EXPECT_EQ(bob.GetManagedNE(Ids{1001, 1002, 1003, 1004}, managed), 0);
                EXPECT_EQ(managed, (Ids{1002, 1004}));
                EXPECT_EQ(bob.isNeManaged(1000UL + t), t % 2 == 0 && t > 0);
                EXPECT_EQ(RegMDPMsgOfProReLoad(t, round, 0, 0), 0);
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        for (int t = 0; t < kThreads; ++t) {
            EXPECT_EQ(registries[t], TEUserIDMgr::m_pInstance);
            EXPECT_EQ(facades[t], QXSysEventMgrIF::m_pInstance);
        }
        EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::ConsumerCreate), 1u);
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
    }
}

}  // namespace
