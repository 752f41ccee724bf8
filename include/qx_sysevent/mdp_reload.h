// Registration of the process-reload message with the message dispatcher.
#pragma once

#include "qx_sysevent/export.h"

QX_SYSEVENT_EXPORT int RegMDPMsgOfProReLoad(int, int, int, long);
