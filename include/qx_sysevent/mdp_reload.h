/// @file
/// Registration of the process-reload message with the message dispatcher.
#pragma once

#include "qx_sysevent/export.h"

/// Registers this process for the reload message with the MDP (message
/// dispatcher), through the platform's
/// ZorvAppMgr::ZorvSendRegReqMsgToMDP(). Each argument fills the request
/// field of its name, cut to the field's width: `firstArg` bytes 2-3 (16
/// bits), `secondArg` bytes 8-9 (16 bits), `thirdArg` byte 14 (8 bits),
/// `fourthArg` bytes 20-23 (32 bits); byte 0 is the message type 9, the other
/// bytes are zero. Failures are also printed to standard output, without a
/// newline. Takes no lock and blocks as long as the send does; concurrent
/// calls are as safe as the platform's application manager.
/// @return 0 when the MDP accepted; its refusal code (1 to 255) when it
/// refused; qx_sysevent::kReloadUnanswered when the request was not delivered
/// or the answer was not one to it.
QX_SYSEVENT_EXPORT int RegMDPMsgOfProReLoad(int firstArg, int secondArg, int thirdArg,
                                            long fourthArg);
