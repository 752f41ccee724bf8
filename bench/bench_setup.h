// The stand-in as every benchmark scripts it: no journal (its bookkeeping is
// not what is measured), off a cloud node, and a user who manages every
// second id of the input.
#pragma once

#include <cstddef>
#include <set>
#include <vector>

#include "qx_standin/standin.h"

namespace qx_bench {

inline constexpr int kUserId = 7;

// Ascending distinct ids 1..count.
inline std::vector<unsigned long> AscendingIds(std::size_t count) {
    std::vector<unsigned long> ids(count);
    for (std::size_t i = 0; i < count; ++i) {
        ids[i] = i + 1;
    }
    return ids;
}

inline void ScriptStandin(const std::vector<unsigned long>& input) {
    qx_standin::ResetEmpty();
    qx_standin::SetJournaling(false);
    qx_standin::SetCloudNode(false);
    std::vector<unsigned int> managed;
    managed.reserve(input.size() / 2 + 1);
    for (std::size_t i = 0; i < input.size(); i += 2) {
        managed.push_back(static_cast<unsigned int>(input[i]));
    }
    qx_standin::SetManagedNEs(kUserId, managed);
}

}  // namespace qx_bench
