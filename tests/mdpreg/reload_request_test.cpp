// The request RegMDPMsgOfProReLoad hands to the application manager: every
// byte of it, and the call around it.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "reload_test_support.h"
#include "standin_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ReloadRequestTest : public qx_test::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        if (!IsLittleEndian()) {
            GTEST_SKIP() << "the expected bytes are written for a little-endian host";
        }
    }

    static bool IsLittleEndian() {
        const std::uint16_t probe = 1;
        return *reinterpret_cast<const std::uint8_t*>(&probe) == 1;
    }

    static Bytes RequestFor(int first, int second, int third, long fourth) {
        const qx_test::ReloadOutcome outcome =
            qx_test::RegisterForReload(first, second, third, fourth);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.printed, "");
        return qx_test::LastRequestBytes();
    }
};

TEST_F(ReloadRequestTest, OrdinaryArgumentsFillTheirFieldsAndEverythingElseIsZero) {
    EXPECT_EQ(RequestFor(0x0102, 0x0304, 0x05, 0x06070809L),
              (Bytes{0x09, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x04, 0x03, 0x00, 0x00,
                     0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x08, 0x07, 0x06}));
}

TEST_F(ReloadRequestTest, ZeroArgumentsLeaveOnlyTheMessageType) {
    Bytes expected(24, 0x00);
    expected[0] = 0x09;
    EXPECT_EQ(RequestFor(0, 0, 0, 0), expected);
}

TEST_F(ReloadRequestTest, ArgumentsAreCutToTheirFieldWidths) {
    // 65537 -> 1, 65538 -> 2, 300 -> 44, 2^32 + 7 -> 7
    EXPECT_EQ(RequestFor(65537, 65538, 300, (1L << 32) + 7),
              (Bytes{0x09, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                     0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00}));
}

TEST_F(ReloadRequestTest, NegativeArgumentsKeepTheirLowBits) {
    EXPECT_EQ(RequestFor(-1, -2, -3, -4),
              (Bytes{0x09, 0x00, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00, 0xfe, 0xff, 0x00, 0x00,
                     0x00, 0x00, 0xfd, 0x00, 0x00, 0x00, 0x00, 0x00, 0xfc, 0xff, 0xff, 0xff}));
    EXPECT_EQ(RequestFor(INT_MIN, INT_MAX, INT_MIN + 0x7f, LONG_MIN + 0x80000001L),
              (Bytes{0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0x00, 0x00,
                     0x00, 0x00, 0x7f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x80}));
}

TEST_F(ReloadRequestTest, SendCarries20And60AndANullResponsePointer) {
    RequestFor(1, 2, 3, 4);
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "ZorvAppMgr::Instance() = non-null",
                           "ZorvSendRegReqMsgToMDP(20, [09 00 01 00 00 00 00 00 02 00 00 00 00 00 "
                           "03 00 00 00 00 00 04 00 00 00], null, 60) = 1, response (9, 0)"}));
    const std::vector<qx_standin::CallRecord> journal = qx_standin::Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1].args, (std::vector<std::int64_t>{20, 60}));
}

TEST_F(ReloadRequestTest, WritesNoTraceRecordAndTakesNoLock) {
    RequestFor(1, 2, 3, 4);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(qx_test::GetStaticLockCounts().locks, 0);
    EXPECT_EQ(qx_test::GetStaticLockCounts().unlocks, 0);
}

TEST_F(ReloadRequestTest, EachCallBuildsItsOwnRequest) {
    RequestFor(0xffff, 0xffff, 0xff, 0xffffffffL);
    Bytes expected(24, 0x00);
    expected[0] = 0x09;
    expected[2] = 0x07;
    EXPECT_EQ(RequestFor(7, 0, 0, 0), expected);
}

}  // namespace
