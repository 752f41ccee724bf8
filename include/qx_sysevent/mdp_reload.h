// Registration of the process-reload message with the message dispatcher.
#pragma once

#include "qx_sysevent/export.h"

// Registers this process for the reload message with the MDP, through the
// platform's application manager. The arguments fill the request's fields,
// cut to their widths: 16, 16, 8 and 32 bits. Returns 0 when the MDP accepted,
// its refusal code (1 to 255) when it refused, and -1 when the request was not
// delivered or the answer was not one to it. Failures are also printed to
// standard output, without a newline. Blocks as long as the send does.
QX_SYSEVENT_EXPORT int RegMDPMsgOfProReLoad(int, int, int, long);
