// Construction, the administrator flag and the two name lookups.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"
#include "security_records.h"
#include "standin_fixture.h"

namespace {

using namespace security_test;
using Strings = std::vector<std::string>;

class SecurityManagerConstruction : public qx_test::StandinTest {};

TEST_F(SecurityManagerConstruction, AdministratorGetsTheFlagWithOneCheckAndOneRecord) {
    CUserSecurityMgr admin(qx_standin::defaults::kAdminId);
    EXPECT_TRUE(admin.isContainsRoot());
    EXPECT_EQ(Calls(),
              (Strings{"ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(1) = true"}));
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(true, 1)});
}

TEST_F(SecurityManagerConstruction, OtherUserHasNoFlag) {
    CUserSecurityMgr alice(42);
    EXPECT_FALSE(alice.isContainsRoot());
    EXPECT_EQ(Calls(),
              (Strings{"ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(42) = false"}));
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(false, 42)});
}

TEST_F(SecurityManagerConstruction, NegativeIdIsSignExtendedInTheRecordAndNarrowedForTheDatabase) {
    CUserSecurityMgr manager(-1);
    EXPECT_FALSE(manager.isContainsRoot());
    EXPECT_EQ(Calls(), (Strings{"ZorvCommonDBUtility::Instance() = non-null",
                                "isInAdmins(4294967295) = false"}));
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(false, 18446744073709551615UL)});
}

TEST_F(SecurityManagerConstruction, FlagIsFixedAtConstructionAndReadWithoutCalls) {
    CUserSecurityMgr alice(42);
    qx_standin::SetAdmins({42});
    qx_standin::ClearJournal();
    EXPECT_FALSE(alice.isContainsRoot());
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Records().empty());
}

TEST_F(SecurityManagerConstruction, UnavailableDatabaseMeansNoFlag) {
    qx_standin::SetDatabaseAvailable(false);
    CUserSecurityMgr admin(1);
    EXPECT_FALSE(admin.isContainsRoot());
    EXPECT_EQ(Calls(), Strings{"ZorvCommonDBUtility::Instance() = null"});
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(false, 1)});
}

TEST_F(SecurityManagerConstruction, CheckIsMadeEvenWhenTheRegistryCannotBeCreated) {
    TEUserIDMgr::Destroy();
    qx_test::ScopedStaticLockFailure lockFails;
    ASSERT_EQ(TEUserIDMgr::Instance(), nullptr);
    qx_standin::ClearJournal();

    CUserSecurityMgr admin(1);
    EXPECT_TRUE(admin.isContainsRoot());
    EXPECT_EQ(Calls(),
              (Strings{"ZorvCommonDBUtility::Instance() = non-null", "isInAdmins(1) = true"}));
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(true, 1)});
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
}

class LoginName : public qx_test::StandinTest {
protected:
    LoginName() { std::memset(buffer, 'x', sizeof buffer); }
    char buffer[300];
};

TEST_F(LoginName, SuccessLeavesTheNameAndTheRestOfTheBufferAsWritten) {
    CUserSecurityMgr alice(42);
    qx_standin::ClearJournal();
    EXPECT_EQ(alice.GetLoginName(buffer), 0);
    EXPECT_STREQ(buffer, "alice");
    EXPECT_EQ(buffer[6], 'x');
    EXPECT_EQ(Calls(), Strings{"ZorvGetUserName(42) = 1 \"alice\\x00\""});
    EXPECT_TRUE(Records().empty());
}

TEST_F(LoginName, UnknownUserFailsWithOneRecordAndAnUntouchedBuffer) {
    CUserSecurityMgr stranger(999);
    qx_standin::ClearJournal();
    EXPECT_EQ(stranger.GetLoginName(buffer), kUserNameNotDelivered);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(Calls(), Strings{"ZorvGetUserName(999) = 0 \"\""});
    EXPECT_EQ(Records(), Strings{"ZorvGetUserName is failed!"});
}

TEST_F(LoginName, AnyResultButOneFailsAndKeepsWhatTheDatabaseWrote) {
    CUserSecurityMgr alice(42);
    qx_standin::QueueUserNameAnswer(2, "junk");
    qx_standin::ClearJournal();
    EXPECT_EQ(alice.GetLoginName(buffer), kUserNameNotDelivered);
    EXPECT_EQ(std::string(buffer, 5), "junkx");
    EXPECT_EQ(Records(), Strings{"ZorvGetUserName is failed!"});
}

TEST_F(LoginName, NegativeUserIdReachesTheDatabaseAsItsUnsignedBits) {
    qx_standin::SetUserName(4294967295U, "minus-one");
    CUserSecurityMgr manager(-1);
    qx_standin::ClearJournal();
    EXPECT_EQ(manager.GetLoginName(buffer), 0);
    EXPECT_STREQ(buffer, "minus-one");
    EXPECT_EQ(qx_standin::Journal().at(0).userId, 4294967295U);
}

class AllUsers : public qx_test::StandinTest {
protected:
    std::map<int, std::string> names;
    long Lookup(const std::vector<int>& ids) {
        CUserSecurityMgr manager(42);
        qx_standin::ClearJournal();
        return manager.GetAllUser(ids, names);
    }
    std::vector<std::string> NameCalls() {
        Strings out;
        for (const auto& call : Calls()) {
            if (call.rfind("ZorvGetUserName(", 0) == 0) {
                out.push_back(call.substr(0, call.find(')') + 1));
            }
        }
        return out;
    }
};

TEST_F(AllUsers, EmptyListAsksNothingAndKeepsTheMap) {
    names = {{5, "five"}};
    CUserSecurityMgr manager(42);
    qx_standin::ClearJournal();
    EXPECT_EQ(manager.GetAllUser({}, names), 0);
    EXPECT_EQ(names, (std::map<int, std::string>{{5, "five"}}));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Records().empty());
}

TEST_F(AllUsers, KnownIdsAreStillAskedButNeverOverwritten) {
    names = {{7, "old"}, {99, "kept"}};
    qx_standin::QueueUserNameAnswer(1, std::string("seven\0", 6));
    qx_standin::QueueUserNameAnswer(1, std::string("eight\0", 6));
    EXPECT_EQ(Lookup({7, 8}), 0);
    EXPECT_EQ(names, (std::map<int, std::string>{{7, "old"}, {8, "eight"}, {99, "kept"}}));
    EXPECT_EQ(NameCalls(), (Strings{"ZorvGetUserName(7)", "ZorvGetUserName(8)"}));
    EXPECT_TRUE(Records().empty());
}

TEST_F(AllUsers, RepeatedIdIsAskedTwiceAndStoredOnce) {
    qx_standin::QueueUserNameAnswer(1, std::string("first\0", 6));
    qx_standin::QueueUserNameAnswer(1, std::string("second\0", 7));
    EXPECT_EQ(Lookup({7, 7}), 0);
    EXPECT_EQ(names, (std::map<int, std::string>{{7, "first"}}));
    EXPECT_EQ(NameCalls(), (Strings{"ZorvGetUserName(7)", "ZorvGetUserName(7)"}));
}

TEST_F(AllUsers, StopsAtTheFirstFailureKeepingEarlierNames) {
    EXPECT_EQ(Lookup({42, 999, 43}), kUserNameNotDelivered);
    EXPECT_EQ(names, (std::map<int, std::string>{{42, "alice"}}));
    EXPECT_EQ(NameCalls(), (Strings{"ZorvGetUserName(42)", "ZorvGetUserName(999)"}));
    EXPECT_EQ(Records(), Strings{"ZorvGetUserName failed!"});
}

TEST_F(AllUsers, FailureOnAnAlreadyKnownIdStillFails) {
    names = {{7, "old"}};
    qx_standin::QueueUserNameAnswer(0, "");
    EXPECT_EQ(Lookup({7}), kUserNameNotDelivered);
    EXPECT_EQ(names, (std::map<int, std::string>{{7, "old"}}));
}

TEST_F(AllUsers, UnterminatedFullBufferGivesTheFirst255Bytes) {
    const std::string full(200, 'a');
    qx_standin::QueueUserNameAnswer(1, full + std::string(56, 'b'));
    EXPECT_EQ(Lookup({7}), 0);
    EXPECT_EQ(names.at(7), full + std::string(55, 'b'));
}

// The buffer starts zeroed and is not cleared between lookups: an answer
// without a NUL of its own ends where an earlier, longer one did.
TEST_F(AllUsers, BufferStartsZeroedAndIsNotClearedBetweenLookups) {
    qx_standin::QueueUserNameAnswer(1, "ab");
    qx_standin::QueueUserNameAnswer(1, std::string("longname\0", 9));
    qx_standin::QueueUserNameAnswer(1, "xy");
    EXPECT_EQ(Lookup({1, 2, 3}), 0);
    EXPECT_EQ(names, (std::map<int, std::string>{{1, "ab"}, {2, "longname"}, {3, "xyngname"}}));
}

TEST_F(AllUsers, NegativeIdIsAskedByItsUnsignedBitsAndKeyedSigned) {
    qx_standin::SetUserName(4294967295U, "minus-one");
    EXPECT_EQ(Lookup({-1}), 0);
    EXPECT_EQ(names, (std::map<int, std::string>{{-1, "minus-one"}}));
    EXPECT_EQ(NameCalls(), Strings{"ZorvGetUserName(4294967295)"});
}

TEST_F(AllUsers, ExceptionFromTheDatabaseKeepsEarlierNames) {
    qx_standin::InjectFault(qx_standin::Call::GetUserName, 1);
    EXPECT_THROW(Lookup({42, 43}), qx_standin::InjectedFault);
    EXPECT_EQ(names, (std::map<int, std::string>{{42, "alice"}}));
}

}  // namespace
