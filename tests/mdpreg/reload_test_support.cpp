#include "reload_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"

namespace qx_test {
namespace {

// Leaves 0xA5 in the stack area that the next call's frames are likely to use.
__attribute__((noinline)) void DirtyStack() {
    volatile unsigned char junk[4096];
    for (volatile unsigned char& byte : junk) {
        byte = 0xA5;
    }
}

}  // namespace

ReloadOutcome RegisterForReload(int first, int second, int third, long fourth) {
    (void)std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    ReloadOutcome outcome{};
    try {
        DirtyStack();
        outcome.result = RegMDPMsgOfProReLoad(first, second, third, fourth);
    } catch (const qx_standin::InjectedFault&) {
        outcome.faulted = true;
    } catch (...) {
        (void)std::fflush(stdout);
        ::testing::internal::GetCapturedStdout();
        throw;
    }
    (void)std::fflush(stdout);
    outcome.printed = ::testing::internal::GetCapturedStdout();
    return outcome;
}

std::vector<std::uint8_t> LastRequestBytes() {
    std::vector<std::uint8_t> bytes;
    for (const qx_standin::CallRecord& record : qx_standin::Journal()) {
        if (record.call == qx_standin::Call::SendRegReq) {
            bytes = record.bytes;
        }
    }
    return bytes;
}

}  // namespace qx_test
