// What the platform's trace library allocates for one record by itself: the
// caller's format and module strings are built before counting starts.
#pragma once

#include <cstddef>
#include <string>

#include "counting_allocator.h"
#include "platform/qx_trace.h"

namespace qx_bench {

template <typename... Values>
std::size_t PlatformAllocationsOfRecord(const char* format, Values... values) {
    const std::string formatText(format);
    const std::string module("qx_sysevent");
    return CountAllocations([&] {
        std::string text;
        if constexpr (sizeof...(Values) == 0) {
            NSQX_util::QXTrace2Str(5120, text, format);
        } else {
            NSQX_util::QXTrace2Str(5120, text, formatText, NSQX_util::QXString(values)...);
        }
        NSQX_util::QXTrace2LogFile(module, 1, text);
    });
}

}  // namespace qx_bench
