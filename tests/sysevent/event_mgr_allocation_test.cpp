// The event subsystem when one allocation fails, at every position in turn
// (1 is the call's first allocation): the failure reaches the caller
// unchanged, except in Destroy(), and leaves no half-made facade, consumer or
// table entry behind.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "allocation_seam.h"
#include "event_mgr_fixture.h"

namespace {

using qx_standin::Call;
using qx_test::EventMgrTest;
using qx_test::FirstHandler;
using qx_test::Key;

constexpr long kMaxPositions = 2000;

// Long enough that copying the key allocates.
SvrEvent LongKey() { return Key(std::string(64, 'p'), std::string(64, 's')); }

// Whether the registration got through with its allocation number `position`
// failing; its result then lands in `result`.
bool RegisterFailingAt(long position, QXSysEventMgrIF& facade, const SvrEvent& key, int& result) {
    qx_test::ScopedNthAllocationFailure failure(position);
    try {
        result = facade.RegEventHandler(key, FirstHandler);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void ExpectLockBalanced(long position) {
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, counts.unlocks) << "failing allocation " << position;
}

TEST_F(EventMgrTest, FailingFacadeAllocationLeavesNoFacade) {
    {
        qx_test::ScopedNthAllocationFailure failure(1);
        EXPECT_THROW(QXSysEventMgrIF::Instance(), std::bad_alloc);
    }
    EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
    ExpectLockBalanced(1);
    EXPECT_NE(QXSysEventMgrIF::Instance(), nullptr);
}

TEST_F(EventMgrTest, FailingRegistrationLeavesTheTableUnchanged) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    ASSERT_EQ(facade->SubscribeEvent(), 1);  // the consumer exists
    const SvrEvent key = LongKey();
    long position = 1;
    int result = -1;
    // A half-made entry would turn the final, successful try into a duplicate.
    while (position <= kMaxPositions && !RegisterFailingAt(position, *facade, key, result)) {
        ++position;
    }
    EXPECT_EQ(result, 0);
    EXPECT_GT(position, 1);
    EXPECT_LE(position, kMaxPositions);
    EXPECT_EQ(Records(), (std::vector<std::string>{"SYSEvent::SYSEvent"}));
}

TEST_F(EventMgrTest, FailingFirstRegistrationLeavesNoHalfMadeConsumer) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    const SvrEvent key = LongKey();
    long position = 1;
    int result = -1;
    while (position <= kMaxPositions && !RegisterFailingAt(position, *facade, key, result)) {
        ExpectLockBalanced(position);
        ++position;
    }
    EXPECT_EQ(result, 0);
    EXPECT_LE(position, kMaxPositions);
    QXSysEventMgrIF::Destroy();
    EXPECT_EQ(qx_standin::CountCalls(Call::ConsumerCreate),
              qx_standin::CountCalls(Call::ConsumerDestroy));
}

TEST_F(EventMgrTest, DestroySwallowsEveryFailingAllocation) {
    for (bool consumerFirst : {true, false}) {
        for (long position = 1; position <= kMaxPositions; ++position) {
            QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
            if (consumerFirst) {
                ASSERT_EQ(facade->RegEventHandler(LongKey(), FirstHandler), 0);
            }
            qx_standin::ClearJournal();
            bool fired = false;
            {
                qx_test::ScopedNthAllocationFailure failure(position);
                EXPECT_NO_THROW(QXSysEventMgrIF::Destroy());
                fired = qx_test::AllocationFailureStruck();
            }
            EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
            // No consumer survived: the next one starts with an empty table.
            EXPECT_EQ(QXSysEventMgrIF::Instance()->RegEventHandler(LongKey(), FirstHandler), 0)
                << "failing allocation " << position;
            QXSysEventMgrIF::Destroy();
            if (!fired) {
                break;
            }
        }
    }
}

}  // namespace
