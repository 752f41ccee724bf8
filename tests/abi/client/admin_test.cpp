// The administrator registry: its exported instance pointer, and what its
// answers ask of the database and write to the log.
#include "client_test.h"
#include "library.h"

namespace {

class AdminTest : public ClientTest {
protected:
    void SetUp() override {
        TEUserIDMgr::Destroy();
        ClientTest::SetUp();
    }
    void TearDown() override {
        TEUserIDMgr::Destroy();
        ClientTest::TearDown();
    }
};

TEST_F(AdminTest, RegistryLivesInTheExportedPointer) {
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(TEUserIDMgr::m_pInstance, registry);
    EXPECT_EQ(TEUserIDMgr::Instance(), registry);
    TEUserIDMgr::Destroy();
    EXPECT_EQ(TEUserIDMgr::m_pInstance, nullptr);
}

TEST_F(AdminTest, AdminIdIsSignExtendedAndZeroWithoutDatabase) {
    own::P().adminId = -1;
    EXPECT_EQ(TEUserIDMgr::Instance()->GetAdminUserID(), -1L);
    own::P().databaseAvailable = false;
    EXPECT_EQ(TEUserIDMgr::Instance()->GetAdminUserID(), 0L);
    EXPECT_EQ(own::P().journal,
              (Strings{"Instance() = db", "GetAdminID() = -1", "Instance() = null"}));
}

// Asks about the low 32 bits and traces the whole id; no database is no admin.
TEST_F(AdminTest, AdminCheckAsksTheDatabaseEachTime) {
    own::P().admins = {5};
    EXPECT_TRUE(TEUserIDMgr::Instance()->IsAdminUserID((1UL << 32) + 5));
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(6));
    own::P().databaseAvailable = false;
    EXPECT_FALSE(TEUserIDMgr::Instance()->IsAdminUserID(5));
    const std::string record = "call pZorv->isInAdmins return ";
    EXPECT_EQ(own::P().journal,
              (Strings{"Instance() = db", "isInAdmins(5) = true",
                       record + "true, userid is 4294967301 \n", "Instance() = db",
                       "isInAdmins(6) = false", record + "false, userid is 6 \n",
                       "Instance() = null", record + "false, userid is 5 \n"}));
    EXPECT_EQ(own::P().formats, (Strings{record + "true, userid is %d \n | ulong 4294967301",
                                         record + "false, userid is %d \n | ulong 6",
                                         record + "false, userid is %d \n | ulong 5"}));
}

}  // namespace
