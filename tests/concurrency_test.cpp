// Threads racing the first Instance() of each singleton and sharing one
// security manager and the reload registration; run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

constexpr int kThreads = 8;

// Runs body(thread) on every thread, released together.
void Race(const std::function<void(int)>& body) {
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (--waiting; waiting.load() > 0;) {
                std::this_thread::yield();
            }
            body(t);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

TEST(Concurrency, FirstInstancesAreCreatedOnceAndSeenWhole) {
    for (int round = 0; round < 30; ++round) {
        qx_standin::Reset();
        std::vector<TEUserIDMgr*> registries(kThreads);
        std::vector<int> registered(kThreads, -1);
        Race([&](int t) {
            registries[t] = TEUserIDMgr::Instance();
            const SvrEvent key{"key", std::to_string(t)};
            registered[t] = QXSysEventMgrIF::Instance()->RegEventHandler(key, nullptr);
            registries[t]->IsAdminUserID(1);
        });
        for (int t = 0; t < kThreads; ++t) {
            EXPECT_EQ(registries[t], TEUserIDMgr::m_pInstance);
            EXPECT_EQ(registered[t], 0);
            const SvrEvent key{"key", std::to_string(t)};
            EXPECT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(key, nullptr), 0x4103F210);
        }
        EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::ConsumerCreate), 1u);
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
    }
}

TEST(Concurrency, OneManagerAnswersEveryThread) {
    qx_standin::Reset();
    qx_standin::SetJournaling(false);
    CUserSecurityMgr manager(qx_standin::defaults::kBob);
    Race([&manager](int t) {
        for (int i = 0; i < 200; ++i) {
            std::vector<unsigned long> managed;
            const std::vector<unsigned long> asked{1001, 1002, 1003, 1004};
            EXPECT_EQ(manager.GetManagedNE(asked, managed), 0);
            EXPECT_EQ(managed, (std::vector<unsigned long>{1002, 1004}));
            EXPECT_EQ(manager.isNeManaged(1000UL + t), t % 2 == 0 && t > 0);
            std::map<int, std::string> names;
            EXPECT_EQ(manager.GetAllUser({42, 43}, names), 0);
            EXPECT_EQ(names.at(43), "bob");
            EXPECT_EQ(RegMDPMsgOfProReLoad(t, i, 0, 0), 0);
        }
    });
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), kThreads * 200u);
}

}  // namespace
