// Construction, the administrator flag and the two name lookups, where the
// platform answers what a client's own platform cannot easily script.
#include <gtest/gtest.h>

#include <cstdint>
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
using Names = std::map<int, std::string>;

const std::string kDatabase = "ZorvCommonDBUtility::Instance() = non-null";

class UserLookupTest : public qx_test::StandinTest {};

TEST_F(UserLookupTest, FlagIsDecidedOnceAtConstruction) {
    CUserSecurityMgr alice(42);
    qx_standin::SetAdmins({42});
    qx_standin::ClearJournal();
    EXPECT_FALSE(alice.isContainsRoot());
    EXPECT_TRUE(qx_standin::JournalTexts().empty());

    qx_standin::SetDatabaseAvailable(false);
    EXPECT_FALSE(CUserSecurityMgr(42).isContainsRoot());
    EXPECT_EQ(Calls(), Strings{"ZorvCommonDBUtility::Instance() = null"});
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(false, 42)});
}

TEST_F(UserLookupTest, CheckIsMadeEvenWhenTheRegistryCannotBeCreated) {
    TEUserIDMgr::Destroy();
    qx_test::ScopedStaticLockFailure lockFails;
    ASSERT_EQ(TEUserIDMgr::Instance(), nullptr);
    qx_standin::ClearJournal();

    EXPECT_TRUE(CUserSecurityMgr(1).isContainsRoot());
    EXPECT_EQ(Calls(), (Strings{kDatabase, "isInAdmins(1) = true"}));
    EXPECT_EQ(Records(), Strings{AdminCheckRecord(true, 1)});
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
}

// Only 1 means delivered; the caller's buffer keeps what the database wrote.
TEST_F(UserLookupTest, LoginNameFailsOnAnyResultButOne) {
    CUserSecurityMgr manager(-1);
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    qx_standin::QueueUserNameAnswer(2, "junk");
    qx_standin::ClearJournal();
    EXPECT_EQ(manager.GetLoginName(buffer), kUserNameNotDelivered);
    EXPECT_EQ(std::string(buffer, 5), "junkx");
    EXPECT_EQ(qx_standin::Journal().at(0).userId, 4294967295U);
    EXPECT_EQ(Records(), Strings{"ZorvGetUserName is failed!"});
}

// Every id is asked, repeated or already known; the first name stays. The
// one buffer is not cleared between lookups: an answer without a NUL of its
// own ends where an earlier, longer one did.
TEST_F(UserLookupTest, AllUsersAsksEveryIdAndKeepsTheFirstName) {
    CUserSecurityMgr manager(42);
    Names names{{5, "five"}};
    qx_standin::ClearJournal();
    EXPECT_EQ(manager.GetAllUser({}, names), 0);
    EXPECT_EQ(names, (Names{{5, "five"}}));
    EXPECT_TRUE(qx_standin::JournalTexts().empty());

    qx_standin::QueueUserNameAnswer(1, std::string("longname\0", 9));
    qx_standin::QueueUserNameAnswer(1, "xy");
    qx_standin::QueueUserNameAnswer(1, std::string("other\0", 6));
    qx_standin::QueueUserNameAnswer(1, std::string("six\0", 4));
    EXPECT_EQ(manager.GetAllUser({7, 8, 7, 5}, names), 0);
    EXPECT_EQ(names, (Names{{5, "five"}, {7, "longname"}, {8, "xyngname"}}));
    std::vector<std::uint64_t> asked;
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        asked.push_back(call.userId);
    }
    EXPECT_EQ(asked, (std::vector<std::uint64_t>{7, 8, 7, 5}));
    EXPECT_TRUE(Records().empty());
}

}  // namespace
