// RegMDPMsgOfProReLoad. State asserted after every run: no response record
// handed out by the application manager is left unreleased; the result, when
// the call completed.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "operation.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"

namespace qx_faults {
namespace {

constexpr int kNotAccepted = -1;

// `respond`: the send delivers the response (9, refusal); otherwise it fails.
Operation Registering(const char* name, bool respond, std::uint8_t refusal, int expected) {
    return {name, [respond, refusal, expected] {
                qx_standin::Reset();
                if (respond) {
                    qx_standin::QueueSendResponse(9, refusal);
                } else {
                    qx_standin::QueueSendWithoutResponse(0);
                }
                auto result = std::make_shared<int>(-2);
                return Attempt{[result] { *result = RegMDPMsgOfProReLoad(1, 2, 3, 4); },
                               [result, expected](bool completed) {
                                   EXPECT_EQ(*result, completed ? expected : -2);
                                   EXPECT_EQ(qx_standin::ResponsesAlive(), 0U);
                               }};
            }};
}

}  // namespace

std::vector<Operation> ReloadOperations() {
    return {Registering("RegMDPMsgOfProReLoad, accepted", true, 0, 0),
            Registering("RegMDPMsgOfProReLoad, refused", true, 3, 3),
            Registering("RegMDPMsgOfProReLoad, not delivered", false, 0, kNotAccepted)};
}

}  // namespace qx_faults
