// Registering for reload: the one request the MDP receives, what the library
// prints and returns, and that it deletes the response.
#include "client_test.h"
#include "library.h"

namespace {

struct ReloadCase {
    const char* name;
    int sendResult;
    bool respond;
    unsigned char echo;
    unsigned char result;
    int first, second, third;
    long fourth;
    const char* request;  // multi-byte fields in host order: this client runs on little-endian
    const char* printed;
    int expected;
};

void PrintTo(const ReloadCase& c, std::ostream* os) { *os << c.name; }

class ReloadTest : public ClientTest, public ::testing::WithParamInterface<ReloadCase> {};

TEST_P(ReloadTest, OneRequestOneAnswer) {
    const ReloadCase& c = GetParam();
    own::Platform& p = own::P();
    p.sendResult = c.sendResult;
    p.respond = c.respond;
    p.echo = c.echo;
    p.result = c.result;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RegMDPMsgOfProReLoad(c.first, c.second, c.third, c.fourth), c.expected);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_EQ(p.journal, Strings{"ZorvSendRegReqMsgToMDP(20, " + std::string(c.request) +
                                 ", null, 60) = " + std::to_string(c.sendResult)});
    EXPECT_FALSE(own::ResponseOutstanding());
}

const char* const kOneTwoThreeFour = "09000100 00000000 02000000 00000300 00000000 04000000";

INSTANTIATE_TEST_SUITE_P(
    Answers, ReloadTest,
    ::testing::Values(ReloadCase{"Accepted", 1, true, 9, 0, 0x0102, 0x0304, 0x05, 0x06070809L,
                                 "09000201 00000000 04030000 00000500 00000000 09080706", "", 0},
                      ReloadCase{"RefusedWithArgumentsCut", 1, true, 9, 3, 65537, -2, 300,
                                 (1L << 32) + 7,
                                 "09000100 00000000 feff0000 00002c00 00000000 07000000",
                                 "RegMDPMsgOfProReLoad failed! result = 3", 3},
                      ReloadCase{"AnswerToAnotherRequest", 1, true, 5, 0, 1, 2, 3, 4,
                                 kOneTwoThreeFour, "RegMDPMsgOfProReLoad failed! result = 0", -1},
                      ReloadCase{"SendFailed", 0, false, 0, 0, 1, 2, 3, 4, kOneTwoThreeFour,
                                 "RegMDPMsgOfProReLoad return false!", -1}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return info.param.name; });

}  // namespace
