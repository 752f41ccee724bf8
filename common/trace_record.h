// Writes one trace record of this library: format, then write, under the
// module "qx_sysevent". Every record goes through here.
#pragma once

#include <string>

#include "platform/qx_trace.h"

namespace qx {

inline constexpr unsigned int kTraceLevel = 5120;
inline constexpr int kTraceType = 1;
inline constexpr const char* kTraceModule = "qx_sysevent";

// Values are int (a user id) or unsigned long (an NE id, a size, a widened
// return code); anything else does not pick a QXString constructor.
template <typename... Values>
void TraceRecord(const char* format, Values... values) {
    static_assert(sizeof...(Values) <= 3, "the trace library takes at most three values");
    std::string text;
    if constexpr (sizeof...(Values) == 0) {
        NSQX_util::QXTrace2Str(kTraceLevel, text, format);
    } else {
        NSQX_util::QXTrace2Str(kTraceLevel, text, std::string(format),
                               NSQX_util::QXString(values)...);
    }
    NSQX_util::QXTrace2LogFile(std::string(kTraceModule), kTraceType, text);
}

}  // namespace qx
