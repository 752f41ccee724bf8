// The NE queries of the comparison, each run either through the library or
// through its baseline, on the same input and into the same output.
#pragma once

#include <cstddef>
#include <set>
#include <vector>

#include "baselines.h"
#include "bench_setup.h"
#include "platform/zorv_sdk_wrap.h"
#include "qx_sysevent/user_security_mgr.h"
#include "trace_allocations.h"

namespace qx_bench {

enum class Side { kLibrary, kBaseline };

inline const char* SideName(Side side) { return side == Side::kLibrary ? "Library" : "Baseline"; }

// Each query's two records, as the library writes them: what the platform's
// trace library does for them is the platform's cost, not the library's.
struct VectorToVectorTexts {
    static constexpr const char* kName = "GetManagedNE_VecToVec";
    static constexpr const char* kRequest =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,vecNE.size() = %d \n";
    static constexpr const char* kAnswer =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "vecManagedNE.size() = %d \n";
    using Input = std::vector<unsigned long>;
    using Output = std::vector<unsigned long>;
};

struct SetToSetTexts {
    static constexpr const char* kName = "GetManagedNE_SetToSet";
    static constexpr const char* kRequest =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,setNE.size() = %d \n";
    static constexpr const char* kAnswer =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "setManagedNE.size() = %d \n";
    using Input = std::set<unsigned long>;
    using Output = std::set<unsigned long>;
};

// A GetManagedNE pairing: its texts and container kinds come from `Texts`.
template <typename Texts>
struct FilterQuery : Texts {
    using typename Texts::Input;
    using typename Texts::Output;
    // Allocations inside the platform calls that the library makes and the
    // baseline does not: the node query and the two records.
    static std::size_t PlatformExtraAllocations(std::size_t filtered, std::size_t answered) {
        return CountAllocations([] { ns_zorvsdk_wrap::IsCloudNode(); }) +
               PlatformAllocationsOfRecord(Texts::kRequest, kUserId,
                                           static_cast<unsigned long>(filtered)) +
               PlatformAllocationsOfRecord(Texts::kAnswer, 1UL, kUserId,
                                           static_cast<unsigned long>(answered));
    }
    static Input MakeInput(const std::vector<unsigned long>& ids) {
        return Input(ids.begin(), ids.end());
    }
    static long Run(Side side, CUserSecurityMgr& manager, const Input& input, Output& output) {
        return side == Side::kLibrary ? manager.GetManagedNE(input, output)
                                      : BaselineGetManagedNE(kUserId, input, output);
    }
};

using VectorToVector = FilterQuery<VectorToVectorTexts>;
using SetToSet = FilterQuery<SetToSetTexts>;

// No input: the user's whole scope, which the stand-in makes every second id.
struct AllToVector {
    static constexpr const char* kName = "GetAllManagedNE_Vec";
    static constexpr const char* kRequest =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,GetAllManagedNE \n";
    static constexpr const char* kAnswer =
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "vecNE.size() = %d \n";
    struct Input {};
    using Output = std::vector<unsigned long>;
    // No node query here: only the two records.
    static std::size_t PlatformExtraAllocations(std::size_t /*filtered*/, std::size_t answered) {
        return PlatformAllocationsOfRecord(kRequest, kUserId) +
               PlatformAllocationsOfRecord(kAnswer, 1UL, kUserId,
                                           static_cast<unsigned long>(answered));
    }
    static Input MakeInput(const std::vector<unsigned long>& /*ids*/) { return {}; }
    static long Run(Side side, CUserSecurityMgr& manager, const Input& /*input*/, Output& output) {
        return side == Side::kLibrary ? manager.GetAllManagedNE(output)
                                      : BaselineGetAllManagedNE(kUserId, output);
    }
};

}  // namespace qx_bench
