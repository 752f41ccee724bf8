// The stand-in application manager's share of qx_standin::Reset().
#pragma once

namespace qx_standin::detail {

// Scripted answers gone, the default response back to (9, 0), responses
// forgotten and their counts zero.
void ResetAppMgr();

}  // namespace qx_standin::detail
