// A caller built against the original declarations, with its own platform,
// sees exactly the calls and records of the administrator registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library.h"
#include "own_platform.h"

namespace {

using Log = std::vector<std::string>;

class AdminClientTest : public ::testing::Test {
protected:
    void SetUp() override { TEUserIDMgr::Destroy(); }
    void TearDown() override { TEUserIDMgr::Destroy(); }
};

TEST_F(AdminClientTest, RegistryLivesInTheExportedPointer) {
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(TEUserIDMgr::m_pInstance, registry);
    EXPECT_EQ(TEUserIDMgr::Instance(), registry);
    TEUserIDMgr::Destroy();
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
}

TEST_F(AdminClientTest, AdminIdIsSignExtended) {
    own_platform::Reset({true, -1, {}});
    EXPECT_EQ(TEUserIDMgr::Instance()->GetAdminUserID(), -1L);
    own_platform::Reset({false, 9, {}});
    EXPECT_EQ(TEUserIDMgr::Instance()->GetAdminUserID(), 0L);
    EXPECT_EQ(own_platform::Log(), (Log{"Instance null"}));
}

TEST_F(AdminClientTest, ChecksAskLow32BitsAndTraceTheFullId) {
    own_platform::Reset({true, 1, {5}});
    EXPECT_TRUE(TEUserIDMgr::Instance()->IsAdminUserID((1UL << 32) + 5));
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(6));
    EXPECT_EQ(own_platform::Log(),
              (Log{"Instance non-null", "isInAdmins 5 true",
                   std::string("format 5120 call pZorv->isInAdmins return true, userid is %d \n ") +
                       "ulong:4294967301",
                   "write qx_sysevent 1 call pZorv->isInAdmins return true, userid is %d \n",
                   "Instance non-null", "isInAdmins 6 false",
                   "format 5120 call pZorv->isInAdmins return false, userid is %d \n ulong:6",
                   "write qx_sysevent 1 call pZorv->isInAdmins return false, userid is %d \n"}));
}

TEST_F(AdminClientTest, NoDatabaseAnswersFalseWithTheFalseRecord) {
    own_platform::Reset({false, 1, {1}});
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(1));
    EXPECT_EQ(own_platform::Log(),
              (Log{"Instance null",
                   "format 5120 call pZorv->isInAdmins return false, userid is %d \n ulong:1",
                   "write qx_sysevent 1 call pZorv->isInAdmins return false, userid is %d \n"}));
}

}  // namespace
