// The stand-in database answers from its data set unless scripted, and
// journals every call with its arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <list>
#include <set>
#include <string>
#include <vector>

#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"
#include "qx_standin/standin.h"
#include "standin_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class DatabaseStandinTest : public qx_test::StandinTest {};

TEST_F(DatabaseStandinTest, ManagedDevicesFollowTheFilterInDatabaseOrder) {
    qx_standin::SetManagedNEs(7, {30, 10, 20});
    std::set<unsigned int> filter{10, 30, 99};
    std::list<unsigned int> result;
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetMngDevice(7, &filter, &result, 0, false), 1);
    EXPECT_EQ(result, (std::list<unsigned int>{30, 10}));

    std::set<unsigned int> all;
    result.clear();
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetMngDevice(7, &all, &result, 0, false), 1);
    EXPECT_EQ(result, (std::list<unsigned int>{30, 10, 20}));
    EXPECT_EQ(Calls(), (Strings{"ZorvGetMngDevice(7, {10, 30, 99}, [], 0, false) = 1 [30, 10]",
                                "ZorvGetMngDevice(7, {}, [], 0, false) = 1 [30, 10, 20]"}));
    auto journal = qx_standin::Journal();
    EXPECT_EQ(journal[0].filter, (std::vector<unsigned int>{10, 30, 99}));
    EXPECT_TRUE(journal[0].resultListWasEmpty);
}

TEST_F(DatabaseStandinTest, ScriptedAnswersComeFirstInOrder) {
    qx_standin::QueueMngDeviceAnswer(0, {4});
    qx_standin::QueueMngDeviceAnswer(-1, {});
    std::set<unsigned int> filter{1};
    std::list<unsigned int> result;
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetMngDevice(1, &filter, &result, 0, false), 0);
    EXPECT_EQ(result, (std::list<unsigned int>{4}));
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetMngDevice(1, &filter, &result, 0, false), -1);
    qx_standin::SetMngDeviceResult(2);
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetMngDevice(1, &filter, &result, 0, false), 2);
}

TEST_F(DatabaseStandinTest, UserNamesAreWrittenAsScripted) {
    char name[300];
    std::memset(name, 'z', sizeof name);
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetUserName(42, name), 1);
    EXPECT_STREQ(name, "alice");
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetUserName(4242, name), 0);

    std::memset(name, 'z', sizeof name);
    qx_standin::QueueUserNameAnswer(1, std::string(256, 'a'));
    EXPECT_EQ(ZorvCommonDBUtility::ZorvGetUserName(1, name), 1);
    EXPECT_EQ(std::string(name, 257), std::string(256, 'a') + "z");  // no NUL added
}

TEST_F(DatabaseStandinTest, AvailabilityAdminsAndCloudNode) {
    EXPECT_NE(ZorvCommonDBUtility::Instance(), nullptr);
    EXPECT_EQ(ZorvCommonDBUtility::Instance()->GetAdminID(), qx_standin::defaults::kAdminId);
    EXPECT_TRUE(ZorvCommonDBUtility::isInAdmins(1));
    EXPECT_FALSE(ns_zorvsdk_wrap::IsCloudNode());
    qx_standin::SetDatabaseAvailable(false);
    qx_standin::SetCloudNode(true);
    EXPECT_EQ(ZorvCommonDBUtility::Instance(), nullptr);
    EXPECT_TRUE(ns_zorvsdk_wrap::IsCloudNode());

    qx_standin::ResetEmpty();
    EXPECT_FALSE(ZorvCommonDBUtility::isInAdmins(1));
    qx_standin::InjectFault(qx_standin::Call::IsCloudNode);
    EXPECT_THROW(ns_zorvsdk_wrap::IsCloudNode(), qx_standin::InjectedFault);
    EXPECT_EQ(Calls(), (Strings{"isInAdmins(1) = false", "IsCloudNode() threw"}));
}

}  // namespace
