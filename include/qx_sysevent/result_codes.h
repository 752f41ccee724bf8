/// @file
/// The result codes, other than success, that the library's calls return.
#pragma once

/// Names of the library's result codes; the values are those the library has
/// always returned.
namespace qx_sysevent {

/// QXSysEventMgrIF: the event consumer could not be created (ACE's static
/// object lock could not be taken). Nothing changed; a later call tries again.
inline constexpr int kEventConsumerUnavailable = 0x4101F40D;
/// QXSysEventMgrIF::RegEventHandler(): the key is registered already; the
/// first handler stays.
inline constexpr int kEventKeyAlreadyRegistered = 0x4103F210;
/// CUserSecurityMgr::GetLoginName() and GetAllUser(): the database delivered
/// no user name.
inline constexpr long kUserNameNotDelivered = 0x42008125;
/// CUserSecurityMgr::GetAllManagedNE(std::vector&) and GetManagedNE(): the
/// database query failed with result 0, which would read as success. Other
/// failed queries return the database's own result, and
/// GetAllManagedNE(std::set&) returns even 0 as it is.
inline constexpr long kDatabaseQueryFailedWithoutCode = 0x42008126;
/// RegMDPMsgOfProReLoad(): the request was not delivered, or the answer was
/// not one to it.
inline constexpr int kReloadUnanswered = -1;

}  // namespace qx_sysevent
