// RegMDPMsgOfProReLoad against the stand-in application manager: request
// bytes that a clean stack would hide, and the answers that a plain
// accept/refuse/fail check gets wrong.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/zorv_app_mgr.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"
#include "standin_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ReloadOutcome {
    int result;
    std::string printed;  // what the call wrote to standard output
};

// Leaves 0xA5 in the stack area that the next call's frames are likely to
// use, so that a request byte left unwritten shows up as non-zero.
__attribute__((noinline)) void DirtyStack() {
    volatile unsigned char junk[4096];
    for (volatile unsigned char& byte : junk) {
        byte = 0xA5;
    }
}

ReloadOutcome RegisterForReload(int first, int second, int third, long fourth) {
    (void)std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    DirtyStack();
    const int result = RegMDPMsgOfProReLoad(first, second, third, fourth);
    (void)std::fflush(stdout);
    return {result, ::testing::internal::GetCapturedStdout()};
}

// The 24 bytes of the last request the stand-in application manager saw.
Bytes LastRequestBytes() {
    Bytes bytes;
    for (const qx_standin::CallRecord& record : qx_standin::Journal()) {
        if (record.call == qx_standin::Call::SendRegReq) {
            bytes = record.bytes;
        }
    }
    return bytes;
}

class ReloadRegistrationTest : public qx_test::StandinTest {
protected:
    void TearDown() override {
        // Every response handed out was deleted by the library; a second
        // delete is the sanitizer build's to catch.
        EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
        StandinTest::TearDown();
    }
};

struct RequestCase {
    int first, second, third;
    long fourth;
    Bytes bytes;
};

TEST_F(ReloadRegistrationTest, RequestHoldsTheCutArgumentsAndZerosElsewhere) {
    const std::uint16_t probe = 1;
    if (*reinterpret_cast<const std::uint8_t*>(&probe) != 1) {
        GTEST_SKIP() << "the expected bytes are written for a little-endian host";
    }
    const RequestCase cases[] = {
        {0, 0, 0, 0, {9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // 65537 -> 1, 65538 -> 2, 300 -> 44, 2^32 + 7 -> 7
        {65537, 65538, 300, (1L << 32) + 7, {9, 0, 1,    0, 0, 0, 0, 0, 2, 0, 0, 0,
                                             0, 0, 0x2c, 0, 0, 0, 0, 0, 7, 0, 0, 0}},
        {-1, -2, -3, -4, {9, 0, 0xff, 0xff, 0, 0, 0, 0, 0xfe, 0xff, 0,    0,
                          0, 0, 0xfd, 0,    0, 0, 0, 0, 0xfc, 0xff, 0xff, 0xff}},
        {INT_MIN, INT_MAX, INT_MIN + 0x7f, LONG_MIN + 0x80000001L, {9, 0, 0,    0,    0, 0,
                                                                    0, 0, 0xff, 0xff, 0, 0,
                                                                    0, 0, 0x7f, 0,    0, 0,
                                                                    0, 0, 1,    0,    0, 0x80}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ", " + std::to_string(c.fourth));
        const ReloadOutcome outcome = RegisterForReload(c.first, c.second, c.third, c.fourth);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.printed, "");
        EXPECT_EQ(LastRequestBytes(), c.bytes);
    }
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(qx_test::GetStaticLockCounts().locks, 0);
}

struct ResponseCase {
    const char* name;
    int sendResult;  // 0: not delivered
    bool respond;
    std::uint8_t echo, refusal;
    int expected;
    const char* printed;
};

TEST_F(ReloadRegistrationTest, OnlyTheEchoWithRefusalZeroIsAccepted) {
    const ResponseCase cases[] = {
        {"highest refusal code", 1, true, 9, 255, 255, "RegMDPMsgOfProReLoad failed! result = 255"},
        {"wrong echo with a refusal", 1, true, 0, 7, -1, "RegMDPMsgOfProReLoad failed! result = 7"},
        {"negative send result", -5, true, 9, 0, 0, ""},
        {"delivered without a response", 1, false, 0, 0, -1, "RegMDPMsgOfProReLoad return false!"},
    };
    for (const ResponseCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.respond) {
            qx_standin::QueueSendResponse(c.echo, c.refusal, c.sendResult);
        } else {
            qx_standin::QueueSendWithoutResponse(c.sendResult);
        }
        const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
        EXPECT_EQ(outcome.result, c.expected);
        EXPECT_EQ(outcome.printed, c.printed);
    }
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 3u);
}

// Guards the guard: a response nobody deletes must show as alive, or the
// release checks would pass whatever the library did.
TEST_F(ReloadRegistrationTest, StandinCountsAResponseAliveUntilItIsDeleted) {
    RegReqFrame request{};
    RespToRegFrame* response = nullptr;
    ASSERT_EQ(ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, &request, response, 60), 1);
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(qx_standin::ResponsesAlive(), 1u);
    delete response;
    EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
}

}  // namespace
