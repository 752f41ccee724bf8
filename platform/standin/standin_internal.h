// The stand-in's shared state. One mutex guards all of it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "database_state.h"
#include "qx_standin/standin.h"

namespace qx_standin::detail {

struct Fault {
    Call call;
    unsigned skip;
    unsigned times;
};

struct TraceFault {
    std::string needle;
    unsigned times;
};

struct Shared {
    std::mutex mutex;
    std::atomic<bool> journaling{true};
    std::vector<CallRecord> journal;
    std::vector<TraceRecord> traces;
    std::string logPath;
    std::vector<Fault> faults;
    std::vector<TraceFault> traceFaults;
    DatabaseState database;
};

Shared& GetShared();

// Room for one more element, growing as push_back would: taken before a
// change that must not be left half done when memory runs out.
template <typename Vector>
void MakeRoomForOne(Vector& v) {
    if (v.size() == v.capacity()) {
        v.reserve(v.empty() ? 16 : 2 * v.size());
    }
}

// Throws InjectedFault for `record`, journaled as thrown, with the caller's
// lock on `s` held. Everything that may run out of memory comes first, then
// `spend` uses the fault up: out of memory, the fault stays for the next call.
template <typename Spend>
[[noreturn]] void ThrowFault(Shared& s, CallRecord record, Spend spend) {
    MakeRoomForOne(s.journal);
    record.threw = true;
    record.text += " threw";
    InjectedFault fault(record.call);  // allocates: made before anything is spent
    spend();
    if (s.journaling) {
        s.journal.push_back(std::move(record));
    }
    throw fault;  // NOLINT(cert-err09-cpp,cert-err61-cpp,misc-throw-by-value-catch-by-reference)
}

}  // namespace qx_standin::detail
