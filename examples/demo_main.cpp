// An example server process: it uses each job of libqx_sysevent against the
// stand-in platform's built-in data set and prints the answers together with
// the trace records the library wrote.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_sections.h"
#include "qx_standin/standin.h"

int main(int argc, char** argv) {
    qx_standin::Reset();
    const std::string logFile = argc > 1 ? argv[1] : "qx_demo_trace.log";
    qx_standin::SetTraceLogFile(logFile);
    std::printf(
        "qx_sysevent demo: an example server process, run on the stand-in platform.\n"
        "Each line gives a call and its answer. Lines \"trace [module/type] text\" are the\n"
        "trace records the call wrote; a newline inside a text is shown as \\n. The records\n"
        "also go to %s.\n",
        logFile.c_str());

    demo::RunAdminSection();
    demo::RunSecuritySection();
    demo::RunEventsSection();
    demo::RunReloadSection();

    qx_standin::SetTraceLogFile("");
    std::printf("\ndone\n");
    return EXIT_SUCCESS;
}
