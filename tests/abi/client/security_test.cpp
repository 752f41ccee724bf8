// CUserSecurityMgr: what it asks of the platform, writes to the log, returns
// and leaves in the caller's containers.
#include <cstring>
#include <list>
#include <map>
#include <set>

#include "client_test.h"
#include "library.h"

namespace {

using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

constexpr long kUserNameNotDelivered = 1107329317;
constexpr long kQueryFailedWithoutCode = 1107329318;
constexpr unsigned long kWide = 1UL << 32;
const std::string kGet = "Call ZorvCommonDBUtility::ZorvGetMngDevice ,";
const std::string kNotCloud = "IsCloudNode() = false";

class SecurityTest : public ClientTest {
protected:
    // A manager whose construction is left out of the journal.
    static CUserSecurityMgr Manager(int userId) {
        CUserSecurityMgr manager(userId);
        own::ClearJournal();
        return manager;
    }
};

TEST_F(SecurityTest, ConstructionAsksTheAdministratorListOnceAndTracesTheFullId) {
    own::P().admins = {1};
    CUserSecurityMgr admin(1);
    CUserSecurityMgr other(-2);
    EXPECT_TRUE(admin.isContainsRoot());
    EXPECT_FALSE(other.isContainsRoot());
    const std::string check = "call pZorv->isInAdmins return ";
    EXPECT_EQ(own::P().journal,
              (Strings{"Instance() = db", "isInAdmins(1) = true", check + "true, userid is 1 \n",
                       "Instance() = db", "isInAdmins(4294967294) = false",
                       check + "false, userid is 18446744073709551614 \n"}));
    EXPECT_EQ(own::P().formats,
              (Strings{check + "true, userid is %d \n | ulong 1",
                       check + "false, userid is %d \n | ulong 18446744073709551614"}));
}

TEST_F(SecurityTest, LoginNameIsWrittenIntoTheCallersBuffer) {
    CUserSecurityMgr manager = Manager(42);
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    own::P().names = {{1, std::string("alice\0", 6)}, {0, "ju"}};
    EXPECT_EQ(manager.GetLoginName(buffer), 0);
    EXPECT_STREQ(buffer, "alice");
    EXPECT_EQ(manager.GetLoginName(buffer), kUserNameNotDelivered);
    EXPECT_EQ(std::string(buffer, 7), std::string("juice\0x", 7));
    EXPECT_EQ(own::P().journal, (Strings{"ZorvGetUserName(42) = 1", "ZorvGetUserName(42) = 0",
                                         "ZorvGetUserName is failed!"}));
}

TEST_F(SecurityTest, AllUsersKeepsKnownNamesCutsLongOnesAndStopsAtAFailure) {
    CUserSecurityMgr manager = Manager(42);
    std::map<int, std::string> names{{7, "old"}};
    own::P().names = {{1, std::string("seven\0", 6)}, {1, std::string(256, 'n')}, {2, ""}};
    EXPECT_EQ(manager.GetAllUser({7, -1, 9, 10}, names), kUserNameNotDelivered);
    EXPECT_EQ(names, (std::map<int, std::string>{{-1, std::string(255, 'n')}, {7, "old"}}));
    EXPECT_EQ(manager.GetAllUser({}, names), 0);
    EXPECT_EQ(own::P().journal,
              (Strings{"ZorvGetUserName(7) = 1", "ZorvGetUserName(4294967295) = 1",
                       "ZorvGetUserName(9) = 2", "ZorvGetUserName failed!"}));
}

TEST_F(SecurityTest, OneNe) {
    CUserSecurityMgr manager = Manager(42);
    own::P().devices = {{1, {5}}, {1, {}}, {0, {5}}};
    EXPECT_TRUE(manager.isNeManaged(5));
    EXPECT_FALSE(manager.isNeManaged(6));
    EXPECT_FALSE(manager.isNeManaged(5));
    EXPECT_FALSE(manager.isNeManaged(kWide + 5));
    own::P().cloud = true;
    EXPECT_TRUE(manager.isNeManaged(kWide + 5));
    EXPECT_EQ(
        own::P().journal,
        (Strings{kNotCloud, kGet + "userid = 42,neId = 5 \n",
                 "ZorvGetMngDevice(42, {5}, [], 0, false) = 1",
                 kGet + "retCode = 1, userid = 42,lstDeviceOut.size() = 1 \n", kNotCloud,
                 kGet + "userid = 42,neId = 6 \n", "ZorvGetMngDevice(42, {6}, [], 0, false) = 1",
                 kGet + "retCode = 1, userid = 42,lstDeviceOut.size() = 0 \n", kNotCloud,
                 kGet + "userid = 42,neId = 5 \n", "ZorvGetMngDevice(42, {5}, [], 0, false) = 0",
                 kGet + "retCode = 0, userid = 42,lstDeviceOut.size() = 1 \n", "ZorvService error!",
                 kNotCloud, "IsCloudNode() = true"}));
    EXPECT_EQ(own::P().formats.at(0), kGet + "userid = %d,neId = %d \n | int 42 | ulong 5");
}

TEST_F(SecurityTest, AllManagedNesIntoAVectorReplaceItOnlyOnSuccess) {
    CUserSecurityMgr manager = Manager(-1);
    own::P().cloud = true;  // not asked
    own::P().devices = {{1, {7, 3, 7, 3000000000U}}, {1, {}}, {0, {1}}, {-1, {}}};
    NeVector out{9};
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, (NeVector{7, 3, 7, 3000000000UL}));
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_TRUE(out.empty());
    out = {9};
    EXPECT_EQ(manager.GetAllManagedNE(out), kQueryFailedWithoutCode);
    EXPECT_EQ(manager.GetAllManagedNE(out), -1);
    EXPECT_EQ(out, NeVector{9});
    const std::string request = kGet + "userid = -1,GetAllManagedNE \n";
    const std::string query = "ZorvGetMngDevice(4294967295, {}, [], 0, false) = ";
    const std::string reply = kGet + "retCode = ";
    EXPECT_EQ(own::P().journal,
              (Strings{request, query + "1", reply + "1, userid = -1,vecNE.size() = 4 \n", request,
                       query + "1", reply + "1, userid = -1,vecNE.size() = 0 \n",
                       "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = -1 \n",
                       request, query + "0", reply + "0, userid = -1,vecNE.size() = 1 \n",
                       "ZorvService error! retcode = 0\n", request, query + "-1",
                       reply + "18446744073709551615, userid = -1,vecNE.size() = 0 \n",
                       "ZorvService error! retcode = 18446744073709551615\n"}));
    EXPECT_EQ(own::P().formats.at(0), kGet + "userid = %d,GetAllManagedNE \n | int -1");
}

TEST_F(SecurityTest, AllManagedNesIntoASetAlwaysReplaceItAndReturnTheAnswer) {
    CUserSecurityMgr manager = Manager(42);
    own::P().devices = {{1, {7, 3, 7}}, {0, {4}}, {2, {}}};
    NeSet out{9};
    EXPECT_EQ(manager.GetAllManagedNE(out), 1);
    EXPECT_EQ(out, (NeSet{3, 7}));
    EXPECT_EQ(manager.GetAllManagedNE(out), 0);
    EXPECT_EQ(out, NeSet{4});
    EXPECT_EQ(manager.GetAllManagedNE(out), 2);
    EXPECT_TRUE(out.empty());
    const std::string request = kGet + "userid = 42,GetAllManagedNE \n";
    const std::string query = "ZorvGetMngDevice(42, {}, [], 0, false) = ";
    const std::string reply = kGet + "retCode = ";
    EXPECT_EQ(own::P().journal,
              (Strings{request, query + "1", reply + "1, userid = 42,setNE.size() = 3 \n", request,
                       query + "0", reply + "0, userid = 42,setNE.size() = 1 \n", request,
                       query + "2", reply + "2, userid = 42,setNE.size() = 0 \n",
                       "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = 42 \n"}));
}

// Each pairing on each path: cloud, success, failure with 0, and input with
// nothing the database can be asked about.
template <typename In, typename Out>
void CheckFiltering(CUserSecurityMgr& manager, const std::string& in, const std::string& out,
                    const Out& cloudExpected) {
    SCOPED_TRACE(in + " into " + out);
    own::ClearJournal();
    own::P().cloud = true;
    Out managed{7, 8};
    EXPECT_EQ(manager.GetManagedNE(In{1, kWide + 2}, managed), 0);
    EXPECT_EQ(managed, cloudExpected);
    EXPECT_EQ(own::P().journal, Strings{"IsCloudNode() = true"});

    own::ClearJournal();
    own::P().cloud = false;
    own::P().devices = {{1, {9, 3000000000U, 5}}, {0, {5}}};
    EXPECT_EQ(manager.GetManagedNE(In{5, 5, 9, kWide + 9, 3000000000UL}, managed), 0);
    EXPECT_EQ(managed, (Out{9, 3000000000UL, 5}));
    managed = {7};
    EXPECT_EQ(manager.GetManagedNE(In{5}, managed), kQueryFailedWithoutCode);
    EXPECT_EQ(managed, Out{7});
    EXPECT_EQ(manager.GetManagedNE(In{kWide}, managed), 0);
    EXPECT_TRUE(managed.empty());
    const std::string request = kGet + "userid = 42," + in + ".size() = ";
    const std::string reply = ", userid = 42," + out + ".size() = ";
    EXPECT_EQ(own::P().journal,
              (Strings{kNotCloud, request + "3 \n",
                       "ZorvGetMngDevice(42, {5, 9, 3000000000}, [], 0, false) = 1",
                       kGet + "retCode = 1" + reply + "3 \n", kNotCloud, request + "1 \n",
                       "ZorvGetMngDevice(42, {5}, [], 0, false) = 0",
                       kGet + "retCode = 0" + reply + "1 \n", "ZorvService error!", kNotCloud}));
    EXPECT_EQ(own::P().formats.at(0),
              kGet + "userid = %d," + in + ".size() = %d \n | int 42 | ulong 3");
    EXPECT_EQ(own::P().formats.at(1), kGet + "retCode = %d, userid = %d," + out +
                                          ".size() = %d \n | ulong 1 | int 42 | ulong 3");
}

TEST_F(SecurityTest, FilteringInEveryPairing) {
    CUserSecurityMgr manager = Manager(42);
    CheckFiltering<NeList, NeList>(manager, "listNE", "listManagedNE", NeList{1, kWide + 2, 7, 8});
    CheckFiltering<NeVector, NeVector>(manager, "vecNE", "vecManagedNE",
                                       NeVector{7, 8, 1, kWide + 2});
    CheckFiltering<NeSet, NeVector>(manager, "setNE", "vecManagedNE", NeVector{7, 8, 1, kWide + 2});
    CheckFiltering<NeSet, NeSet>(manager, "setNE", "setManagedNE", NeSet{1, 7, 8, kWide + 2});
    CheckFiltering<NeVector, NeSet>(manager, "vecNE", "setManagedNE", NeSet{1, 7, 8, kWide + 2});
}

}  // namespace
