// Counts the allocations of the calling thread. The benchmark executable
// replaces the global operator new, so the library's, the platform's and the
// standard containers' allocations are all counted.
#pragma once

#include <cstddef>

namespace qx_bench {

std::size_t AllocationsOfThisThread();

// Allocations made by one call of `call` on this thread.
template <typename Call>
std::size_t CountAllocations(Call&& call) {
    const std::size_t before = AllocationsOfThisThread();
    call();
    return AllocationsOfThisThread() - before;
}

}  // namespace qx_bench
