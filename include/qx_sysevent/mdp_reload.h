/// @file
/// Registration of the process-reload message with the message dispatcher.
#pragma once

#include "qx_sysevent/export.h"

// In quoted texts below, %% is Doxygen's escape for %.

/// Registers this process for the reload message with the MDP (message
/// dispatcher), through the platform's
/// ZorvAppMgr::ZorvSendRegReqMsgToMDP(). Takes no lock and blocks as long as
/// the send does; concurrent calls are as safe as the platform's application
/// manager. Writes no trace record.
///
/// The request is 24 bytes. Each argument fills the field of its name, cut
/// to the field's width: `firstArg` bytes 2-3 (16 bits), `secondArg` bytes
/// 8-9 (16 bits), `thirdArg` byte 14 (8 bits), `fourthArg` bytes 20-23 (32
/// bits); byte 0 is the message type 9, the other bytes are zero. Fields are
/// in the host's byte order, as the MDP on that host reads them: `firstArg`
/// 0x0102 is sent as bytes 02 01 on a little-endian host and as 01 02 on a
/// big-endian one. Proven on x86-64, arm64 (little-endian) and s390x
/// (big-endian).
///
/// Printed to standard output, without a newline, never on acceptance:
/// `RegMDPMsgOfProReLoad return false!` when the send fails (it returns 0)
/// or hands back no response; `RegMDPMsgOfProReLoad failed! result = %%d`
/// when a response is not acceptance, with the response's result byte: the
/// refusal code when the MDP refused, and whatever the byte holds (0
/// included) when the answer was not one to this request.
///
/// Exceptions: what ZorvAppMgr::Instance() and ZorvSendRegReqMsgToMDP()
/// throw passes to the caller unchanged; the library catches none. A
/// response handed back is deleted on every way out.
/// @return 0 when the MDP accepted; its refusal code (1 to 255) when it
/// refused; qx_sysevent::kReloadUnanswered (-1) when the request was not
/// delivered or the answer was not one to it (its echo is not 9).
QX_SYSEVENT_EXPORT int RegMDPMsgOfProReLoad(int firstArg, int secondArg, int thirdArg,
                                            long fourthArg);
