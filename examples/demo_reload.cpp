#include <cstdio>
#include <string>

#include "demo_sections.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"

namespace demo {
namespace {

// The library prints its failures to standard output, without a newline;
// the demo shows them on a line of their own, and says when there are none.
void RegisterAndShow(const std::string& situation) {
    std::printf("  %s:\n", situation.c_str());
    int result = 0;
    const std::string printed =
        CaptureStandardOutput([&result] { result = RegMDPMsgOfProReLoad(1, 2, 3, 4); });
    Answer("RegMDPMsgOfProReLoad(1, 2, 3, 4)", std::to_string(result));
    Answer("printed", printed.empty() ? "nothing" : "\"" + printed + "\"");
    for (const std::string& call : qx_standin::PlatformCalls()) {
        std::printf("    platform %s\n", call.c_str());
    }
    qx_standin::ClearJournal();
}

}  // namespace

void RunReloadSection() {
    Heading(
        "Reload registration with the MDP",
        {"Four answers of the MDP (message dispatcher), scripted on the stand-in: for each, the",
         "result, what the library printed and the platform calls it made. The request is 24",
         "bytes, type 9 and the arguments 1 to 4 in the host's byte order; a response is",
         "(echo, result)."});
    qx_standin::ClearJournal();
    RegisterAndShow("the MDP accepts");
    qx_standin::QueueSendResponse(9, 3);
    RegisterAndShow("the MDP refuses with code 3");
    qx_standin::QueueSendResponse(5, 0);
    RegisterAndShow("an answer to another request (type 5, not 9)");
    qx_standin::QueueSendWithoutResponse();
    RegisterAndShow("the send fails");
    Answer("responses handed out (the library deletes each)",
           std::to_string(qx_standin::ResponsesHandedOut()));
}

}  // namespace demo
