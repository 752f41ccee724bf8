// Once a singleton exists, Instance() reads its pointer and takes no lock,
// from one thread or from several at once. The static lock seam counts every
// lock and unlock of ACE's static object lock made by the library.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "qx_sysevent/sys_event_mgr.h"
#include "qx_sysevent/user_id_mgr.h"
#include "standin_fixture.h"
#include "static_lock_seam.h"

namespace {

constexpr int kCallsPerThread = 10000;
constexpr int kThreads = 4;

template <typename Singleton>
class FastPathTest : public qx_test::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        Singleton::Destroy();
        qx_test::ResetStaticLockCounts();
    }
    void TearDown() override {
        Singleton::Destroy();
        StandinTest::TearDown();
    }

    // Creation takes the lock exactly once; the seam is seeing the library.
    static Singleton* Create() {
        Singleton* instance = Singleton::Instance();
        const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
        EXPECT_EQ(counts.locks, 1);
        EXPECT_EQ(counts.unlocks, 1);
        return instance;
    }
};

using Singletons = ::testing::Types<TEUserIDMgr, QXSysEventMgrIF>;
TYPED_TEST_SUITE(FastPathTest, Singletons);

TYPED_TEST(FastPathTest, OneThreadTakesNoLockOnceCreated) {
    TypeParam* created = this->Create();
    ASSERT_NE(created, nullptr);
    qx_test::ResetStaticLockCounts();

    for (int i = 0; i < kCallsPerThread; ++i) {
        ASSERT_EQ(TypeParam::Instance(), created);
    }
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, 0);
    EXPECT_EQ(counts.failedLocks, 0);
    EXPECT_EQ(counts.unlocks, 0);
}

TYPED_TEST(FastPathTest, ConcurrentCallersTakeNoLockOnceCreated) {
    TypeParam* created = this->Create();
    ASSERT_NE(created, nullptr);
    qx_test::ResetStaticLockCounts();

    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([created, &wrong, t] {
            for (int i = 0; i < kCallsPerThread; ++i) {
                wrong[t] += TypeParam::Instance() == created ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, 0);
    EXPECT_EQ(counts.unlocks, 0);
}

// A failing lock cannot matter once the instance exists: the fast path never
// asks for it.
TYPED_TEST(FastPathTest, FailingLockDoesNotReachTheFastPath) {
    TypeParam* created = this->Create();
    ASSERT_NE(created, nullptr);
    qx_test::ResetStaticLockCounts();
    qx_test::ScopedStaticLockFailure failing;

    EXPECT_EQ(TypeParam::Instance(), created);
    EXPECT_EQ(qx_test::GetStaticLockCounts().failedLocks, 0);
}

}  // namespace
