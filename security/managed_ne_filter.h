// The one procedure behind every GetManagedNE overload: the cloud-node rule,
// then a single query filtered to the caller's NEs.
#pragma once

#include <limits>

#include "common/trace_record.h"
#include "platform/zorv_sdk_wrap.h"
#include "security/managed_ne_query.h"
#include "security/ne_containers.h"

namespace qx::security {

// The records around the query: R1 names the input's kind, R2 the output's.
struct FilterRecordTexts {
    const char* request;  // user id, filter set entries
    const char* answer;   // result, user id, answered entries
};

// The database keeps NE ids in 32 bits. A wider id is left out rather than
// narrowed, so it can never be answered as a different NE.
inline constexpr unsigned long kWidestDatabaseNeId = std::numeric_limits<unsigned int>::max();

template <typename Input>
FilterSet BuildFilterSet(const Input& input) {
    FilterSet filter;
    HintedInserter<FilterSet> insert(filter);
    ForEachNeId(input, [&insert](unsigned long id) {
        if (id <= kWidestDatabaseNeId) {
            insert(static_cast<unsigned int>(id));
        }
    });
    return filter;
}

// 0, or the failed query's result (see FailedQueryResult). The output keeps
// its content on the cloud path and after a failed query.
template <typename Input, typename Output>
long FilterManagedNEs(int userId, const Input& input, Output& output,
                      const FilterRecordTexts& texts) {
    if (ns_zorvsdk_wrap::IsCloudNode()) {
        PassThroughSink<Output> sink(output);
        ForEachNeId(input, sink);
        return 0;
    }
    const FilterSet filter = BuildFilterSet(input);
    // An empty filter would ask for every NE the user manages: nothing the
    // caller named can be managed, so nothing is.
    if (filter.empty()) {
        output.clear();
        return 0;
    }
    TraceRecord(texts.request, userId, static_cast<unsigned long>(filter.size()));
    DeviceList devices;
    const long retCode = QueryManagedDevices(userId, filter, devices);
    TraceRecord(texts.answer, static_cast<unsigned long>(retCode), userId,
                static_cast<unsigned long>(devices.size()));
    if (retCode != kQuerySucceeded) {
        TraceRecord(kServiceErrorText);
        return FailedQueryResult(retCode);
    }
    ReplaceWithDevices(output, devices);
    return 0;
}

}  // namespace qx::security
