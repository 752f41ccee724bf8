/// @file
/// Everything libqx_sysevent exports, with its result codes and version.
///
/// @mainpage libqx_sysevent
///
/// The shared library that server processes load for three jobs:
/// - system event handlers registered by key: QXSysEventMgrIF, SvrEvent;
/// - a user's security scope: TEUserIDMgr (the administrator) and
///   CUserSecurityMgr (one user: administrator flag, login name, user names,
///   managed NEs);
/// - the process-reload registration with the message dispatcher:
///   RegMDPMsgOfProReLoad().
///
/// Include qx_sysevent.h; the result codes are in namespace qx_sysevent. Each
/// call's page gives its result codes, the trace records or printed texts of
/// its failures and the platform exceptions it lets through. Tests of a
/// process script the stand-in platform through namespace qx_standin
/// (qx_standin/standin.h).
#pragma once

#include "qx_sysevent/mdp_reload.h"
#include "qx_sysevent/result_codes.h"
#include "qx_sysevent/svr_event.h"
#include "qx_sysevent/sys_event_mgr.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"
#include "qx_sysevent/version.h"
