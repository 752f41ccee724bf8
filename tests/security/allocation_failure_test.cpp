// Every allocation of an NE query failing in turn: the failure reaches the
// caller as std::bad_alloc, nothing leaks (the sanitizer build checks), the
// caller's container is left in a state the operation allows, and the next
// call works.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "allocation_seam.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "standin_fixture.h"

namespace {

using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

class AllocationFailure : public qx_test::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        qx_standin::SetManagedNEs(42, {9, 5, 7});
    }

    // Fails the 1st, 2nd, ... allocation of `call` until it gets through;
    // `allowed(container)` judges each state left behind by a failure.
    template <typename Container, typename Call, typename Allowed>
    void FailEachAllocation(const Container& prior, Call call, Allowed allowed,
                            const Container& finished) {
        for (long n = 1;; ++n) {
            Container out = prior;
            bool threw = false;
            bool struck = false;
            {
                qx_test::ScopedNthAllocationFailure failure(n);
                try {
                    call(out);
                } catch (const std::bad_alloc&) {
                    threw = true;
                }
                struck = qx_test::AllocationFailureStruck();
            }
            if (!threw) {
                ASSERT_FALSE(struck) << "a failure was swallowed at allocation " << n;
                EXPECT_EQ(out, finished);
                EXPECT_GT(n, 1);
                return;
            }
            EXPECT_TRUE(allowed(out)) << "after failing allocation " << n;
            ASSERT_LT(n, 1000);
        }
    }
    CUserSecurityMgr alice{42};
};

template <typename Container>
bool IsPriorOr(const Container& out, const Container& prior, const Container& other) {
    return out == prior || out == other;
}

TEST_F(AllocationFailure, FilteringIntoAVectorLeavesItUntouchedOrEmpty) {
    qx_standin::SetCloudNode(false);
    const NeVector prior{1, 2};
    FailEachAllocation(
        prior,
        [&](NeVector& out) {
            alice.GetManagedNE(NeVector{5, 7, 8, 9}, out);
        },
        [&](const NeVector& out) { return IsPriorOr(out, prior, NeVector{}); }, NeVector{9, 5, 7});
}

TEST_F(AllocationFailure, FilteringIntoAListOrSetLeavesAPartOfTheAnswer) {
    qx_standin::SetCloudNode(false);
    const NeList priorList{1};
    FailEachAllocation(
        priorList,
        [&](NeList& out) {
            alice.GetManagedNE(NeList{5, 7, 9}, out);
        },
        [&](const NeList& out) {
            const NeList answer{9, 5, 7};
            return out == priorList || (out.size() <= answer.size() &&
                                        std::equal(out.begin(), out.end(), answer.begin()));
        },
        NeList{9, 5, 7});
    const NeSet priorSet{1};
    FailEachAllocation(
        priorSet,
        [&](NeSet& out) {
            alice.GetManagedNE(NeVector{5, 7, 9}, out);
        },
        [&](const NeSet& out) {
            const NeSet answer{5, 7, 9};
            return out == priorSet ||
                   std::includes(answer.begin(), answer.end(), out.begin(), out.end());
        },
        NeSet{5, 7, 9});
}

TEST_F(AllocationFailure, CloudPathExtendsTheOutputByAPrefixOfTheInput) {
    qx_standin::SetCloudNode(true);
    FailEachAllocation(
        NeList{1},
        [&](NeList& out) {
            alice.GetManagedNE(NeList{5, 7}, out);
        },
        [](const NeList& out) {
            return out == NeList{1} || out == NeList{5, 1} || out == NeList{5, 7, 1};
        },
        NeList{5, 7, 1});
    FailEachAllocation(
        NeSet{1},
        [&](NeSet& out) {
            alice.GetManagedNE(NeSet{5, 7}, out);
        },
        [](const NeSet& out) {
            return out == NeSet{1} || out == NeSet{1, 5};
        },
        NeSet{1, 5, 7});
}

TEST_F(AllocationFailure, ListingAllManagedNes) {
    const NeVector priorVector{1, 2};
    FailEachAllocation(
        priorVector, [&](NeVector& out) { alice.GetAllManagedNE(out); },
        [&](const NeVector& out) { return IsPriorOr(out, priorVector, NeVector{}); },
        NeVector{9, 5, 7});
    const NeSet priorSet{1};
    FailEachAllocation(
        priorSet, [&](NeSet& out) { alice.GetAllManagedNE(out); },
        [&](const NeSet& out) {
            const NeSet answer{5, 7, 9};
            return out == priorSet ||
                   std::includes(answer.begin(), answer.end(), out.begin(), out.end());
        },
        NeSet{5, 7, 9});
}

TEST_F(AllocationFailure, CheckingOneNeAndLookingUpNames) {
    qx_standin::SetCloudNode(false);
    FailEachAllocation(
        NeVector{}, [&](NeVector& out) { out.assign(1, alice.isNeManaged(9)); },
        [](const NeVector& out) { return out.empty(); }, NeVector{1});
    using Names = std::map<int, std::string>;
    FailEachAllocation(
        Names{},
        [&](Names& out) {
            alice.GetAllUser({42, 43}, out);
        },
        [](const Names& out) {
            return out.empty() || out == Names{{42, "alice"}};
        },
        Names{{42, "alice"}, {43, "bob"}});
}

}  // namespace
