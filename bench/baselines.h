// The least work any implementation of each call must do under the platform
// contract: what the library is measured against. No trace records in the NE
// queries (the library's two are a constant per call); the per-call
// baselines render their records by hand.
#pragma once

#include <set>
#include <vector>

namespace qx_bench {

// Filter set built with an end hint, one query, the answer copied into the
// output (reserved for a vector). 0, or the failed query's result.
long BaselineGetManagedNE(int userId, const std::vector<unsigned long>& input,
                          std::vector<unsigned long>& output);
long BaselineGetManagedNE(int userId, const std::set<unsigned long>& input,
                          std::set<unsigned long>& output);
long BaselineGetAllManagedNE(int userId, std::vector<unsigned long>& output);

// The platform calls and the one record of TEUserIDMgr::IsAdminUserID.
bool BaselineIsAdminUserID(unsigned long userId);
// The platform calls and the two records of CUserSecurityMgr::isNeManaged.
bool BaselineIsNeManaged(int userId, unsigned long neId);

}  // namespace qx_bench
