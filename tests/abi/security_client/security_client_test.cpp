// A caller built only against the pinned declarations, with a platform of
// its own: what CUserSecurityMgr asks of the platform, writes to the log,
// returns and leaves in the caller's containers.
#include <gtest/gtest.h>

#include <cstring>
#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../pinned/library.h"
#include "fake_platform.h"

namespace {

using Strings = std::vector<std::string>;
using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

constexpr long kUserNameNotDelivered = 1107329317;
constexpr long kQueryFailedWithoutCode = 1107329318;
constexpr unsigned long kWide = 1UL << 32;

const std::string kGet = "Call ZorvCommonDBUtility::ZorvGetMngDevice ,";

class SecurityClient : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    void TearDown() override { EXPECT_FALSE(fake::State().traceShapeBroken); }

    CUserSecurityMgr Manager(int userId) {
        CUserSecurityMgr manager(userId);
        fake::State().journal.clear();
        fake::State().records.clear();
        return manager;
    }
    static Strings Journal() { return fake::State().journal; }
    static Strings Calls() { return fake::PlatformCalls(); }
    static Strings Records() { return fake::State().records; }
};

TEST_F(SecurityClient, ConstructionAsksTheAdministratorListOnceAndTracesTheFullId) {
    fake::State().admins = {1};
    CUserSecurityMgr admin(1);
    EXPECT_TRUE(admin.isContainsRoot());
    CUserSecurityMgr negative(-2);
    EXPECT_FALSE(negative.isContainsRoot());
    const std::string check = "call pZorv->isInAdmins return ";
    const std::string adminFormat = check + "true, userid is %d \\n";
    const std::string otherFormat = check + "false, userid is %d \\n";
    EXPECT_EQ(Journal(),
              (Strings{
                  "Instance() = db",
                  "isInAdmins(1) = true",
                  "QXTrace2Str(5120, \"" + adminFormat + "\", ulong 1)",
                  "QXTrace2LogFile(\"qx_sysevent\", 1, \"" + check + "true, userid is 1 \\n\")",
                  "Instance() = db",
                  "isInAdmins(4294967294) = false",
                  "QXTrace2Str(5120, \"" + otherFormat + "\", ulong 18446744073709551614)",
                  "QXTrace2LogFile(\"qx_sysevent\", 1, \"" + check +
                      "false, userid is 18446744073709551614 \\n\")",
              }));
    fake::State().journal.clear();
    admin.isContainsRoot();
    EXPECT_TRUE(Journal().empty());
}

TEST_F(SecurityClient, LoginName) {
    CUserSecurityMgr manager = Manager(42);
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    fake::State().nameAnswers = {{1, std::string("alice\0", 6)}, {0, "ju"}};
    EXPECT_EQ(manager.GetLoginName(buffer), 0);
    EXPECT_STREQ(buffer, "alice");
    EXPECT_EQ(manager.GetLoginName(buffer), kUserNameNotDelivered);
    EXPECT_EQ(std::string(buffer, 7), std::string("juice\0x", 7));
    EXPECT_EQ(Journal(), (Strings{"ZorvGetUserName(42) = 1", "ZorvGetUserName(42) = 0",
                                  "QXTrace2Str(5120, \"ZorvGetUserName is failed!\")",
                                  "QXTrace2LogFile(\"qx_sysevent\", 1, \"ZorvGetUserName is "
                                  "failed!\")"}));
}

TEST_F(SecurityClient, AllUsers) {
    CUserSecurityMgr manager = Manager(42);
    std::map<int, std::string> names{{7, "old"}};
    fake::State().nameAnswers = {
        {1, std::string("seven\0", 6)}, {1, std::string(256, 'n')}, {2, ""}};
    EXPECT_EQ(manager.GetAllUser({7, -1, 9, 10}, names), kUserNameNotDelivered);
    EXPECT_EQ(names, (std::map<int, std::string>{{-1, std::string(255, 'n')}, {7, "old"}}));
    EXPECT_EQ(Calls(), (Strings{"ZorvGetUserName(7) = 1", "ZorvGetUserName(4294967295) = 1",
                                "ZorvGetUserName(9) = 2"}));
    EXPECT_EQ(Records(), Strings{"ZorvGetUserName failed!"});
    EXPECT_EQ(manager.GetAllUser({}, names), 0);
}

TEST_F(SecurityClient, OneNe) {
    CUserSecurityMgr manager = Manager(42);
    fake::State().deviceAnswers = {{1, {5}}, {1, {}}, {0, {5}}};
    EXPECT_TRUE(manager.isNeManaged(5));
    EXPECT_FALSE(manager.isNeManaged(6));
    EXPECT_FALSE(manager.isNeManaged(5));
    EXPECT_FALSE(manager.isNeManaged(kWide + 5));
    EXPECT_EQ(Calls(),
              (Strings{"IsCloudNode() = false", "ZorvGetMngDevice(42, {5}, [], 0, false) = 1",
                       "IsCloudNode() = false", "ZorvGetMngDevice(42, {6}, [], 0, false) = 1",
                       "IsCloudNode() = false", "ZorvGetMngDevice(42, {5}, [], 0, false) = 0",
                       "IsCloudNode() = false"}));
    EXPECT_EQ(Journal()[1],
              "QXTrace2Str(5120, \"" + kGet + "userid = %d,neId = %d \\n\", int 42, ulong 5)");
    EXPECT_EQ(Records(), (Strings{kGet + "userid = 42,neId = 5 \n",
                                  kGet + "retCode = 1, userid = 42,lstDeviceOut.size() = 1 \n",
                                  kGet + "userid = 42,neId = 6 \n",
                                  kGet + "retCode = 1, userid = 42,lstDeviceOut.size() = 0 \n",
                                  kGet + "userid = 42,neId = 5 \n",
                                  kGet + "retCode = 0, userid = 42,lstDeviceOut.size() = 1 \n",
                                  "ZorvService error!"}));
    fake::State().cloud = true;
    fake::State().journal.clear();
    EXPECT_TRUE(manager.isNeManaged(kWide + 5));
    EXPECT_EQ(Journal(), Strings{"IsCloudNode() = true"});
}

TEST_F(SecurityClient, AllManagedNesIntoAVector) {
    CUserSecurityMgr manager = Manager(-1);
    fake::State().cloud = true;  // not asked
    fake::State().deviceAnswers = {{1, {7, 3, 7, 3000000000U}}, {1, {}}, {0, {1}}, {-1, {}}};
    NeVector out{9};
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, (NeVector{7, 3, 7, 3000000000UL}));
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_TRUE(out.empty());
    out = {9};
    EXPECT_EQ(manager.GetAllManagedNE(out), kQueryFailedWithoutCode);
    EXPECT_EQ(manager.GetAllManagedNE(out), -1);
    EXPECT_EQ(out, NeVector{9});
    const std::string query = "ZorvGetMngDevice(4294967295, {}, [], 0, false) = ";
    EXPECT_EQ(Calls(), (Strings{query + "1", query + "1", query + "0", query + "-1"}));
    const std::string request = kGet + "userid = -1,GetAllManagedNE \n";
    EXPECT_EQ(Records(),
              (Strings{request, kGet + "retCode = 1, userid = -1,vecNE.size() = 4 \n", request,
                       kGet + "retCode = 1, userid = -1,vecNE.size() = 0 \n",
                       "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = -1 \n",
                       request, kGet + "retCode = 0, userid = -1,vecNE.size() = 1 \n",
                       "ZorvService error! retcode = 0\n", request,
                       kGet + "retCode = 18446744073709551615, userid = -1,vecNE.size() = 0 \n",
                       "ZorvService error! retcode = 18446744073709551615\n"}));
    EXPECT_EQ(Journal()[0],
              "QXTrace2Str(5120, \"" + kGet + "userid = %d,GetAllManagedNE \\n\", int -1)");
}

TEST_F(SecurityClient, AllManagedNesIntoASet) {
    CUserSecurityMgr manager = Manager(42);
    fake::State().deviceAnswers = {{1, {7, 3, 7}}, {0, {4}}, {2, {}}};
    NeSet out{9};
    EXPECT_EQ(manager.GetAllManagedNE(out), 1);
    EXPECT_EQ(out, (NeSet{3, 7}));
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, NeSet{4});
    EXPECT_EQ(manager.GetAllManagedNE(out), 2);
    EXPECT_TRUE(out.empty());
    const std::string request = kGet + "userid = 42,GetAllManagedNE \n";
    EXPECT_EQ(Records(),
              (Strings{request, kGet + "retCode = 1, userid = 42,setNE.size() = 3 \n", request,
                       kGet + "retCode = 0, userid = 42,setNE.size() = 1 \n", request,
                       kGet + "retCode = 2, userid = 42,setNE.size() = 0 \n",
                       "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = 42 \n"}));
    EXPECT_EQ(Calls().size(), 3U);
}

// One filtering call per pairing on each path: cloud, success, failure with
// 0, and input with nothing the database can be asked about.
template <typename In, typename Out>
void CheckFiltering(CUserSecurityMgr& manager, const std::string& inKind,
                    const std::string& outKind, const Out& cloudExpected) {
    fake::Platform& p = fake::State();
    p.journal.clear();
    p.records.clear();

    p.cloud = true;
    Out out{7, 8};
    EXPECT_EQ(manager.GetManagedNE(In{1, kWide + 2}, out), 0);
    EXPECT_EQ(out, cloudExpected);
    EXPECT_EQ(fake::PlatformCalls(), Strings{"IsCloudNode() = true"});
    EXPECT_TRUE(p.records.empty());

    p.cloud = false;
    p.journal.clear();
    p.deviceAnswers = {{1, {9, 3000000000U, 5}}, {0, {5}}};
    EXPECT_EQ(manager.GetManagedNE(In{5, 5, 9, kWide + 9, 3000000000UL}, out), 0);
    EXPECT_EQ(out, (Out{9, 3000000000UL, 5}));
    out = {7};
    EXPECT_EQ(manager.GetManagedNE(In{5}, out), kQueryFailedWithoutCode);
    EXPECT_EQ(out, Out{7});
    EXPECT_EQ(manager.GetManagedNE(In{kWide}, out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(fake::PlatformCalls(),
              (Strings{"IsCloudNode() = false",
                       "ZorvGetMngDevice(42, {5, 9, 3000000000}, [], 0, false) = 1",
                       "IsCloudNode() = false", "ZorvGetMngDevice(42, {5}, [], 0, false) = 0",
                       "IsCloudNode() = false"}));
    EXPECT_EQ(p.records, (Strings{kGet + "userid = 42," + inKind + ".size() = 3 \n",
                                  kGet + "retCode = 1, userid = 42," + outKind + ".size() = 3 \n",
                                  kGet + "userid = 42," + inKind + ".size() = 1 \n",
                                  kGet + "retCode = 0, userid = 42," + outKind + ".size() = 1 \n",
                                  "ZorvService error!"}));
    EXPECT_EQ(p.journal.at(1), "QXTrace2Str(5120, \"" + kGet + "userid = %d," + inKind +
                                   ".size() = %d \\n\", int 42, ulong 3)");
    EXPECT_EQ(p.journal.at(4), "QXTrace2Str(5120, \"" + kGet + "retCode = %d, userid = %d," +
                                   outKind + ".size() = %d \\n\", ulong 1, int 42, ulong 3)");
}

TEST_F(SecurityClient, FilteringInEveryPairing) {
    CUserSecurityMgr manager = Manager(42);
    CheckFiltering<NeList, NeList>(manager, "listNE", "listManagedNE", NeList{1, kWide + 2, 7, 8});
    CheckFiltering<NeVector, NeVector>(manager, "vecNE", "vecManagedNE",
                                       NeVector{7, 8, 1, kWide + 2});
    CheckFiltering<NeSet, NeVector>(manager, "setNE", "vecManagedNE", NeVector{7, 8, 1, kWide + 2});
    CheckFiltering<NeSet, NeSet>(manager, "setNE", "setManagedNE", NeSet{1, 7, 8, kWide + 2});
    CheckFiltering<NeVector, NeSet>(manager, "vecNE", "setManagedNE", NeSet{1, 7, 8, kWide + 2});
}

}  // namespace
