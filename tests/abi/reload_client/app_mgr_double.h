// The client's own application manager: one scripted answer per send, a log
// of what each send received, and a watch on the responses it handed out.
#pragma once

#include <array>
#include <cstddef>

namespace reload_client {

struct SendSeen {
    unsigned char kind = 0;
    std::array<unsigned char, 24> request{};
    bool responseNullOnEntry = false;
    int param = 0;
};

// The next send returns `sendResult` and, when `respond`, hands out a new
// response (echo, result).
void ScriptNextSend(int sendResult, bool respond, unsigned char echo, unsigned char result);
// Sends since the last call, and forgets them.
std::size_t TakeSends(SendSeen* last);

std::size_t ResponsesHandedOut();
std::size_t ResponsesReleased();  // of those, the ones deleted

}  // namespace reload_client
