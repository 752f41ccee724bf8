// Helpers of the reload registration tests: a call with its standard output,
// and the request the stand-in received.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx_test {

struct ReloadOutcome {
    int result;
    std::string printed;   // what the call wrote to standard output
    bool faulted = false;  // an injected platform fault left the call
};

// Calls RegMDPMsgOfProReLoad on a stack dirtied beforehand, so that a request
// byte left unwritten shows up as non-zero. An injected platform fault that
// leaves the call is caught and reported in the outcome.
ReloadOutcome RegisterForReload(int first, int second, int third, long fourth);

// The 24 bytes of the last request the stand-in application manager saw.
std::vector<std::uint8_t> LastRequestBytes();

}  // namespace qx_test
