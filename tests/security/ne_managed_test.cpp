// The single-NE check and the listing of every managed NE.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "security_records.h"
#include "standin_fixture.h"

namespace {

using namespace security_test;
using qx_standin::Call;
using Strings = std::vector<std::string>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

// Every case starts with a manager for alice (42) and an empty journal.
class NeQueryTest : public qx_test::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        qx_standin::SetCloudNode(false);
        qx_standin::ClearJournal();
    }
    CUserSecurityMgr Manager(int userId) {
        CUserSecurityMgr manager(userId);
        qx_standin::ClearJournal();
        return manager;
    }
};

class NeCheck : public NeQueryTest {};

TEST_F(NeCheck, CloudNodeManagesEveryNeWithoutQueryOrRecord) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::SetCloudNode(true);
    for (unsigned long ne : {0UL, 5UL, kFirstWideNeId + 5}) {
        qx_standin::ClearJournal();
        EXPECT_TRUE(alice.isNeManaged(ne)) << ne;
        EXPECT_EQ(Calls(), Strings{CloudCall(true)});
        EXPECT_TRUE(Records().empty());
    }
}

TEST_F(NeCheck, ManagedNeIsQueriedAloneAndBracketedByTwoRecords) {
    CUserSecurityMgr alice = Manager(42);
    EXPECT_TRUE(alice.isNeManaged(1001));
    EXPECT_EQ(Calls(), (Strings{CloudCall(false), MngDeviceCall(42, {1001}, 1, {1001})}));
    EXPECT_EQ(Records(),
              (Strings{NeCheckRecord(42, 1001), AnswerRecord("lstDeviceOut", 1, 42, 1)}));
    const auto query = LastQuery();
    EXPECT_TRUE(query.resultListWasEmpty);
    EXPECT_EQ(query.arg4, 0U);
    EXPECT_FALSE(query.arg5);
}

TEST_F(NeCheck, EmptyAnswerMeansNotManagedWithoutErrorRecord) {
    CUserSecurityMgr alice = Manager(42);
    EXPECT_FALSE(alice.isNeManaged(5));
    EXPECT_EQ(Records(), (Strings{NeCheckRecord(42, 5), AnswerRecord("lstDeviceOut", 1, 42, 0)}));
}

TEST_F(NeCheck, AnyAnsweredNeCountsEvenAnotherOne) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::QueueMngDeviceAnswer(1, {77});
    EXPECT_TRUE(alice.isNeManaged(5));
}

TEST_F(NeCheck, FailedQueryMeansNotManagedAndWritesTheErrorRecord) {
    for (int result : {0, 2, -1}) {
        CUserSecurityMgr alice = Manager(42);
        qx_standin::QueueMngDeviceAnswer(result, {1001});
        EXPECT_FALSE(alice.isNeManaged(1001)) << result;
        EXPECT_EQ(Records(), (Strings{NeCheckRecord(42, 1001),
                                      AnswerRecord("lstDeviceOut", result, 42, 1), kServiceError}));
    }
}

TEST_F(NeCheck, WideIdIsNeverAnsweredAsItsLow32Bits) {
    qx_standin::SetManagedNEs(42, {5});
    CUserSecurityMgr alice = Manager(42);
    EXPECT_FALSE(alice.isNeManaged(kFirstWideNeId + 5));
    EXPECT_EQ(Calls(), Strings{CloudCall(false)});
    EXPECT_TRUE(Records().empty());
}

TEST_F(NeCheck, HighestDatabaseIdIsQueriedAsIs) {
    qx_standin::SetManagedNEs(42, {4294967295U});
    CUserSecurityMgr alice = Manager(42);
    EXPECT_TRUE(alice.isNeManaged(4294967295UL));
    EXPECT_EQ(Records().front(), NeCheckRecord(42, 4294967295UL));
}

TEST_F(NeCheck, AdministratorMakesTheSameQueryForItsOwnId) {
    CUserSecurityMgr admin = Manager(1);
    ASSERT_TRUE(admin.isContainsRoot());
    EXPECT_FALSE(admin.isNeManaged(5));
    EXPECT_EQ(Calls(), (Strings{CloudCall(false), MngDeviceCall(1, {5}, 1, {})}));
}

TEST_F(NeCheck, NegativeUserIdIsSentAsItsUnsignedBits) {
    CUserSecurityMgr manager = Manager(-1);
    EXPECT_FALSE(manager.isNeManaged(5));
    EXPECT_EQ(Calls().back(), MngDeviceCall(4294967295U, {5}, 1, {}));
    EXPECT_EQ(Records().front(), NeCheckRecord(-1, 5));
}

TEST_F(NeCheck, ExceptionFromTheQueryPassesAfterTheFirstRecord) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::InjectFault(Call::GetMngDevice);
    EXPECT_THROW(alice.isNeManaged(1001), qx_standin::InjectedFault);
    EXPECT_EQ(Records(), Strings{NeCheckRecord(42, 1001)});
}

class AllManagedNe : public NeQueryTest {
protected:
    // The query of every listing: no node question, the empty filter, 0, false.
    static void ExpectOneUnfilteredQuery(unsigned int userId) {
        EXPECT_EQ(qx_standin::CountCalls(Call::IsCloudNode), 0U);
        ASSERT_EQ(qx_standin::CountCalls(Call::GetMngDevice), 1U);
        for (const auto& call : qx_standin::Journal()) {
            if (call.call == Call::GetMngDevice) {
                EXPECT_EQ(call.userId, userId);
                EXPECT_FALSE(call.filterNull);
                EXPECT_TRUE(call.filter.empty());
                EXPECT_TRUE(call.resultListWasEmpty);
                EXPECT_EQ(call.arg4, 0U);
                EXPECT_FALSE(call.arg5);
            }
        }
    }
};

TEST_F(AllManagedNe, VectorKeepsTheDatabaseOrderAndDuplicatesAndReplacesOldContent) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::QueueMngDeviceAnswer(1, {7, 3, 7, 3000000000U});
    NeVector out{99, 98};
    EXPECT_EQ(alice.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, (NeVector{7, 3, 7, 3000000000UL}));
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AnswerRecord("vecNE", 1, 42, 4)}));
    ExpectOneUnfilteredQuery(42);
}

TEST_F(AllManagedNe, SetCollapsesDuplicatesAndReturnsTheQueryResult) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::QueueMngDeviceAnswer(1, {7, 3, 7, 3000000000U});
    NeSet out{99};
    EXPECT_EQ(alice.GetAllManagedNE(out), 1);
    EXPECT_EQ(out, (NeSet{3, 7, 3000000000UL}));
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AnswerRecord("setNE", 1, 42, 4)}));
    ExpectOneUnfilteredQuery(42);
}

TEST_F(AllManagedNe, BuiltInDataArrivesZeroExtended) {
    CUserSecurityMgr alice = Manager(42);
    NeVector out;
    EXPECT_EQ(alice.GetAllManagedNE(out), 0);
    ASSERT_EQ(out.size(), 101U);
    EXPECT_EQ(out.front(), 1001UL);
    EXPECT_EQ(out.back(), 3000000000UL);
}

TEST_F(AllManagedNe, EmptyAnswerEmptiesBothAndWritesTheNoNeRecord) {
    CUserSecurityMgr carol = Manager(44);
    NeVector vec{1, 2};
    EXPECT_EQ(carol.GetAllManagedNE(vec), 0);
    EXPECT_TRUE(vec.empty());
    NeSet set{1, 2};
    EXPECT_EQ(carol.GetAllManagedNE(set), 1);
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(44), AnswerRecord("vecNE", 1, 44, 0),
                                  NoManagedNeRecord(44), AllManagedRecord(44),
                                  AnswerRecord("setNE", 1, 44, 0), NoManagedNeRecord(44)}));
}

TEST_F(AllManagedNe, VectorIsUntouchedAfterAFailedQuery) {
    for (int result : {0, 2, -1}) {
        CUserSecurityMgr alice = Manager(42);
        qx_standin::QueueMngDeviceAnswer(result, {5});
        NeVector out{99, 98};
        const long expected = result == 0 ? kQueryFailedWithoutCode : result;
        EXPECT_EQ(alice.GetAllManagedNE(out), expected) << result;
        EXPECT_EQ(out, (NeVector{99, 98}));
        EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AnswerRecord("vecNE", result, 42, 1),
                                      AllManagedErrorRecord(result)}));
    }
}

TEST_F(AllManagedNe, SetTakesWhateverAFailedQueryAnsweredAndReturnsItsResult) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::QueueMngDeviceAnswer(0, {9, 4});
    NeSet out{99};
    EXPECT_EQ(alice.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, (NeSet{4, 9}));
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AnswerRecord("setNE", 0, 42, 2)}));

    qx_standin::ClearJournal();
    qx_standin::QueueMngDeviceAnswer(-1, {});
    EXPECT_EQ(alice.GetAllManagedNE(out), -1);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AnswerRecord("setNE", -1, 42, 0),
                                  NoManagedNeRecord(42)}));
}

TEST_F(AllManagedNe, CloudNodeMakesNoDifference) {
    qx_standin::SetCloudNode(true);
    CUserSecurityMgr alice = Manager(42);
    NeVector vec;
    NeSet set;
    EXPECT_EQ(alice.GetAllManagedNE(vec), 0);
    EXPECT_EQ(vec.size(), 101U);
    qx_standin::ClearJournal();
    EXPECT_EQ(alice.GetAllManagedNE(set), 1);
    EXPECT_EQ(set.size(), 101U);
    ExpectOneUnfilteredQuery(42);
}

TEST_F(AllManagedNe, NegativeUserIdIsSentAsItsUnsignedBits) {
    CUserSecurityMgr manager = Manager(-1);
    NeVector out;
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    ExpectOneUnfilteredQuery(4294967295U);
    EXPECT_EQ(Records().front(), AllManagedRecord(-1));
}

TEST_F(AllManagedNe, ExceptionFromTheQueryLeavesBothContainersAlone) {
    CUserSecurityMgr alice = Manager(42);
    qx_standin::InjectFault(Call::GetMngDevice, 0, 2);
    NeVector vec{1};
    NeSet set{2};
    EXPECT_THROW(alice.GetAllManagedNE(vec), qx_standin::InjectedFault);
    EXPECT_THROW(alice.GetAllManagedNE(set), qx_standin::InjectedFault);
    EXPECT_EQ(vec, NeVector{1});
    EXPECT_EQ(set, NeSet{2});
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(42), AllManagedRecord(42)}));
}

}  // namespace
