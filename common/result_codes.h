// The library's own result codes.
#pragma once

namespace qx {

inline constexpr int kEventConsumerUnavailable = 0x4101F40D;
inline constexpr int kEventKeyAlreadyRegistered = 0x4103F210;
inline constexpr long kUserNameNotDelivered = 0x42008125;
// A failed management database query that returned 0, its success value
// elsewhere, is reported with this code instead.
inline constexpr long kDatabaseQueryFailedWithoutCode = 0x42008126;

}  // namespace qx
