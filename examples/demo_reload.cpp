#include <cstdio>
#include <string>

#include "demo_sections.h"
#include "qx_standin/app_mgr.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/mdp_reload.h"

namespace demo {
namespace {

// The library prints its failures without a newline; the line break keeps
// them apart from the answer that follows.
void RegisterAndShow(const std::string& situation) {
    std::printf("  %s, prints: ", situation.c_str());
    const int result = RegMDPMsgOfProReLoad(1, 2, 3, 4);
    std::printf("\n");
    Answer("RegMDPMsgOfProReLoad(1, 2, 3, 4)", std::to_string(result));
    for (const std::string& call : qx_standin::PlatformCalls()) {
        std::printf("    platform %s\n", call.c_str());
    }
    qx_standin::ClearJournal();
}

}  // namespace

void RunReloadSection() {
    Heading("Reload registration with the MDP");
    qx_standin::ClearJournal();
    RegisterAndShow("the MDP accepts");
    qx_standin::QueueSendResponse(9, 3);
    RegisterAndShow("the MDP refuses with code 3");
    qx_standin::QueueSendResponse(5, 0);
    RegisterAndShow("an answer to another request");
    qx_standin::QueueSendWithoutResponse();
    RegisterAndShow("the send fails");
    Answer("responses handed out (the library deletes each)",
           std::to_string(qx_standin::ResponsesHandedOut()));
}

}  // namespace demo
