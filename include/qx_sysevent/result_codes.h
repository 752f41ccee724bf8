/// @file
/// The result codes, other than success, that the library's calls return.
#pragma once

/// Names of the library's result codes; the values are those the library has
/// always returned. Each is a constant expression in every C++ standard from
/// C++98 on, usable in a case label or an array bound.
namespace qx_sysevent {

// Namespace-scope const, not constexpr: processes built as C++98 include
// this header too.

/// QXSysEventMgrIF: the event consumer could not be created (ACE's static
/// object lock could not be taken). Nothing changed; a later call tries again.
const int kEventConsumerUnavailable = 0x4101F40D;
/// QXSysEventMgrIF::RegEventHandler(): the key is registered already; the
/// first handler stays.
const int kEventKeyAlreadyRegistered = 0x4103F210;
/// CUserSecurityMgr::GetLoginName() and GetAllUser(): the database delivered
/// no user name.
const long kUserNameNotDelivered = 0x42008125;
/// CUserSecurityMgr::GetAllManagedNE(std::vector&) and GetManagedNE(): the
/// database query failed with result 0, which would read as success. Other
/// failed queries return the database's own result, and
/// GetAllManagedNE(std::set&) returns even 0 as it is.
const long kDatabaseQueryFailedWithoutCode = 0x42008126;
/// RegMDPMsgOfProReLoad(): the request was not delivered, or the answer was
/// not one to it.
const int kReloadUnanswered = -1;

}  // namespace qx_sysevent
