#include <ace/OS_NS_stdio.h>

#include <cstdint>
#include <memory>

#include "platform/zorv_app_mgr.h"
#include "qx_sysevent/mdp_reload.h"
#include "qx_sysevent/result_codes.h"

namespace {

// What the MDP expects of a reload registration: the message type of the
// request, and the two values the send carries besides the records.
constexpr std::uint8_t kReloadRegistration = 9;
constexpr unsigned char kSendKind = 20;
constexpr int kSendParam = 60;

RegReqFrame BuildRequest(int first, int second, int third, long fourth) {
    // Value-initialised: the zero fields, and the unused ones, which leave the
    // process as zero rather than as stale stack bytes.
    RegReqFrame request{};
    request.msgType = kReloadRegistration;
    request.firstArg = static_cast<std::uint16_t>(first);
    request.secondArg = static_cast<std::uint16_t>(second);
    request.thirdArg = static_cast<std::uint8_t>(third);
    request.fourthArg = static_cast<std::uint32_t>(fourth);
    return request;
}

}  // namespace

int RegMDPMsgOfProReLoad(int firstArg, int secondArg, int thirdArg, long fourthArg) {
    RegReqFrame request = BuildRequest(firstArg, secondArg, thirdArg, fourthArg);
    RespToRegFrame* response = nullptr;
    const int sent =
        ZorvAppMgr::Instance()->ZorvSendRegReqMsgToMDP(kSendKind, &request, response, kSendParam);
    // A delivery without a response breaks the platform's contract; it is
    // taken as the failure it amounts to rather than read through null.
    if (sent == 0 || response == nullptr) {
        ACE_OS::printf("RegMDPMsgOfProReLoad return false!");
        return qx_sysevent::kReloadUnanswered;
    }
    const std::unique_ptr<RespToRegFrame> owned(response);
    const bool echoed = owned->echo == request.msgType;
    if (!echoed || owned->result != 0) {
        ACE_OS::printf("RegMDPMsgOfProReLoad failed! result = %d", int{owned->result});
    }
    return echoed ? int{owned->result} : qx_sysevent::kReloadUnanswered;
}
