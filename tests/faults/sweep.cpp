#include "sweep.h"

#include <gtest/gtest.h>

#include <map>
#include <new>
#include <string>
#include <vector>

#include "allocation_seam.h"
#include "qx_standin/standin.h"
#include "static_lock_seam.h"

namespace qx_faults {
namespace {

using qx_standin::Call;
using qx_standin::CallRecord;

// Far above what any operation allocates: a sweep that gets here is stuck.
constexpr long kMostFailurePoints = 2000;

void ExpectStaticLockReleased() {
    const qx_test::StaticLockCounts counts = qx_test::GetStaticLockCounts();
    EXPECT_EQ(counts.locks, counts.unlocks) << "the static object lock is still held";
}

// The faulted run made the clean run's first `faulted` calls, then the call
// that threw; unless the operation swallows, only the unwinding that
// destroys a half-made consumer's base may follow.
void ExpectRunStoppedAt(const std::vector<CallRecord>& clean, const std::vector<CallRecord>& run,
                        std::size_t faulted, bool swallows) {
    ASSERT_GT(run.size(), faulted);
    for (std::size_t i = 0; i < faulted; ++i) {
        EXPECT_EQ(run[i].text, clean[i].text);
    }
    EXPECT_TRUE(run[faulted].threw);
    EXPECT_EQ(run[faulted].call, clean[faulted].call);
    if (swallows) {
        return;
    }
    for (std::size_t i = faulted + 1; i < run.size(); ++i) {
        EXPECT_EQ(run[i].call, Call::ConsumerDestroy) << "called after the fault: " << run[i].text;
    }
}

}  // namespace

long SweepAllocationFailures(const Operation& operation) {
    for (long n = 1; n <= kMostFailurePoints; ++n) {
        SCOPED_TRACE(operation.name + ", allocation " + std::to_string(n) + " failing");
        Attempt attempt = operation.prepare();
        qx_test::ResetStaticLockCounts();
        bool badAlloc = false;
        bool otherException = false;
        bool struck = false;
        {
            qx_test::ScopedNthAllocationFailure failure(n);
            try {
                attempt.call();
            } catch (const std::bad_alloc&) {
                badAlloc = true;
            } catch (...) {
                otherException = true;
            }
            struck = qx_test::AllocationFailureStruck();
        }
        EXPECT_FALSE(otherException) << "something other than std::bad_alloc left the call";
        EXPECT_EQ(badAlloc, struck && !operation.swallows);
        ExpectStaticLockReleased();
        attempt.check(!badAlloc && !otherException);
        if (!struck) {
            return n - 1;
        }
    }
    ADD_FAILURE() << operation.name << ": still failing after " << kMostFailurePoints
                  << " allocations";
    return kMostFailurePoints;
}

long SweepPlatformFaults(const Operation& operation) {
    std::vector<CallRecord> clean;
    {
        SCOPED_TRACE(operation.name + ", clean run");
        Attempt attempt = operation.prepare();
        attempt.call();
        clean = qx_standin::Journal();
        attempt.check(true);
    }
    long faults = 0;
    std::map<Call, unsigned> earlier;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const Call call = clean[i].call;
        const unsigned skip = earlier[call]++;
        if (call == Call::ConsumerDestroy) {
            continue;  // a destructor: the platform never lets it throw
        }
        ++faults;
        SCOPED_TRACE(operation.name + ", call " + std::to_string(i + 1) +
                     " throwing: " + clean[i].text);
        Attempt attempt = operation.prepare();
        qx_test::ResetStaticLockCounts();
        qx_standin::InjectFault(call, skip, 1);
        bool faulted = false;
        bool otherException = false;
        try {
            attempt.call();
        } catch (const qx_standin::InjectedFault& fault) {
            faulted = true;
            EXPECT_EQ(fault.call, call);
        } catch (...) {
            otherException = true;
        }
        const std::vector<CallRecord> run = qx_standin::Journal();
        qx_standin::ClearFaults();
        EXPECT_FALSE(otherException) << "something other than the injected fault left the call";
        EXPECT_EQ(faulted, !operation.swallows);
        ExpectStaticLockReleased();
        ExpectRunStoppedAt(clean, run, i, operation.swallows);
        attempt.check(!faulted && !otherException);
    }
    return faults;
}

}  // namespace qx_faults
