// The one management database query behind every NE question of a user.
#pragma once

#include <set>

#include "platform/zorv_db_utility.h"
#include "qx_sysevent/result_codes.h"
#include "security/ne_containers.h"

namespace qx::security {

using FilterSet = std::set<unsigned int>;

inline constexpr long kQuerySucceeded = 1;
inline constexpr const char* kServiceErrorText = "ZorvService error!";

// Asks which NEs of `filter` (all of them when it is empty) the user manages;
// the database's result, sign-extended.
inline long QueryManagedDevices(int userId, const FilterSet& filter, DeviceList& devices) {
    return ZorvCommonDBUtility::ZorvGetMngDevice(static_cast<unsigned int>(userId), &filter,
                                                 &devices, 0, false);
}

// What a caller is told of a failed query: its own result, except that 0
// would read as success.
inline long FailedQueryResult(long retCode) {
    return retCode == 0 ? qx_sysevent::kDatabaseQueryFailedWithoutCode : retCode;
}

}  // namespace qx::security
