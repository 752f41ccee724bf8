// Runs one exported operation again and again, each time with one more
// failure injected, and judges every run: the failure reaches the caller
// (or is swallowed where the operation swallows everything), the static
// object lock is released, and the operation's own check holds.
#pragma once

#include "operation.h"

namespace qx_faults {

// With the 1st, 2nd, ... allocation failing, until a run completes without
// the failure striking. Returns the number of runs the failure struck in.
long SweepAllocationFailures(const Operation& operation);

// With each platform call of a clean run throwing in turn. Returns the
// number of calls made to throw.
long SweepPlatformFaults(const Operation& operation);

}  // namespace qx_faults
