// What RegMDPMsgOfProReLoad makes of the application manager's answer: its
// result, its message on standard output, and the release of the response.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "allocation_seam.h"
#include "platform/zorv_app_mgr.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"
#include "reload_test_support.h"
#include "standin_fixture.h"

namespace {

using qx_standin::Call;
using qx_test::RegisterForReload;
using qx_test::ReloadOutcome;

class ReloadResponseTest : public qx_test::StandinTest {
protected:
    void TearDown() override {
        // Every response handed out was deleted by the library, once; a second
        // delete is the sanitizer build's to catch.
        EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
        StandinTest::TearDown();
    }

    static std::string SendResult() {
        const std::vector<std::string> calls = Calls();
        const std::string& send = calls.empty() ? std::string() : calls.back();
        const auto at = send.find(") = ");
        return at == std::string::npos ? send : send.substr(at + 4);
    }
};

TEST_F(ReloadResponseTest, AcceptedRegistrationPrintsNothingAndReturnsZero) {
    qx_standin::QueueSendResponse(9, 0);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.printed, "");
    EXPECT_EQ(SendResult(), "1, response (9, 0)");
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 1u);
}

TEST_F(ReloadResponseTest, RefusalPrintsAndReturnsItsCode) {
    qx_standin::QueueSendResponse(9, 3);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, 3);
    EXPECT_EQ(outcome.printed, "RegMDPMsgOfProReLoad failed! result = 3");
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 1u);
}

TEST_F(ReloadResponseTest, HighestRefusalCodeIsPrintedUnsigned) {
    qx_standin::QueueSendResponse(9, 255);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, 255);
    EXPECT_EQ(outcome.printed, "RegMDPMsgOfProReLoad failed! result = 255");
}

TEST_F(ReloadResponseTest, AnswerToAnotherRequestPrintsItsResultAndReturnsMinusOne) {
    qx_standin::QueueSendResponse(5, 0);
    const ReloadOutcome accepted = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(accepted.result, -1);
    EXPECT_EQ(accepted.printed, "RegMDPMsgOfProReLoad failed! result = 0");

    qx_standin::QueueSendResponse(0, 7);
    const ReloadOutcome refused = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(refused.result, -1);
    EXPECT_EQ(refused.printed, "RegMDPMsgOfProReLoad failed! result = 7");
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 2u);
}

TEST_F(ReloadResponseTest, FailedSendPrintsReturnFalseAndReleasesNothing) {
    qx_standin::QueueSendWithoutResponse(0);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_EQ(outcome.printed, "RegMDPMsgOfProReLoad return false!");
    EXPECT_EQ(SendResult(), "0");
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 0u);
}

TEST_F(ReloadResponseTest, AnyNonZeroSendResultMeansDelivered) {
    qx_standin::QueueSendResponse(9, 0, -5);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.printed, "");
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 1u);
}

TEST_F(ReloadResponseTest, DeliveryWithoutResponseIsTakenAsFailedSend) {
    qx_standin::QueueSendWithoutResponse(1);
    const ReloadOutcome outcome = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_EQ(outcome.printed, "RegMDPMsgOfProReLoad return false!");
}

TEST_F(ReloadResponseTest, SuccessiveCallsKeepNothingBetweenThem) {
    qx_standin::QueueSendResponse(9, 3);
    qx_standin::QueueSendWithoutResponse(0);
    qx_standin::SetDefaultSendResponse(9, 0);
    EXPECT_EQ(RegisterForReload(1, 2, 3, 4).result, 3);
    EXPECT_EQ(RegisterForReload(1, 2, 3, 4).result, -1);
    const ReloadOutcome third = RegisterForReload(1, 2, 3, 4);
    EXPECT_EQ(third.result, 0);
    EXPECT_EQ(third.printed, "");
    EXPECT_EQ(qx_standin::CountCalls(Call::SendRegReq), 3u);
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 2u);
}

TEST_F(ReloadResponseTest, PlatformExceptionsPropagateWithNothingPrintedOrLeaked) {
    qx_standin::InjectFault(Call::AppMgrInstance);
    const ReloadOutcome noManager = RegisterForReload(1, 2, 3, 4);
    EXPECT_TRUE(noManager.faulted);
    EXPECT_EQ(noManager.printed, "");
    EXPECT_EQ(Calls(), std::vector<std::string>{"ZorvAppMgr::Instance() threw"});

    qx_standin::ClearJournal();
    qx_standin::InjectFault(Call::SendRegReq);
    const ReloadOutcome noSend = RegisterForReload(1, 2, 3, 4);
    EXPECT_TRUE(noSend.faulted);
    EXPECT_EQ(noSend.printed, "");
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "ZorvAppMgr::Instance() = non-null",
                           "ZorvSendRegReqMsgToMDP(20, [09 00 01 00 00 00 00 00 02 00 00 00 00 00 "
                           "03 00 00 00 00 00 04 00 00 00], null, 60) threw"}));
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 0u);
}

// The library allocates nothing itself; a failed allocation in the platform
// leaves the call without a response to lose.
TEST_F(ReloadResponseTest, AllocationFailuresPropagateAndLeakNoResponse) {
    qx_standin::SetDefaultSendResponse(9, 0);
    for (long n = 1;; ++n) {
        bool threw = false;
        int result = -2;
        bool struck = false;
        {
            const qx_test::ScopedNthAllocationFailure failure(n);
            try {
                result = RegMDPMsgOfProReLoad(1, 2, 3, 4);
            } catch (const std::bad_alloc&) {
                threw = true;
            }
            struck = qx_test::AllocationFailureStruck();
        }
        EXPECT_EQ(qx_standin::ResponsesAlive(), 0u) << "failing allocation " << n;
        if (!struck) {
            EXPECT_EQ(result, 0);
            EXPECT_GT(n, 1);
            break;
        }
        EXPECT_TRUE(threw) << "failing allocation " << n;
    }
}

// Guards the guard: a response nobody deletes must show as alive, or the
// release checks above would pass whatever the library did.
TEST_F(ReloadResponseTest, StandinCountsAResponseAliveUntilItIsDeleted) {
    RegReqFrame request{};
    RespToRegFrame* response = nullptr;
    ASSERT_EQ(ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(20, &request, response, 60), 1);
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(qx_standin::ResponsesAlive(), 1u);
    delete response;
    EXPECT_EQ(qx_standin::ResponsesAlive(), 0u);
    EXPECT_EQ(qx_standin::ResponsesHandedOut(), 1u);
}

}  // namespace
