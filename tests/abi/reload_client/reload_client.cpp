// A server process built against the library long ago registers for reload
// against an application manager of its own, and checks what that manager
// received, what the library printed and returned, and that each response
// was deleted.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "app_mgr_double.h"
#include "library.h"

namespace {

using Request = std::array<unsigned char, 24>;

int g_failures = 0;

template <typename T>
void Check(const char* what, const T& seen, const T& expected) {
    if (!(seen == expected)) {
        (void)std::fprintf(stderr, "FAILED: %s\n", what);
        ++g_failures;
    }
}

struct Outcome {
    int result;
    std::string printed;
};

// Runs the call with standard output redirected into a temporary file.
Outcome RegisterCapturingStdout(int first, int second, int third, long fourth) {
    (void)std::fflush(stdout);
    std::FILE* capture = std::tmpfile();
    const int savedStdout = dup(STDOUT_FILENO);
    if (capture == nullptr || savedStdout < 0 || dup2(fileno(capture), STDOUT_FILENO) < 0) {
        std::perror("capturing stdout");
        std::_Exit(2);
    }
    const int result = RegMDPMsgOfProReLoad(first, second, third, fourth);
    (void)std::fflush(stdout);
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);

    std::string printed;
    std::rewind(capture);
    for (int c = std::fgetc(capture); c != EOF; c = std::fgetc(capture)) {
        printed += static_cast<char>(c);
    }
    (void)std::fclose(capture);
    return Outcome{result, printed};
}

void Case(const char* name, int sendResult, bool respond, unsigned char echo, unsigned char code,
          const long (&args)[4], const Request& expectedRequest, const std::string& expectedPrinted,
          int expectedResult) {
    std::printf("%s\n", name);
    reload_client::ScriptNextSend(sendResult, respond, echo, code);
    const std::size_t handedOutBefore = reload_client::ResponsesHandedOut();
    const Outcome outcome = RegisterCapturingStdout(
        static_cast<int>(args[0]), static_cast<int>(args[1]), static_cast<int>(args[2]), args[3]);
    reload_client::SendSeen seen;
    Check("one send", reload_client::TakeSends(&seen), std::size_t{1});
    Check("send kind 20", int{seen.kind}, 20);
    Check("request bytes", seen.request, expectedRequest);
    Check("response pointer null on entry", seen.responseNullOnEntry, true);
    Check("send param 60", seen.param, 60);
    Check("printed text", outcome.printed, expectedPrinted);
    Check("result", outcome.result, expectedResult);
    Check("responses handed out", reload_client::ResponsesHandedOut() - handedOutBefore,
          std::size_t{respond ? 1u : 0u});
    Check("every response deleted", reload_client::ResponsesReleased(),
          reload_client::ResponsesHandedOut());
}

}  // namespace

int main() {
    // Multi-byte fields in host order; this client runs on little-endian hosts.
    Case("accepted", 1, true, 9, 0, {0x0102, 0x0304, 0x05, 0x06070809L},
         Request{0x09, 0, 0x02, 0x01, 0, 0, 0, 0, 0x04, 0x03, 0,    0,
                 0,    0, 0x05, 0,    0, 0, 0, 0, 0x09, 0x08, 0x07, 0x06},
         "", 0);
    Case("refused, arguments cut", 1, true, 9, 3, {65537, -2, 300, (1L << 32) + 7},
         Request{0x09, 0, 0x01, 0x00, 0, 0, 0, 0, 0xfe, 0xff, 0,    0,
                 0,    0, 0x2c, 0,    0, 0, 0, 0, 0x07, 0x00, 0x00, 0x00},
         "RegMDPMsgOfProReLoad failed! result = 3", 3);
    Case("answer to another request", 1, true, 5, 0, {1, 2, 3, 4},
         Request{0x09, 0, 0x01, 0, 0, 0, 0, 0, 0x02, 0, 0, 0,
                 0,    0, 0x03, 0, 0, 0, 0, 0, 0x04, 0, 0, 0},
         "RegMDPMsgOfProReLoad failed! result = 0", -1);
    Case("send failed", 0, false, 0, 0, {1, 2, 3, 4},
         Request{0x09, 0, 0x01, 0, 0, 0, 0, 0, 0x02, 0, 0, 0,
                 0,    0, 0x03, 0, 0, 0, 0, 0, 0x04, 0, 0, 0},
         "RegMDPMsgOfProReLoad return false!", -1);

    if (g_failures != 0) {
        (void)std::fprintf(stderr, "%d check(s) failed\n", g_failures);
        return 1;
    }
    std::printf("all checks passed\n");
    return 0;
}
