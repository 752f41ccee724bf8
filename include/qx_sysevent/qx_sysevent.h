/// @file
/// Everything libqx_sysevent exports, with its result codes and version.
#pragma once

#include "qx_sysevent/mdp_reload.h"
#include "qx_sysevent/result_codes.h"
#include "qx_sysevent/svr_event.h"
#include "qx_sysevent/sys_event_mgr.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"
#include "qx_sysevent/version.h"
